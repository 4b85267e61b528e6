#include "foundation/RWThrow.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>

#include "foundation/FormattedMessage.h"
#include "foundation/RWMessageTable.h"
#include "platform/Fatal.h"

[[noreturn]] void RWThrow(const RWxmsg& e) { throw RWxmsg(e); }
[[noreturn]] void RWThrow(const RWxalloc& e) { throw RWxalloc(e); }
[[noreturn]] void RWThrow(const RWExternalErr& e) { throw RWExternalErr(e); }
[[noreturn]] void RWThrow(const RWFileErr& e) { throw RWFileErr(e); }
[[noreturn]] void RWThrow(const RWStreamErr& e) { throw RWStreamErr(e); }
[[noreturn]] void RWThrow(const RWInternalErr& e) { throw RWInternalErr(e); }
[[noreturn]] void RWThrow(const RWBoundsErr& e) { throw RWBoundsErr(e); }

namespace {
constexpr std::size_t k32 = 0xFFFFFFFFu;
}

// The table's fields are 32-bit; values of this 64-bit machine that do not fit are printed whole
// with the same text.
[[noreturn]] void RWThrowIndexError(std::size_t index, std::size_t length) {
  if (index <= k32 && length <= k32)
    RWThrow(RWBoundsErr(FormattedMessage(RWMsg::indexErr(), static_cast<unsigned>(index),
                                         static_cast<unsigned>(length))));
  RWThrow(RWBoundsErr(formatWithFormat(
      "[INDEXERR] Illegal Index (%zu) for collection or string with %zu elements", index, length)));
}

[[noreturn]] void RWThrowNposIndex() { RWThrow(RWBoundsErr(FormattedMessage(RWMsg::nposIndex()))); }

[[noreturn]] void RWThrowSubstring(std::size_t start, std::size_t length, std::size_t total) {
  const bool fits = length <= k32 && total <= k32 &&
                    (start <= 0x7FFFFFFFu || RWIsNpos(start));
  if (fits)
    RWThrow(RWBoundsErr(FormattedMessage(RWMsg::substring(),
                                         static_cast<int>(static_cast<std::int32_t>(start)),
                                         static_cast<unsigned>(length),
                                         static_cast<unsigned>(total))));
  RWThrow(RWBoundsErr(formatWithFormat(
      "[SUBSTRING] Illegal substring (%zu, %zu) from %zu element RWCString", start, length, total)));
}

[[noreturn]] void RWThrowResizeLimit() {
  RWThrow(RWBoundsErr(FormattedMessage(RWMsg::generic(), 33, "Buffer may not resize larger than")));
}

[[noreturn]] void RWThrowBadRegex() { RWThrow(RWInternalErr(FormattedMessage(RWMsg::badRe()))); }
[[noreturn]] void RWThrowInternal(const char* text) { RWThrow(RWInternalErr(text)); }
[[noreturn]] void RWThrowExternal(const char* text) { RWThrow(RWExternalErr(text)); }

[[noreturn]] void RWThrowFileOpen(const char* fileName, std::FILE* file) {
  RWThrow(RWFileErr(FormattedMessage(RWMsg::opErr(), fileName ? fileName : ""), file,
                    RWFileErr::unknown));
}
[[noreturn]] void RWThrowFileRead(std::FILE* file) {
  RWThrow(RWFileErr(FormattedMessage(RWMsg::readErr()), file, RWFileErr::readErr));
}
[[noreturn]] void RWThrowFileWrite(std::FILE* file) {
  RWThrow(RWFileErr(FormattedMessage(RWMsg::writeErr()), file, RWFileErr::writeErr));
}
[[noreturn]] void RWThrowFileSeek(std::FILE* file) {
  RWThrow(RWFileErr(FormattedMessage(RWMsg::seekErr()), file, RWFileErr::seekErr));
}
[[noreturn]] void RWThrowBadStream(std::ios* stream) {
  RWThrow(RWStreamErr(FormattedMessage(RWMsg::coreStream()), stream));
}
[[noreturn]] void RWThrowStreamEof(std::ios* stream) {
  RWThrow(RWStreamErr(FormattedMessage(RWMsg::eof()), stream));
}

[[noreturn]] void RWThrowAlloc(std::size_t size) { RWThrow(RWxalloc(size)); }

// ---- fatal handler

void RWDefaultFatalHandler(const RWxmsg& e) {
  platform::showFatalMessage("Fatal Error", e.text() ? e.text() : "");
  std::exit(1);
}

namespace {
std::atomic<RWFatalHandler> gFatalHandler{&RWDefaultFatalHandler};
}

RWFatalHandler setFatalHandler(RWFatalHandler handler) {
  return gFatalHandler.exchange(handler ? handler : &RWDefaultFatalHandler);
}

RWFatalHandler fatalHandler() { return gFatalHandler.load(); }
