// Message tables, the exception family and the throw helpers.

#include "foundation/RWxmsg.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <typeinfo>

#include "foundation/FormattedMessage.h"
#include "foundation/RWMessageTable.h"
#include "foundation/RWThrow.h"

namespace {

struct Entry {
  const MessageRecord& (*get)();
  const char* domain;
  int number;
  const char* text;
};

const Entry kEntries[] = {
    {RWMsg::allocOut, "rwtools7.0", 0x2000, "[ALLOCOUT] %s destructor called with allocation outstanding"},
    {RWMsg::badRe, "rwtools7.0", 0x2001, "[BADRE] Attempt to use invalid regular expression"},
    {RWMsg::crabs, "rwtools7.0", 0x2002, "[CRABS] RWFactory: attempting to create abstract class with ID %hu (0x%hx)"},
    {RWMsg::flist, "rwtools7.0", 0x2003, "[FLIST] Free list size error: expected %ld, got %ld"},
    {RWMsg::id, "rwtools7.0", 0x2004, "[ID] Unexpected class ID %hu; should be %hu"},
    {RWMsg::index, "rwtools7.0", 0x2005, "[INDEX] Index (%u) out of range [0->%u]"},
    {RWMsg::lock, "rwtools7.0", 0x2006, "[LOCK] Locked object deleted"},
    {RWMsg::longIndex, "rwtools7.0", 0x2007, "[LONGINDEX] Long index (%lu) out of range [0->%lu]"},
    {RWMsg::magic, "rwtools7.0", 0x2008, "[MAGIC] Bad magic number: %ld (should be %ld)"},
    {RWMsg::nevecl, "rwtools7.0", 0x2009, "[NEVECL] Unequal vector lengths: %u versus %u"},
    {RWMsg::noCreate, "rwtools7.0", 0x200a, "[NOCREATE] RWFactory: no create function for class with ID %hu (0x%hx)"},
    {RWMsg::notAllow, "rwtools7.0", 0x200b, "[NOTALLOW] Function not allowed for derived class"},
    {RWMsg::readErr, "rwtools7.0", 0x200c, "[READERR] Read error"},
    {RWMsg::ref, "rwtools7.0", 0x200d, "[REF] Bad persistence reference"},
    {RWMsg::seekErr, "rwtools7.0", 0x200e, "[SEEKERR] Seek error"},
    {RWMsg::toolsStream, "rwtools7.0", 0x200f, "[STREAM] Bad input stream"},
    {RWMsg::substring, "rwtools7.0", 0x2010, "[SUBSTRING] Illegal substring (%d, %u) from %u element RWCString"},
    {RWMsg::unlock, "rwtools7.0", 0x2011, "[UNLOCK] Improper use of locked object"},
    {RWMsg::writeErr, "rwtools7.0", 0x2012, "[WRITEERR] Write error"},
    {RWMsg::indexErr, "rwtools7.0", 0x2013, "[INDEXERR] Illegal Index (%u) for collection or string with %u elements"},
    {RWMsg::nposIndex, "rwtools7.0", 0x2014, "[NPOSINDEX] The value RW_NPOS cannot be used as an index."},
    {RWMsg::noPersist, "rwtools7.0", 0x2015, "[NOPERSIST] Persistence not implemented for type %s."},
    {RWMsg::crabss, "rwtools7.0", 0x2016, "[CRABSS] RWFactory: attempting to create abstract class with StringID %s."},
    {RWMsg::eof, "rwcore7.0", 0x1000, "[EOF] EOF on input"},
    {RWMsg::generic, "rwcore7.0", 0x1001, "[GENERIC] Generic error number %d; %s"},
    {RWMsg::invAddr, "rwcore7.0", 0x1002, "[INVADDR] Invalid address: %lx"},
    {RWMsg::coreLock, "rwcore7.0", 0x1003, "[LOCK] Unable to lock memory"},
    {RWMsg::noInit, "rwcore7.0", 0x1004, "[NOINIT] Memory allocated without being initialized"},
    {RWMsg::noMem, "rwcore7.0", 0x1005, "[NOMEM] No memory"},
    {RWMsg::opErr, "rwcore7.0", 0x1006, "[OPERR] Could not open file %s"},
    {RWMsg::outAlloc, "rwcore7.0", 0x1007, "[OUTALLOC] Memory released with allocations still outstanding"},
    {RWMsg::ovflow, "rwcore7.0", 0x1008, "[OVFLOW] Overflow error -> \"%.*s\" <- (%u max characters)"},
    {RWMsg::coreStream, "rwcore7.0", 0x1009, "[STREAM] Bad input stream"},
    {RWMsg::synStream, "rwcore7.0", 0x100a, "[SYNSTREAM] Syntax error in input stream: expected %s, got %s"},
};

TEST(MessageTable, EveryEntryHasItsDomainNumberAndText) {
  for (const Entry& e : kEntries) {
    const MessageRecord& r = e.get();
    SCOPED_TRACE(e.text);
    EXPECT_STREQ(r.domain, e.domain);
    EXPECT_EQ(r.number, e.number);
    EXPECT_STREQ(r.text, e.text);
    EXPECT_EQ(r.reserved, 0);
  }
}

TEST(MessageTable, NumbersAreDenseAndUniquePerDomain) {
  int tools = 0, core = 0;
  for (const Entry& e : kEntries) {
    if (std::strcmp(e.domain, "rwtools7.0") == 0)
      EXPECT_EQ(e.get().number, 0x2000 + tools++);
    else
      EXPECT_EQ(e.get().number, 0x1000 + core++);
  }
  EXPECT_EQ(tools, 23);
  EXPECT_EQ(core, 11);
}

TEST(FormattedMessage, FillsTheFormatAndCopiesTheText) {
  FormattedMessage m(RWMsg::indexErr(), 5u, 3u);
  EXPECT_STREQ(m.text(), "[INDEXERR] Illegal Index (5) for collection or string with 3 elements");
  FormattedMessage copy(m);
  EXPECT_NE(copy.text(), m.text());
  EXPECT_STREQ(copy.text(), m.text());
  FormattedMessage other(RWMsg::eof());
  other = m;
  EXPECT_STREQ(other.text(), m.text());
}

TEST(FormattedMessage, LongArgumentIsCutAtTheBuffer) {
  const std::string big(5000, 'x');
  FormattedMessage m(RWMsg::opErr(), big.c_str());
  EXPECT_EQ(std::strlen(m.text()), std::size_t(FormattedMessage::bufferSize - 1));
  EXPECT_EQ(std::string(m.text()).rfind("[OPERR] Could not open file xxx", 0), 0u);
}

TEST(RWxmsg, StaticTextIsSharedAndOwnedTextCopied) {
  static const char kStatic[] = "static text";
  RWxmsg shared(kStatic, false);
  EXPECT_EQ(shared.text(), kStatic);
  EXPECT_FALSE(shared.ownsText());
  RWxmsg copy(shared);
  EXPECT_EQ(copy.text(), kStatic);  // shared, and nothing is freed by either destructor

  char buffer[] = "heap text";
  RWxmsg owned(buffer);
  EXPECT_TRUE(owned.ownsText());
  EXPECT_NE(owned.text(), buffer);
  buffer[0] = 'X';
  EXPECT_STREQ(owned.text(), "heap text");
  RWxmsg ownedCopy(owned);
  EXPECT_NE(ownedCopy.text(), owned.text());
  EXPECT_STREQ(ownedCopy.text(), "heap text");
  ownedCopy = shared;
  EXPECT_EQ(ownedCopy.text(), kStatic);
  shared = owned;
  EXPECT_STREQ(shared.text(), "heap text");
  EXPECT_TRUE(shared.ownsText());
}

TEST(RWxmsg, NullTextReadsEmpty) {
  RWxmsg e(static_cast<const char*>(nullptr));
  EXPECT_STREQ(e.text(), "");
}

TEST(RWxalloc, UsesTheStaticNoMemoryText) {
  RWxalloc e(1234);
  EXPECT_EQ(e.text(), RWMsg::noMem().text);
  EXPECT_FALSE(e.ownsText());
  EXPECT_EQ(e.size(), 1234u);
}

// Each helper throws the documented class with the documented text.
template <class E>
void expectThrow(const std::function<void()>& f, const char* text) {
  try {
    f();
    ADD_FAILURE() << "nothing thrown, expected " << text;
  } catch (const E& e) {
    EXPECT_STREQ(e.text(), text);
  } catch (const RWxmsg& e) {
    ADD_FAILURE() << "wrong class " << typeid(e).name() << " for " << text;
  }
}

TEST(RWThrow, HelpersThrowTheirClassWithTheirText) {
  expectThrow<RWBoundsErr>([] { RWThrowIndexError(5, 3); },
                           "[INDEXERR] Illegal Index (5) for collection or string with 3 elements");
  expectThrow<RWBoundsErr>([] { RWThrowNposIndex(); },
                           "[NPOSINDEX] The value RW_NPOS cannot be used as an index.");
  expectThrow<RWBoundsErr>([] { RWThrowSubstring(4, 2, 3); },
                           "[SUBSTRING] Illegal substring (4, 2) from 3 element RWCString");
  expectThrow<RWBoundsErr>([] { RWThrowResizeLimit(); },
                           "[GENERIC] Generic error number 33; Buffer may not resize larger than");
  expectThrow<RWInternalErr>([] { RWThrowBadRegex(); },
                             "[BADRE] Attempt to use invalid regular expression");
  expectThrow<RWInternalErr>([] { RWThrowInternal("inner"); }, "inner");
  expectThrow<RWExternalErr>([] { RWThrowExternal("outer"); }, "outer");
  expectThrow<RWFileErr>([] { RWThrowFileOpen("a.cfg"); }, "[OPERR] Could not open file a.cfg");
  expectThrow<RWFileErr>([] { RWThrowFileRead(nullptr); }, "[READERR] Read error");
  expectThrow<RWFileErr>([] { RWThrowFileWrite(nullptr); }, "[WRITEERR] Write error");
  expectThrow<RWFileErr>([] { RWThrowFileSeek(nullptr); }, "[SEEKERR] Seek error");
  expectThrow<RWStreamErr>([] { RWThrowBadStream(nullptr); }, "[STREAM] Bad input stream");
  expectThrow<RWStreamErr>([] { RWThrowStreamEof(nullptr); }, "[EOF] EOF on input");
  expectThrow<RWxalloc>([] { RWThrowAlloc(8); }, "[NOMEM] No memory");
}

TEST(RWThrow, IndexErrorPrintsSixtyFourBitValuesWhole) {
  expectThrow<RWBoundsErr>(
      [] { RWThrowIndexError(std::size_t(1) << 33, 2); },
      "[INDEXERR] Illegal Index (8589934592) for collection or string with 2 elements");
}

TEST(RWThrow, CheckIndexTellsNoPositionFromABadIndex) {
  EXPECT_NO_THROW(RWCheckIndex(2, 3));
  expectThrow<RWBoundsErr>([] { RWCheckIndex(RW_NPOS, 3); },
                           "[NPOSINDEX] The value RW_NPOS cannot be used as an index.");
  expectThrow<RWBoundsErr>([] { RWCheckIndex(0xFFFFFFFFu, 3); },
                           "[NPOSINDEX] The value RW_NPOS cannot be used as an index.");
  expectThrow<RWBoundsErr>([] { RWCheckIndex(3, 3); },
                           "[INDEXERR] Illegal Index (3) for collection or string with 3 elements");
}

TEST(RWThrow, FileErrorCarriesFileAndKind) {
  std::FILE* marker = reinterpret_cast<std::FILE*>(0x10);
  try {
    RWThrowFileRead(marker);
  } catch (const RWFileErr& e) {
    EXPECT_EQ(e.file(), marker);
    EXPECT_EQ(e.errorType(), RWFileErr::readErr);
  }
  std::stringstream ss;
  try {
    RWThrowBadStream(&ss);
  } catch (const RWExternalErr& e) {
    EXPECT_EQ(dynamic_cast<const RWStreamErr&>(e).stream(), &ss);
  }
}

TEST(RWThrow, CatchableThroughTheBaseClasses) {
  EXPECT_THROW(RWThrowIndexError(1, 0), RWInternalErr);
  EXPECT_THROW(RWThrowIndexError(1, 0), RWxmsg);
  EXPECT_THROW(RWThrowFileSeek(nullptr), RWExternalErr);
}

void recordingHandler(const RWxmsg&) {}

TEST(FatalHandler, SetterReturnsThePreviousHandler) {
  EXPECT_EQ(fatalHandler(), &RWDefaultFatalHandler);
  EXPECT_EQ(setFatalHandler(&recordingHandler), &RWDefaultFatalHandler);
  EXPECT_EQ(fatalHandler(), &recordingHandler);
  EXPECT_EQ(setFatalHandler(nullptr), &recordingHandler);  // null restores the default
  EXPECT_EQ(fatalHandler(), &RWDefaultFatalHandler);
}

TEST(FatalHandlerDeathTest, DefaultShowsCaptionAndTextAndExitsWithOne) {
  EXPECT_EXIT(RWDefaultFatalHandler(RWxmsg("disk on fire")), testing::ExitedWithCode(1),
              "Fatal Error.*disk on fire");
}

}  // namespace
