#include "meta/metaObjBlob.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "meta/metaTree.h"

namespace {

// 85 distinct printable characters; the encoder writes the first 64. Neither the double quote nor
// the backslash is among them, so an encoded text needs no escapes in a metafile string.
const char textAlphabet[] =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz+-"
    "!#$%&()*,./:;<=>?@[]^";
static_assert(sizeof(textAlphabet) - 1 == 85, "the alphabet holds 85 characters");

// Character -> its place in the alphabet (characters outside the alphabet map to 0), built from
// all 85 characters once, on first use. The decoder keeps the low 6 bits of what it looks up.
const std::array<unsigned char, 256>& reverseTable() {
  static const std::array<unsigned char, 256> table = [] {
    std::array<unsigned char, 256> t{};
    for (unsigned v = 0; v < sizeof(textAlphabet) - 1; ++v)
      t[static_cast<unsigned char>(textAlphabet[v])] = static_cast<unsigned char>(v);
    return t;
  }();
  return table;
}

const char* const sizeKey = "SIZE";
const char* const codeKey = "CODE";
const char* const dataKey = "DATA";

}  // namespace

const char* metaObjBlobC::alphabet() { return textAlphabet; }

unsigned char metaObjBlobC::reverseValue(unsigned char c) { return reverseTable()[c]; }

std::size_t blobRegroupCount(int inputWidth, std::size_t inputCount, int outputWidth) {
  if (inputWidth < 1 || inputWidth > 8 || outputWidth < 1 || outputWidth > 8) return 0;
  if (inputCount > SIZE_MAX / 8) return 0;
  const std::size_t bits = inputCount * static_cast<std::size_t>(inputWidth);
  const std::size_t w = static_cast<std::size_t>(outputWidth);
  return outputWidth < inputWidth ? (bits + w - 1) / w : bits / w;
}

int blobRegroupBits(const unsigned char* input, int inputWidth, std::size_t inputCount,
                    unsigned char* output, int outputWidth, std::size_t outputCapacity,
                    std::size_t* produced, const unsigned char* inputTable,
                    const unsigned char* outputTable) {
  if (produced) *produced = 0;
  if (inputWidth < 1 || inputWidth > 8 || outputWidth < 1 || outputWidth > 8) return 0;
  if (inputCount > SIZE_MAX / 8) return 0;
  if (inputCount == 0) return 1;
  if (!input || !output) return 0;
  const std::size_t total = blobRegroupCount(inputWidth, inputCount, outputWidth);
  const std::size_t limit = total < outputCapacity ? total : outputCapacity;
  const unsigned inMask = (1u << inputWidth) - 1u;
  const unsigned outMask = (1u << outputWidth) - 1u;
  unsigned accumulator = 0;  // holds fewer than inputWidth + outputWidth bits
  int bits = 0;
  std::size_t written = 0;
  auto put = [&](unsigned symbol) {
    output[written++] = outputTable ? outputTable[symbol] : static_cast<unsigned char>(symbol);
  };
  for (std::size_t i = 0; i < inputCount && written < limit; ++i) {
    unsigned v = input[i];
    if (inputTable) v = inputTable[v];
    accumulator = (accumulator << inputWidth) | (v & inMask);
    bits += inputWidth;
    while (bits >= outputWidth && written < limit) {
      bits -= outputWidth;
      put((accumulator >> bits) & outMask);
      accumulator &= (1u << bits) - 1u;
    }
  }
  if (bits > 0 && written < limit) put((accumulator << (outputWidth - bits)) & outMask);
  if (produced) *produced = written;
  return 1;
}

std::int64_t metaObjBlobC::getSize(int* found) const {
  return getAttrInt64(sizeKey, found);
}

int metaObjBlobC::setBlobData(const unsigned char* bytes, std::int64_t count,
                              std::int64_t code) const {
  if (!isBound() || count < 0 || (count > 0 && !bytes)) return 0;
  const std::size_t n = static_cast<std::size_t>(count);
  if (n > SIZE_MAX / 8 - 8) return 0;
  clearChildren();
  setAttrInt(codeKey, code);
  setAttrInt(sizeKey, count);
  if (count == 0) return 1;
  const std::size_t symbols = blobRegroupCount(8, n, 6);
  std::vector<unsigned char> text(symbols + 1, 0);
  std::size_t written = 0;
  blobRegroupBits(bytes, 8, n, text.data(), 6, symbols, &written,
                  nullptr, reinterpret_cast<const unsigned char*>(textAlphabet));
  text[written] = 0;
  setAttrString(dataKey, reinterpret_cast<const char*>(text.data()));
  return 1;
}

std::int64_t metaObjBlobC::getBlobData(unsigned char* buffer, std::int64_t capacity) const {
  int found = 0;
  const std::int64_t size = getSize(&found);
  if (!found || size <= 0 || capacity < size || !buffer) return -1;
  const char* data = getAttrString(dataKey);
  std::size_t written = 0;
  blobRegroupBits(reinterpret_cast<const unsigned char*>(data), 6, std::strlen(data), buffer, 8,
                  static_cast<std::size_t>(size), &written, reverseTable().data(), nullptr);
  return static_cast<std::int64_t>(written);
}
