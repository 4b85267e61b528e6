// The dialog file reader: the optional language line at the top of a file.

#include <gtest/gtest.h>

#include <string>

#include "host/DialogFile.h"

namespace kxhost {
namespace {

constexpr const char* kDialog = "kestrix_opt_english : dialog {\n"
                                "  : edit_box { key = \"layer_hidden\"; }\n"
                                "  ok_cancel;\n"
                                "}\n";

TEST(DialogFileTest, ALanguageLineOnTheFirstTextLineIsPassedOver) {
  const std::string heads[] = {
      "LANGUAGES: english;german\n",
      "  \tLANGUAGES:english\r\n",
      "\n\nLANGUAGES: german; english\n",   // blank lines before the first text
      "// LANGUAGES: english\n",             // a comment holding it stays a comment
      "",
  };
  for (const std::string& head : heads) {
    DialogFile file;
    std::string error;
    ASSERT_TRUE(file.parse(head + kDialog, error)) << head << error;
    const DialogDef* def = file.find("kestrix_opt_english");
    ASSERT_NE(def, nullptr) << head;
    EXPECT_EQ(def->tiles.front().key, "layer_hidden");
  }
}

TEST(DialogFileTest, ALanguageLineAnywhereElseIsAnErrorOnItsOwnLine) {
  DialogFile file;
  std::string error;
  // Only the first text line may be a language line; a later one is no dialog language.
  EXPECT_FALSE(file.parse(std::string("LANGUAGES: english\n") + kDialog + "LANGUAGES: german\n",
                          error));
  // Line numbers still count the language line.
  EXPECT_FALSE(file.parse("LANGUAGES: english\nx : dialog { key = \"a\" }\n", error));
  EXPECT_NE(error.find("line 2:"), std::string::npos) << error;
}

}  // namespace
}  // namespace kxhost
