#pragma once
// metaObjBlobC: a view of a blob node, which keeps an arbitrary byte string as printable text in
// three attributes: "SIZE" (byte count), "CODE" (a number stored with the data) and "DATA" (the
// bytes, 6 bits per character). blobRegroupBits is the bit regrouper of both directions. The view
// owns its node only when built with owns set.

#include <cstddef>
#include <cstdint>

#include "meta/metaObject.h"

class metaObjBlobC : public metaObjectC {
public:
  static constexpr int classDepth = metaObjectC::classDepth + 1;

  metaObjBlobC() = default;
  explicit metaObjBlobC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : metaObjectC(node, owns, buildVirtualBase) {}

  // "SIZE" with its found flag.
  std::int64_t getSize(int* found = nullptr) const;
  // Replaces every child by CODE := code, SIZE := count and, for count > 0, DATA := the encoded
  // bytes. Returns 1, or 0 for an unbound view or a negative count.
  int setBlobData(const unsigned char* bytes, std::int64_t count, std::int64_t code) const;
  // Decodes DATA into buffer. Returns the number of bytes written, or -1 when SIZE is absent, 0
  // or negative, or capacity is below SIZE. Never writes more than SIZE bytes: a DATA text
  // longer than SIZE says is cut, a shorter one gives fewer bytes.
  std::int64_t getBlobData(unsigned char* buffer, std::int64_t capacity) const;

  // The 85 characters of the text alphabet (the encoder writes the first 64).
  static const char* alphabet();
  // The place (0 to 84) of a character in the alphabet; 0 for any other character. The decoder
  // takes the low 6 bits of it.
  static unsigned char reverseValue(unsigned char c);
};

// Regroups `inputCount` symbols of `inputWidth` bits (each first translated through `inputTable`
// when given, then its low inputWidth bits taken, most significant first) into symbols of
// `outputWidth` bits (each translated through `outputTable` when given), written to `output`.
// Widths are 1 to 8. A partial last output symbol is padded with zero bits at its low end when
// outputWidth < inputWidth; otherwise leftover bits are dropped. At most `outputCapacity` symbols
// are written; `produced` receives the number written. Returns 1, or 0 for bad widths or a null
// buffer with work to do.
int blobRegroupBits(const unsigned char* input, int inputWidth, std::size_t inputCount,
                    unsigned char* output, int outputWidth, std::size_t outputCapacity,
                    std::size_t* produced, const unsigned char* inputTable,
                    const unsigned char* outputTable);

// Number of output symbols blobRegroupBits produces for these widths and count.
std::size_t blobRegroupCount(int inputWidth, std::size_t inputCount, int outputWidth);
