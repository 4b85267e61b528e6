// The dialog file loader against the simulated host: which dialog of the file opens for the
// user's language, and what the user is told when the file or the dialog cannot be loaded. The
// dialog file lies in a temporary folder of each test, with its own variable tables.
#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

#include <fstream>
#include <string>

#include "config/VariableTables.h"
#include "host/HostSession.h"
#include "plugin/CommandContext.h"
#include "plugin/DialogLoader.h"
#include "platform/testing/ScopedEnv.h"
#include "platform/testing/TempDir.h"

namespace {

kxhost::HostSession& host() { return kxhost::HostSession::instance(); }

// One "opt" dialog per name given, each with one tile.
std::string dialogs(std::initializer_list<const char*> names) {
  std::string text;
  for (const char* name : names)
    text += std::string(name) + " : dialog { : edit_box { key = \"layer_hidden\"; } ok_cancel; }\n";
  return text;
}

class DialogLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host().reset();
    clearVariables();
    clearFallbackVariables();
    setVariable("QUORVEL_SETUP", dir.path().c_str());
  }
  void TearDown() override {
    clearVariables();
    clearFallbackVariables();
    host().reset();
  }

  void writeDialogFile(const std::string& text) {
    std::ofstream(dir.file("kestrix.dcl"), std::ios::binary) << text;
  }

  // Opens the "opt" dialog for the language (none: the variable stays unset) and returns the
  // name of the dialog that opened, or "" when loadDialog failed. The dialog is run on no
  // actions (it cancels) and the file unloaded.
  std::string opened(const char* language) {
    if (language) setVariable("QUORVEL_LANGUAGE", language);
    int fileId = -1;
    ads_hdlg dialog = nullptr;
    host().transcript().clear();
    const int result = loadDialog(context, "opt", fileId, dialog);
    if (result != 1) {
      EXPECT_EQ(result, -1);
      return "";
    }
    int status = -1;
    EXPECT_EQ(ads_start_dialog(dialog, &status), RTNORM);
    EXPECT_EQ(ads_unload_dialog(fileId), RTNORM);
    const std::string& text = host().transcript().text();
    const std::size_t at = text.find("dialog ");
    const std::size_t end = text.find(" opens", at);
    if (at == std::string::npos || end == std::string::npos) return "?";
    return text.substr(at + 7, end - at - 7);
  }

  const std::string& transcript() { return host().transcript().text(); }

  platform::TempDir dir{"kestrix-dialogloader"};
  platform::ScopedEnv registry{"KESTRIX_REGISTRY", dir.file("registry")};
  CommandContext context;
};

}  // namespace

TEST_F(DialogLoaderTest, TheLanguageLineDecidesWhichDialogOpens) {
  struct Case {
    const char* head;       // the file's first line(s)
    const char* language;   // QUORVEL_LANGUAGE, null for unset
    const char* expected;
  };
  const Case cases[] = {
      // Listed in any letter case, with blanks around the items: the language's own dialog,
      // its name in lower case.
      {"LANGUAGES: English; GERMAN \n", "german", "kestrix_opt_german"},
      {"  LANGUAGES:english;german\r\n", "German", "kestrix_opt_german"},
      {"\n\n  LANGUAGES: german\n", "GERMAN", "kestrix_opt_german"},
      // Not listed: English, although the file holds the language's dialog.
      {"LANGUAGES: english;german\n", "french", "kestrix_opt_english"},
      // No language line: every language counts as offered; the language's dialog first...
      {"// options\n", "french", "kestrix_opt_french"},
      {"", "French", "kestrix_opt_french"},
      // ... then English when the file lacks it.
      {"", "italian", "kestrix_opt_english"},
      // No language set at all.
      {"", nullptr, "kestrix_opt_english"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.head) + " / " + (c.language ? c.language : "(unset)"));
    clearVariables();
    setVariable("QUORVEL_SETUP", dir.path().c_str());
    writeDialogFile(std::string(c.head) +
                    dialogs({"kestrix_opt_english", "kestrix_opt_german", "kestrix_opt_french"}));
    EXPECT_EQ(opened(c.language), c.expected);
    EXPECT_EQ(transcript().find("ALERT"), std::string::npos) << transcript();
  }
}

TEST_F(DialogLoaderTest, DialogFileOffersLanguageReadsOnlyTheFirstTextLine) {
  const RWCString path = RWCString(dir.path().c_str()) + "/kestrix.dcl";
  writeDialogFile("x : dialog { }\nLANGUAGES: english\n");
  EXPECT_TRUE(dialogFileOffersLanguage(path, "german"));
  writeDialogFile("// LANGUAGES: english;german\n");   // a language line inside a comment
  EXPECT_TRUE(dialogFileOffersLanguage(path, "german"));
  EXPECT_FALSE(dialogFileOffersLanguage(path, "french"));
  writeDialogFile("LANGUAGES:\n");                      // an empty list offers nothing
  EXPECT_FALSE(dialogFileOffersLanguage(path, "english"));
  EXPECT_TRUE(dialogFileOffersLanguage(RWCString(dir.path().c_str()) + "/missing.dcl", "x"));
  // A pipe or a device is not waited on or read: it offers every language, as a missing file.
  const std::string pipe = dir.path() + "/pipe.dcl", zero = dir.path() + "/zero.dcl";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
  std::filesystem::create_symlink("/dev/zero", zero);
  EXPECT_TRUE(dialogFileOffersLanguage(pipe.c_str(), "x"));
  EXPECT_TRUE(dialogFileOffersLanguage(zero.c_str(), "x"));
  // The line is found within the file's first 64 KiB, however long the file is.
  writeDialogFile("\n\n  LANGUAGES: english\n" + std::string(1 << 20, ' '));
  EXPECT_FALSE(dialogFileOffersLanguage(path, "german"));
  EXPECT_TRUE(dialogFileOffersLanguage(path, "English"));
}

TEST_F(DialogLoaderTest, AMissingOrBrokenFileIsReportedWithItsExpandedName) {
  const std::string file = dir.file("kestrix.dcl");
  for (const char* text : {static_cast<const char*>(nullptr), "x : dialog {\n"}) {
    if (text) writeDialogFile(text);
    EXPECT_EQ(opened("english"), "");
    EXPECT_NE(transcript().find("ALERT: Datei " + file + " wurde nicht gefunden"),
              std::string::npos)
        << transcript();
    EXPECT_EQ(transcript().find("Dialog konnte nicht"), std::string::npos);
  }
}

TEST_F(DialogLoaderTest, NeitherDialogIsReportedAndTheFileUnloaded) {
  writeDialogFile("LANGUAGES: german\n" + dialogs({"kestrix_load_english"}));
  EXPECT_EQ(opened("german"), "");
  EXPECT_NE(transcript().find("ALERT: Dialog konnte nicht geladen werden"), std::string::npos)
      << transcript();
  // The alert is translated through the context's catalogue.
  std::ofstream(dir.file("kestrix.nls")) << "\"Dialog konnte nicht geladen werden\",\"No dialog\"\n";
  context.readCatalogue(dir.file("kestrix.nls").c_str());
  EXPECT_EQ(opened("german"), "");
  EXPECT_NE(transcript().find("ALERT: No dialog"), std::string::npos) << transcript();
  // The file is unloaded again. The host numbers its loads one after the other, so the failed
  // load had the id after that of a load made just before it.
  int before = -1;
  ASSERT_EQ(ads_load_dialog(dir.file("kestrix.dcl").c_str(), &before), RTNORM);
  ASSERT_EQ(ads_unload_dialog(before), RTNORM);
  EXPECT_EQ(opened("german"), "");
  EXPECT_EQ(ads_unload_dialog(before + 1), RTERROR) << "the dialog file was left loaded";
}
