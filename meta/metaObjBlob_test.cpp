#include "meta/metaObjBlob.h"

#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "meta/metaTree.h"
#include "meta/testing/metaTreeDump.h"

namespace {

using metatesting::dumpTree;

metaObjBlobC newBlob() { return metaObjBlobC(metaTreeC::createKeyNode("FEATDATA"), 1); }

// Independent encoder: the bytes as a string of bits, cut into 6-bit groups, the last one padded
// with zero bits.
std::string referenceEncode(const std::vector<unsigned char>& bytes) {
  std::string bits;
  for (unsigned char b : bytes)
    for (int i = 7; i >= 0; --i) bits += ((b >> i) & 1) ? '1' : '0';
  while (bits.size() % 6) bits += '0';
  std::string out;
  for (std::size_t i = 0; i < bits.size(); i += 6) out += metaObjBlobC::alphabet()[std::stoi(bits.substr(i, 6), nullptr, 2)];
  return out;
}

TEST(metaObjBlob, AlphabetHas85DistinctPrintableCharacters) {
  const std::string a = metaObjBlobC::alphabet();
  ASSERT_EQ(a.size(), 85u);
  EXPECT_EQ(std::set<char>(a.begin(), a.end()).size(), 85u);
  for (char c : a) {
    EXPECT_TRUE(c > ' ' && c < 127) << c;
    EXPECT_NE(c, '"');
    EXPECT_NE(c, '\\');
  }
  // The reverse table is built from the whole alphabet: every character maps back to its place.
  for (unsigned v = 0; v < 85; ++v) EXPECT_EQ(metaObjBlobC::reverseValue(a[v]), v) << a[v];
  EXPECT_EQ(metaObjBlobC::reverseValue('~'), 0);
}

TEST(metaObjBlob, ThreeBytesMakeFourCharactersAndOneByteTwo) {
  metaObjBlobC blob = newBlob();
  const unsigned char three[] = {0x00, 0x10, 0x83};  // 000000 000001 000010 000011
  ASSERT_EQ(blob.setBlobData(three, 3, 7), 1);
  EXPECT_EQ(dumpTree(blob.node()), "FEATDATA { CODE { 7 } SIZE { 3 } DATA { \"0123\" } }");
  unsigned char out[3] = {};
  EXPECT_EQ(blob.getBlobData(out, 3), 3);
  EXPECT_EQ(std::memcmp(out, three, 3), 0);

  const unsigned char one[] = {0xFF};  // 111111 11(0000)
  blob.setBlobData(one, 1, 0);
  EXPECT_STREQ(blob.getAttrString("DATA"), "-m");
  unsigned char back[1] = {};
  EXPECT_EQ(blob.getBlobData(back, 1), 1);
  EXPECT_EQ(back[0], 0xFF);
}

TEST(metaObjBlob, RoundTripMatchesTheReferenceEncoding) {
  std::mt19937 random(12345);
  metaObjBlobC blob = newBlob();
  for (std::size_t n = 1; n < 70; ++n) {
    std::vector<unsigned char> bytes(n);
    for (auto& b : bytes) b = static_cast<unsigned char>(random());
    ASSERT_EQ(blob.setBlobData(bytes.data(), static_cast<std::int64_t>(n), 0), 1);
    EXPECT_EQ(blob.getAttrString("DATA"), referenceEncode(bytes)) << n;
    int found = 0;
    EXPECT_EQ(blob.getSize(&found), static_cast<std::int64_t>(n));
    std::vector<unsigned char> back(n + 4, 0xAA);
    EXPECT_EQ(blob.getBlobData(back.data(), static_cast<std::int64_t>(back.size())),
              static_cast<std::int64_t>(n));
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), back.begin())) << n;
    EXPECT_EQ(back[n], 0xAA) << "wrote past SIZE for " << n;
  }
}

TEST(metaObjBlob, RefusalsWriteNothing) {
  metaObjBlobC blob = newBlob();
  unsigned char out[8];
  std::memset(out, 0x55, sizeof out);
  EXPECT_EQ(blob.getBlobData(out, 8), -1);  // no SIZE
  const unsigned char bytes[] = {1, 2, 3, 4, 5};
  blob.setBlobData(bytes, 5, 0);
  EXPECT_EQ(blob.getBlobData(out, 4), -1);  // buffer smaller than SIZE
  for (unsigned char c : out) EXPECT_EQ(c, 0x55);

  blob.setBlobData(bytes, 0, 9);  // empty data: no DATA child
  EXPECT_EQ(dumpTree(blob.node()), "FEATDATA { CODE { 9 } SIZE { 0 } }");
  EXPECT_EQ(blob.getBlobData(out, 8), -1);

  EXPECT_EQ(blob.setBlobData(nullptr, 3, 0), 0);
  EXPECT_EQ(blob.setBlobData(bytes, -1, 0), 0);
  EXPECT_EQ(metaObjBlobC().setBlobData(bytes, 5, 0), 0);
}

// DATA and SIZE come from a file and may disagree: the decoder never writes past SIZE.
TEST(metaObjBlob, DataLongerOrShorterThanSizeStaysInTheBuffer) {
  metaObjBlobC blob = newBlob();
  blob.setAttrInt("SIZE", 2);
  blob.setAttrString("DATA", "0123456789ABCDEF");  // twelve bytes' worth
  unsigned char out[4] = {0xAA, 0xAA, 0xAA, 0xAA};
  EXPECT_EQ(blob.getBlobData(out, 2), 2);
  EXPECT_EQ(out[2], 0xAA);

  blob.setAttrInt("SIZE", 3);
  blob.node()->deleteChildren();
  blob.setAttrInt("SIZE", 3);
  blob.setAttrString("DATA", "01");  // one byte's worth
  EXPECT_EQ(blob.getBlobData(out, 4), 1);
}

TEST(blobRegroupBits, CountsTablesAndCapacity) {
  EXPECT_EQ(blobRegroupCount(8, 3, 6), 4u);
  EXPECT_EQ(blobRegroupCount(8, 1, 6), 2u);  // partial symbol padded
  EXPECT_EQ(blobRegroupCount(6, 2, 8), 1u);  // leftover bits dropped
  EXPECT_EQ(blobRegroupCount(0, 2, 8), 0u);

  const unsigned char in[] = {0xAB};
  unsigned char out[8] = {};
  std::size_t produced = 9;
  ASSERT_EQ(blobRegroupBits(in, 8, 1, out, 1, 8, &produced, nullptr, nullptr), 1);
  EXPECT_EQ(produced, 8u);
  const unsigned char bitsOfAB[] = {1, 0, 1, 0, 1, 0, 1, 1};
  EXPECT_EQ(std::memcmp(out, bitsOfAB, 8), 0);

  ASSERT_EQ(blobRegroupBits(in, 8, 1, out, 1, 3, &produced, nullptr, nullptr), 1);
  EXPECT_EQ(produced, 3u);  // capacity bounds the output

  const unsigned char table[2] = {'.', '#'};
  ASSERT_EQ(blobRegroupBits(in, 8, 1, out, 1, 8, &produced, nullptr, table), 1);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 8), "#.#.#.##");

  EXPECT_EQ(blobRegroupBits(in, 9, 1, out, 6, 8, &produced, nullptr, nullptr), 0);
  EXPECT_EQ(blobRegroupBits(nullptr, 8, 1, out, 6, 8, &produced, nullptr, nullptr), 0);
}

}  // namespace
