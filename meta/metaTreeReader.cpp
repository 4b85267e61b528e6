#include "meta/metaTreeReader.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "foundation/memPool.h"
#include "foundation/RWxmsg.h"
#include "meta/metaTree.h"
#include "meta/cLocaleGuard.h"
#include "meta/metaObject.h"
#include "meta/metaNumberWord.h"
#include "meta/metaObjectCustomStorage.h"
#include "platform/RegularFileStream.h"

namespace {

constexpr int endByte = 0xFF;              // how the end of the input arrives
constexpr std::size_t bufferStep = 32000;  // growth of the token buffer
constexpr std::size_t inputSize = 1 << 16;  // bytes taken from the stream at a time

// Word characters: a-z, A-Z, 0-9, '+', '-', '.', '_'.
struct wordTableC {
  bool word[256] = {};
  constexpr wordTableC() {
    for (int c = 'a'; c <= 'z'; ++c) word[c] = true;
    for (int c = 'A'; c <= 'Z'; ++c) word[c] = true;
    for (int c = '0'; c <= '9'; ++c) word[c] = true;
    word[static_cast<int>('+')] = word[static_cast<int>('-')] = true;
    word[static_cast<int>('.')] = word[static_cast<int>('_')] = true;
  }
};
constexpr wordTableC wordTable;

inline bool isWordChar(int c) { return c >= 0 && c < 256 && wordTable.word[c]; }

bool isSeparator(int c) { return c == '\t' || c == '\r' || c == '\n' || c == ' ' || c == ','; }

bool isNumberStart(char c) { return (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-'; }

// The string escapes undone in place (the text only shrinks): backslash-n, -r and -t become LF,
// CR and TAB, a backslash before any other byte stands for that byte, a backslash that ends the
// text is kept. Stops at the first NUL, as the text is taken as a C string.
void unescapeInPlace(char* text) {
  char* out = text;
  for (const char* p = text; *p;) {
    if (*p == '\\' && p[1] != '\0') {
      const char c = p[1];
      *out++ = c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
      p += 2;
    } else {
      *out++ = *p++;
    }
  }
  *out = '\0';
}

}  // namespace

metaTreeReaderC::metaTreeReaderC() = default;

metaTreeReaderC::~metaTreeReaderC() {
  releaseInput();
  std::free(buffer_);
  delete[] input_buffer_;
}

void metaTreeReaderC::releaseInput() {
  if (ownsInput_) delete input_;
  input_ = nullptr;
  ownsInput_ = 0;
  inputNext_ = inputEnd_ = input_buffer_;
  pushedBack_ = false;
}

void metaTreeReaderC::reset() {
  releaseInput();
  used_ = 0;
  line_ = 1;
  column_ = 0;
  previousColumn_ = 0;
  error_ = 0;
  errorPosition_ = metaSourcePosC{};
  message_ = str();
  depth_ = 0;
  tokenKind_ = tokenEnd;
  atEnd_ = false;
}

int metaTreeReaderC::open(const char* fileName) {
  reset();
  if (!fileName || !*fileName) return 0;
  auto* file = new platform::RegularFileStream(fileName);
  if (!file->is_open()) {
    delete file;
    return 0;
  }
  input_ = file;
  ownsInput_ = 1;
  return 1;
}

void metaTreeReaderC::setInput(std::istream* input) {
  reset();
  input_ = input;
  ownsInput_ = 0;
}

// Takes the next piece of the input into the input buffer; false at the real end. A stream that
// fails to deliver (a folder, a read error of the device) ends the input with the error
// "read fail": the stream library's exception never leaves the reader.
bool metaTreeReaderC::fill() {
  if (!input_buffer_) input_buffer_ = new char[inputSize];
  inputNext_ = inputEnd_ = input_buffer_;
  std::streambuf* in = input_->rdbuf();
  if (!in || error_) return false;
  std::streamsize got = 0;
  struct letGoC {  // other threads may allocate while the stream is read
    memPoolHoldC* hold;
    explicit letGoC(memPoolHoldC* h) : hold(h) { if (hold) hold->release(); }
    ~letGoC() { if (hold) hold->take(); }
  } letGo(poolHold_);
  try {
    // What the stream holds already is taken first, so that bytes before a failure are read.
    const std::streamsize held = in->in_avail();
    const std::streamsize want = static_cast<std::streamsize>(inputSize);
    got = held < 0 ? 0 : in->sgetn(input_buffer_, held > 0 && held < want ? held : want);
  } catch (const std::exception&) {
    got = -1;
  }
  if (got < 0) {
    setError("read fail");
    return false;
  }
  inputEnd_ = input_buffer_ + got;
  return got > 0;
}

// One byte of the input as a text stream delivers it: CR LF arrives as LF, and the end of the
// input arrives as 0xFF (as does a 0xFF byte itself; atEnd_ tells the two apart). The column is
// worked in a local and stored once: the byte read through a char pointer may alias any member,
// so a member updated around that read would go through memory twice.
inline int metaTreeReaderC::getByte() {
  const std::int32_t column = column_;
  previousColumn_ = column;
  if (pushedBack_) {
    pushedBack_ = false;
    column_ = metaSaturatedCount(column, 1);
    return lastByte_;
  }
  if (inputNext_ == inputEnd_ && !fill()) {
    atEnd_ = true;
    return endByte;
  }
  atEnd_ = false;
  const char* next = inputNext_;
  int c = static_cast<unsigned char>(*next);
  inputNext_ = next + 1;
  if (c == '\r') c = afterCarriageReturn();
  column_ = metaSaturatedCount(column, 1);
  return lastByte_ = c;
}

// A CR just read: LF when a LF follows it (taken with it), else CR.
int metaTreeReaderC::afterCarriageReturn() {
  if ((inputNext_ != inputEnd_ || fill()) && *inputNext_ == '\n') {
    ++inputNext_;
    return '\n';
  }
  return '\r';
}

// Puts the last byte back so that the next getByte reads it again. After the real end nothing
// needs to go back: the input keeps answering the end. A LF that stood for CR LF goes back as
// LF alone, which reads the same.
inline void metaTreeReaderC::putBack() {
  column_ = previousColumn_;
  if (!atEnd_) pushedBack_ = true;
}

bool metaTreeReaderC::grow() {
  if (capacity_ > static_cast<std::size_t>(-1) - bufferStep) return false;
  char* grown = static_cast<char*>(std::realloc(buffer_, capacity_ + bufferStep));
  if (!grown) return false;
  buffer_ = grown;
  capacity_ += bufferStep;
  return true;
}

bool metaTreeReaderC::appendRun(const char* run, std::size_t n) {
  while (used_ + n >= capacity_)
    if (!grow()) return false;
  std::memcpy(buffer_ + used_, run, n);
  used_ += n;
  return true;
}

inline bool metaTreeReaderC::append(char c) {
  if (used_ + 1 >= capacity_ && !grow()) return false;
  buffer_[used_++] = c;
  return true;
}

void metaTreeReaderC::setError(const char* message) { setError(message, nullptr); }

void metaTreeReaderC::setError(const char* message, const char* detail) {
  if (error_) return;  // the first error is the one kept
  error_ = 1;
  errorPosition_ = metaSourcePosC{line_, column_};
  // The text needs memory of its own; when none is left (the error may be that very shortage)
  // the error stays flagged with an empty message, and nothing is thrown.
  try {
    message_ = str(message);
    if (detail) message_.append(detail);
  } catch (...) {
    message_ = str();
  }
}

str metaTreeReaderC::errorText() const {
  if (!error_) return str();
  char where[64];
  std::snprintf(where, sizeof where, "line %d, column %d: ", static_cast<int>(errorPosition_.line),
                static_cast<int>(errorPosition_.column));
  str text(where);
  text.append(message_.text());
  return text;
}

int metaTreeReaderC::nextToken() {
  enum { skipping, inWord, inString } state = skipping;
  used_ = 0;
  if (buffer_) buffer_[0] = '\0';
  bool escaped = false;
  for (;;) {
    if (state == skipping && !pushedBack_) {
      // Runs of blanks, tabs and commas (indentation, mostly) are passed over within the input
      // buffer at once; what ends the run is read below as usual.
      const char* p = inputNext_;
      while (p != inputEnd_ && (*p == ' ' || *p == '\t' || *p == ',')) ++p;
      column_ = metaSaturatedCount(column_, static_cast<std::size_t>(p - inputNext_));
      inputNext_ = p;
    }
    const int c = getByte();
    if (state == skipping) {
      if (c == '"') {
        state = inString;
      } else if (c == '{') {
        return tokenKind_ = tokenOpen;
      } else if (c == '}') {
        return tokenKind_ = tokenClose;
      } else if (c == endByte) {
        return tokenKind_ = tokenEnd;
      } else if (c == '\n') {
        line_ = metaSaturatedCount(line_, 1);
        column_ = 0;
      } else if (isWordChar(c)) {
        // The word's run within the input buffer is taken at once; a word that reaches the
        // buffer's end goes on byte by byte.
        const char* run = inputNext_ - 1;
        const char* stop = inputNext_;
        while (stop != inputEnd_ && wordTable.word[static_cast<unsigned char>(*stop)]) ++stop;
        if (!appendRun(run, static_cast<std::size_t>(stop - run))) {
          setError("token too long");
          used_ = 0;
          return tokenKind_ = tokenEnd;
        }
        column_ = metaSaturatedCount(column_, static_cast<std::size_t>(stop - inputNext_));
        inputNext_ = stop;
        if (stop != inputEnd_) {
          buffer_[used_] = '\0';
          return tokenKind_ = tokenWord;
        }
        state = inWord;
      } else if (!isSeparator(c)) {
        setError("ill seperator char");
        used_ = 0;
        return tokenKind_ = tokenEnd;
      }
    } else if (state == inWord) {
      if (!isWordChar(c)) {
        putBack();
        buffer_[used_] = '\0';
        return tokenKind_ = tokenWord;
      }
      if (!append(static_cast<char>(c))) {
        setError("token too long");
        used_ = 0;
        return tokenKind_ = tokenEnd;
      }
    } else {
      if (c == endByte) {
        setError("ill char in string");
        used_ = 0;
        if (buffer_) buffer_[0] = '\0';
        return tokenKind_ = tokenEnd;
      }
      if (c == '"' && !escaped) {
        if (buffer_) buffer_[used_] = '\0';
        return tokenKind_ = tokenString;
      }
      escaped = c == '\\' ? !escaped : false;
      if (!append(static_cast<char>(c))) {
        setError("token too long");
        used_ = 0;
        return tokenKind_ = tokenEnd;
      }
      if (c == '\n') {
        // Line breaks inside a string are counted too, so positions after it stay true.
        line_ = metaSaturatedCount(line_, 1);
        column_ = 0;
      }
    }
  }
}

// The node is made empty and given its value in place: one text copy per key word or string. A
// text that cannot be stored takes its node with it.
metaTreeC* metaTreeReaderC::makeNode() {
  const metaSourcePosC position{line_, 0};
  char* text = buffer_ ? buffer_ : const_cast<char*>("");
  if (tokenKind_ == tokenString) {
    if (!raw_ && buffer_) unescapeInPlace(buffer_);
    std::unique_ptr<metaTreeC> node(new metaTreeC());
    node->value().setText(metaNodeValueC::typeString, text);
    node->value().setPosition(position);
    return node.release();
  }
  if (isNumberStart(text[0])) {
    double value = 0.0;
    if (!metaNumberWordValue(text, used_, &value)) {
      setError("value invalid :", text);
      return nullptr;
    }
    auto* node = new metaTreeC();
    node->value().setReal(value);
    node->value().setPosition(position);
    return node;
  }
  std::unique_ptr<metaTreeC> node(new metaTreeC());
  node->value().setText(metaNodeValueC::typeKeyWord, text);
  node->value().setPosition(position);
  return node.release();
}

// One level is a frame of an explicit stack rather than a call, so sections nest as deep as
// memory allows. A frame holds the node its nodes go under (null at the top) and the first and
// the last node made at its level. Each node is linked in as it is made: the first of a section
// before the owner's earlier children, every later one after the one before it. So no chain is
// walked again when its section closes, the counter moves once per node as it would for a chain
// linked in one step, and every node made so far hangs under the top level's chain.
metaTreeC* metaTreeReaderC::parseSection() {
  struct levelC {
    metaTreeC* owner;
    metaTreeC* first;
    metaTreeC* last;
  };
  std::vector<levelC> levels;
  memPoolHoldC hold;
  poolHold_ = &hold;
  struct forgetC {
    memPoolHoldC*& hold;
    ~forgetC() { hold = nullptr; }
  } forget{poolHold_};
  try {
    levels.push_back({nullptr, nullptr, nullptr});
    for (;;) {
      const int kind = nextToken();
      if (error_) break;
      levelC& level = levels.back();
      if (kind == tokenEnd) {
        if (depth_ == 0) return level.first;
        setError("section count wrong");
        break;
      }
      if (kind == tokenOpen) {
        if (!level.last) {
          setError("section without key found");
          break;
        }
        levels.push_back({level.last, nullptr, nullptr});  // `level` is not used past this point
        ++depth_;
        continue;
      }
      if (kind == tokenClose) {
        --depth_;
        if (depth_ < 0) {
          setError("section count wrong");
          break;
        }
        if (levels.size() == 1) return level.first;
        levels.pop_back();
        continue;
      }
      metaTreeC* node = makeNode();
      if (!node) break;
      if (level.last) {
        node->insertAfter(level.last);
      } else {
        if (level.owner) node->insertAsFirstChild(level.owner);
        level.first = node;
      }
      level.last = node;
    }
  } catch (const RWxalloc&) {
    setError("out of memory");
  } catch (const std::bad_alloc&) {
    setError("out of memory");
  }
  // Every node made hangs under the top level's chain.
  if (!levels.empty()) delete levels.front().first;
  return nullptr;
}

metaTreeC* metaTreeReaderC::read(int postLoad) {
  if (!input_) return nullptr;
  cLocaleGuardC guard;  // numbers are read with '.' as the decimal point, whatever the locale
  metaTreeC* tree = parseSection();
  if (!error_) {
    // A 0xFF byte ends the text like the end of the input, but only the real end is accepted:
    // a 0xFF byte is refused even as the very last byte.
    if (!atEnd_) {
      setError("eof fail");
    } else if (postLoad && tree) {
      // The pass makes nodes of its own (resolved references); running out of memory there
      // ends the read like running out of it while parsing.
      try {
        metaObjectCustomStorageC::runPostLoadPass(tree, 1);
      } catch (const RWxalloc&) {
        setError("out of memory");
      } catch (const std::bad_alloc&) {
        setError("out of memory");
      }
    }
  }
  if (error_) {
    delete tree;
    tree = nullptr;
  }
  releaseInput();
  return tree;
}

metaObjectC loadMetaTreeFile(const char* fileName, int owns) {
  cLocaleGuardC guard;
  metaObjectC loaded;
  if (fileName) {
    metaTreeReaderC reader;
    reader.open(fileName);  // a file that does not open reads as no tree
    if (metaTreeC* tree = reader.read(1)) loaded.reset(tree, owns);
  }
  // The one tree is handed over: the result owns it after the post-load pass (or, without
  // `owns`, the caller takes it over and must delete it).
  return loaded;
}
