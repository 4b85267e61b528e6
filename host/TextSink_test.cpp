// A document written through a stream holds the same bytes, in the same order, as the one kept
// whole, however its short and long pieces (beyond the stream's piece size) follow each other.

#include "host/TextSink.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace kxhost {
namespace {

TEST(TextSink, StreamedTextEqualsTheTextKeptWhole) {
  const std::string longPiece(3u << 20, 'x');   // three megabytes: goes into the stream straight
  const std::string nearPiece((1u << 20) - 1, 'y');
  std::vector<std::string> pieces = {"head\n", longPiece, "\n", nearPiece, "ab", longPiece, ""};
  for (int k = 0; k < 1000; ++k) pieces.push_back(std::to_string(k) + "\n");

  auto write = [&](TextSink& out) {
    for (const std::string& p : pieces) {
      out.append(p);
      out.append('|');
      out.append(2, '-');
    }
  };
  std::string expected;
  for (const std::string& p : pieces) expected += p + "|--";

  TextSink whole;
  write(whole);
  EXPECT_EQ(whole.finish(), expected);

  std::ostringstream stream;
  TextSink streamed(&stream);
  write(streamed);
  EXPECT_EQ(streamed.finish(), "");
  EXPECT_EQ(stream.str(), expected);
}

}  // namespace
}  // namespace kxhost
