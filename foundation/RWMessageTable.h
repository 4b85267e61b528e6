#pragma once
// The two static, numbered message tables of the foundation library ("rwtools7.0" and
// "rwcore7.0"). Each entry's text is a printf format that begins with a bracketed tag. The records
// are static; nothing here allocates. Code names the entry it means through its accessor.

#include <cstdint>

struct MessageRecord {
  const char* domain;      // table name, static
  std::int32_t number;
  const char* text;        // default text, a printf format; static
  std::int32_t reserved;   // always 0
};

namespace RWMsg {

// Domain "rwtools7.0", numbers 0x2000-0x2016.
inline constexpr const char* toolsDomain = "rwtools7.0";
const MessageRecord& allocOut();      // 0x2000 [ALLOCOUT] %s
const MessageRecord& badRe();         // 0x2001 [BADRE]
const MessageRecord& crabs();         // 0x2002 [CRABS] %hu %hx
const MessageRecord& flist();         // 0x2003 [FLIST] %ld %ld
const MessageRecord& id();            // 0x2004 [ID] %hu %hu
const MessageRecord& index();         // 0x2005 [INDEX] %u %u
const MessageRecord& lock();          // 0x2006 [LOCK]
const MessageRecord& longIndex();     // 0x2007 [LONGINDEX] %lu %lu
const MessageRecord& magic();         // 0x2008 [MAGIC] %ld %ld
const MessageRecord& nevecl();        // 0x2009 [NEVECL] %u %u
const MessageRecord& noCreate();      // 0x200a [NOCREATE] %hu %hx
const MessageRecord& notAllow();      // 0x200b [NOTALLOW]
const MessageRecord& readErr();       // 0x200c [READERR]
const MessageRecord& ref();           // 0x200d [REF]
const MessageRecord& seekErr();       // 0x200e [SEEKERR]
const MessageRecord& toolsStream();   // 0x200f [STREAM]
const MessageRecord& substring();     // 0x2010 [SUBSTRING] %d %u %u
const MessageRecord& unlock();        // 0x2011 [UNLOCK]
const MessageRecord& writeErr();      // 0x2012 [WRITEERR]
const MessageRecord& indexErr();      // 0x2013 [INDEXERR] %u %u
const MessageRecord& nposIndex();     // 0x2014 [NPOSINDEX]
const MessageRecord& noPersist();     // 0x2015 [NOPERSIST] %s
const MessageRecord& crabss();        // 0x2016 [CRABSS] %s

// Domain "rwcore7.0", numbers 0x1000-0x100a.
inline constexpr const char* coreDomain = "rwcore7.0";
const MessageRecord& eof();           // 0x1000 [EOF]
const MessageRecord& generic();       // 0x1001 [GENERIC] %d %s
const MessageRecord& invAddr();       // 0x1002 [INVADDR] %lx
const MessageRecord& coreLock();      // 0x1003 [LOCK]
const MessageRecord& noInit();        // 0x1004 [NOINIT]
const MessageRecord& noMem();         // 0x1005 [NOMEM]
const MessageRecord& opErr();         // 0x1006 [OPERR] %s
const MessageRecord& outAlloc();      // 0x1007 [OUTALLOC]
const MessageRecord& ovflow();        // 0x1008 [OVFLOW] %.*s %u
const MessageRecord& coreStream();    // 0x1009 [STREAM]
const MessageRecord& synStream();     // 0x100a [SYNSTREAM] %s %s

}  // namespace RWMsg
