// The message table entries. Records are constant-initialised, so they are usable during static
// initialisation and destruction of other translation units.

#include "foundation/RWMessageTable.h"

namespace RWMsg {
namespace {

constexpr const char* kTools = "rwtools7.0";
constexpr const char* kCore = "rwcore7.0";

constexpr MessageRecord kAllocOut{kTools, 0x2000, "[ALLOCOUT] %s destructor called with allocation outstanding", 0};
constexpr MessageRecord kBadRe{kTools, 0x2001, "[BADRE] Attempt to use invalid regular expression", 0};
constexpr MessageRecord kCrabs{kTools, 0x2002, "[CRABS] RWFactory: attempting to create abstract class with ID %hu (0x%hx)", 0};
constexpr MessageRecord kFlist{kTools, 0x2003, "[FLIST] Free list size error: expected %ld, got %ld", 0};
constexpr MessageRecord kId{kTools, 0x2004, "[ID] Unexpected class ID %hu; should be %hu", 0};
constexpr MessageRecord kIndex{kTools, 0x2005, "[INDEX] Index (%u) out of range [0->%u]", 0};
constexpr MessageRecord kLock{kTools, 0x2006, "[LOCK] Locked object deleted", 0};
constexpr MessageRecord kLongIndex{kTools, 0x2007, "[LONGINDEX] Long index (%lu) out of range [0->%lu]", 0};
constexpr MessageRecord kMagic{kTools, 0x2008, "[MAGIC] Bad magic number: %ld (should be %ld)", 0};
constexpr MessageRecord kNevecl{kTools, 0x2009, "[NEVECL] Unequal vector lengths: %u versus %u", 0};
constexpr MessageRecord kNoCreate{kTools, 0x200a, "[NOCREATE] RWFactory: no create function for class with ID %hu (0x%hx)", 0};
constexpr MessageRecord kNotAllow{kTools, 0x200b, "[NOTALLOW] Function not allowed for derived class", 0};
constexpr MessageRecord kReadErr{kTools, 0x200c, "[READERR] Read error", 0};
constexpr MessageRecord kRef{kTools, 0x200d, "[REF] Bad persistence reference", 0};
constexpr MessageRecord kSeekErr{kTools, 0x200e, "[SEEKERR] Seek error", 0};
constexpr MessageRecord kToolsStream{kTools, 0x200f, "[STREAM] Bad input stream", 0};
constexpr MessageRecord kSubstring{kTools, 0x2010, "[SUBSTRING] Illegal substring (%d, %u) from %u element RWCString", 0};
constexpr MessageRecord kUnlock{kTools, 0x2011, "[UNLOCK] Improper use of locked object", 0};
constexpr MessageRecord kWriteErr{kTools, 0x2012, "[WRITEERR] Write error", 0};
constexpr MessageRecord kIndexErr{kTools, 0x2013, "[INDEXERR] Illegal Index (%u) for collection or string with %u elements", 0};
constexpr MessageRecord kNposIndex{kTools, 0x2014, "[NPOSINDEX] The value RW_NPOS cannot be used as an index.", 0};
constexpr MessageRecord kNoPersist{kTools, 0x2015, "[NOPERSIST] Persistence not implemented for type %s.", 0};
constexpr MessageRecord kCrabss{kTools, 0x2016, "[CRABSS] RWFactory: attempting to create abstract class with StringID %s.", 0};

constexpr MessageRecord kEof{kCore, 0x1000, "[EOF] EOF on input", 0};
constexpr MessageRecord kGeneric{kCore, 0x1001, "[GENERIC] Generic error number %d; %s", 0};
constexpr MessageRecord kInvAddr{kCore, 0x1002, "[INVADDR] Invalid address: %lx", 0};
constexpr MessageRecord kCoreLock{kCore, 0x1003, "[LOCK] Unable to lock memory", 0};
constexpr MessageRecord kNoInit{kCore, 0x1004, "[NOINIT] Memory allocated without being initialized", 0};
constexpr MessageRecord kNoMem{kCore, 0x1005, "[NOMEM] No memory", 0};
constexpr MessageRecord kOpErr{kCore, 0x1006, "[OPERR] Could not open file %s", 0};
constexpr MessageRecord kOutAlloc{kCore, 0x1007, "[OUTALLOC] Memory released with allocations still outstanding", 0};
constexpr MessageRecord kOvflow{kCore, 0x1008, "[OVFLOW] Overflow error -> \"%.*s\" <- (%u max characters)", 0};
constexpr MessageRecord kCoreStream{kCore, 0x1009, "[STREAM] Bad input stream", 0};
constexpr MessageRecord kSynStream{kCore, 0x100a, "[SYNSTREAM] Syntax error in input stream: expected %s, got %s", 0};

}  // namespace

const MessageRecord& allocOut() { return kAllocOut; }
const MessageRecord& badRe() { return kBadRe; }
const MessageRecord& crabs() { return kCrabs; }
const MessageRecord& flist() { return kFlist; }
const MessageRecord& id() { return kId; }
const MessageRecord& index() { return kIndex; }
const MessageRecord& lock() { return kLock; }
const MessageRecord& longIndex() { return kLongIndex; }
const MessageRecord& magic() { return kMagic; }
const MessageRecord& nevecl() { return kNevecl; }
const MessageRecord& noCreate() { return kNoCreate; }
const MessageRecord& notAllow() { return kNotAllow; }
const MessageRecord& readErr() { return kReadErr; }
const MessageRecord& ref() { return kRef; }
const MessageRecord& seekErr() { return kSeekErr; }
const MessageRecord& toolsStream() { return kToolsStream; }
const MessageRecord& substring() { return kSubstring; }
const MessageRecord& unlock() { return kUnlock; }
const MessageRecord& writeErr() { return kWriteErr; }
const MessageRecord& indexErr() { return kIndexErr; }
const MessageRecord& nposIndex() { return kNposIndex; }
const MessageRecord& noPersist() { return kNoPersist; }
const MessageRecord& crabss() { return kCrabss; }

const MessageRecord& eof() { return kEof; }
const MessageRecord& generic() { return kGeneric; }
const MessageRecord& invAddr() { return kInvAddr; }
const MessageRecord& coreLock() { return kCoreLock; }
const MessageRecord& noInit() { return kNoInit; }
const MessageRecord& noMem() { return kNoMem; }
const MessageRecord& opErr() { return kOpErr; }
const MessageRecord& outAlloc() { return kOutAlloc; }
const MessageRecord& ovflow() { return kOvflow; }
const MessageRecord& coreStream() { return kCoreStream; }
const MessageRecord& synStream() { return kSynStream; }

}  // namespace RWMsg
