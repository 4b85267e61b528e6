// The message catalogue: reading kestrix.nls, translating, formatting and showing messages on the
// simulated host's command line and in its alert boxes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "config/VariableTables.h"
#include "host/HostSession.h"
#include "plugin/CommandContext.h"
#include "platform/testing/TempDir.h"

#include <sys/stat.h>

namespace {

std::string str(const RWCString& s) { return std::string(s.data(), s.length()); }

kxhost::HostSession& host() { return kxhost::HostSession::instance(); }

class MessageCatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override { host().reset(); }
  void TearDown() override { host().reset(); }

  void read(const std::string& text) {
    const std::string path = dir.file("kestrix.nls");
    std::ofstream(path, std::ios::binary) << text;
    context.readCatalogue(path.c_str());
  }
  std::string translate(const char* key) { return str(context.translate(key)); }
  static const std::string& transcript() { return host().transcript().text(); }

  platform::TempDir dir{"kestrix-nls"};
  CommandContext context;
};

}  // namespace

TEST_F(MessageCatalogueTest, ReadsEntriesAndSkipsWhatIsNoEntry) {
  read("; comment without quotes\n"
       "\"Drehwinkel:\",\"Rotation angle:\"\n"
       "17  \"Einfügepunkt wählen:\",\"Select insertion point:\"\n"
       "\"Es wurde kein Teil übergeben!\",\"NOT_TO_TRANSLATE\"\n"
       "\"Kreis\",\"Circle\"\r\r\n"
       "\"drei\",\"Felder\",\"hier\"\n"
       "\"allein\"\n"
       "\"Leer\",\"\"\n"
       "\"Sag \"\"ja\"\"\",\"Say \"\"yes\"\"\"\n"
       "\"Zeile\\n2\",\"Line\\n2\"\n"
       "\"Doppelt\",\"first\"\n"
       "\"Doppelt\",\"second\"\n");
  const struct {
    const char* key;
    const char* shown;
  } cases[] = {
      {"Drehwinkel:", "Rotation angle:"},
      {"Einfügepunkt wählen:", "Select insertion point:"},  // text before the quote ignored
      {"Es wurde kein Teil übergeben!", "Es wurde kein Teil übergeben!"},
      {"Kreis", "Circle"},                                  // carriage returns stripped
      {"drei", "drei"},                                     // three fields: no entry
      {"allein", "allein"},
      {"Leer", "Leer"},                                     // an empty translation shows the key
      {"Sag \"ja\"", "Say \"yes\""},
      {"Zeile\n2", "Line\n2"},                              // escapes decoded on both sides
      {"Doppelt", "second"},                                // the later line wins
      {"drehwinkel:", "drehwinkel:"},                       // letter case matters
      {"Unbekannt %s", "Unbekannt %s"},
  };
  for (const auto& c : cases) EXPECT_EQ(translate(c.key), c.shown) << c.key;
  EXPECT_EQ(context.catalogueEntries(), 7u);  // NOT_TO_TRANSLATE is not stored
}

TEST_F(MessageCatalogueTest, MissingFileLeavesTheCatalogueEmpty) {
  context.readCatalogue(dir.file("none.nls").c_str());
  context.readCatalogue("q:/unmapped/drive.nls");
  EXPECT_EQ(context.catalogueEntries(), 0u);
  EXPECT_EQ(translate("Drehwinkel:"), "Drehwinkel:");
  EXPECT_EQ(transcript(), "");
}

// A named pipe or a device at the catalogue's name is not waited on or read: every message stays
// in its source text, and nothing is reported.
TEST_F(MessageCatalogueTest, APipeOrDeviceIsNoCatalogue) {
  ASSERT_EQ(::mkfifo(dir.file("pipe.nls").c_str(), 0644), 0);
  std::filesystem::create_symlink("/dev/zero", dir.file("zero.nls"));
  for (const char* name : {"pipe.nls", "zero.nls"}) {
    context.readCatalogue(dir.file(name).c_str());
    EXPECT_EQ(context.catalogueEntries(), 0u) << name;
  }
  EXPECT_EQ(transcript(), "");
}

// A file larger than any catalogue is not read, and says so.
TEST_F(MessageCatalogueTest, AnOversizedCatalogueIsNotRead) {
  std::string text = "\"Drehwinkel:\",\"Rotation angle:\"\n";
  text.resize(4 * 1024 * 1024 + 1, '\n');
  read(text);
  EXPECT_EQ(context.catalogueEntries(), 0u);
  EXPECT_EQ(translate("Drehwinkel:"), "Drehwinkel:");
  EXPECT_NE(transcript().find("ist größer als 4194304 Bytes und wird nicht gelesen."),
            std::string::npos)
      << transcript();
  text.resize(4 * 1024 * 1024);   // at the bound it is read
  read(text);
  EXPECT_EQ(translate("Drehwinkel:"), "Rotation angle:");
}

// A catalogue saved in the Windows code page matches the source texts by their letters, and its
// translations reach the host as UTF-8; a UTF-8 catalogue is read as it is.
TEST_F(MessageCatalogueTest, ACodePageCatalogueIsReadAsItsLetters) {
  read("\"Einf\xFCgepunkt w\xE4hlen:\",\"Point d'insertion \xE0 choisir:\"\r\n"
       "\"Drehwinkel:\",\"Rotation angle:\"\r\n"
       "\"Stra\xDF" "e\",\"Stra\xDF" "e \x80\"\r\n");
  EXPECT_EQ(translate("Einfügepunkt wählen:"), "Point d'insertion à choisir:");
  EXPECT_EQ(translate("Drehwinkel:"), "Rotation angle:");
  EXPECT_EQ(translate("Straße"), "Straße €");
  read("\xEF\xBB\xBF\"Einfügepunkt wählen:\",\"Select insertion point:\"\n");
  EXPECT_EQ(translate("Einfügepunkt wählen:"), "Select insertion point:");
}

TEST(DecodeEscapes, Table) {
  const struct {
    const char* in;
    bool dropNul;
    std::string out;
  } cases[] = {
      {"a\\\\b", true, "a\\b"},
      {"\\n\\a\\r\\t\\b\\f", true, "\n\a\r\t\b\f"},
      {"x\\qy", true, "xy"},          // an unknown escape vanishes with its letter
      {"x\\\"y", true, "xy"},
      {"end\\", true, "end"},         // a trailing backslash ends the text
      {"\\65\\66", true, "AB"},       // decimal
      {"\\0x41z", true, "Az"},        // hexadecimal; decoding goes on after the number
      {"\\0101", true, "A"},          // octal
      {"\\9z", true, "\tz"},
      {"a\\0b", true, "ab"},          // NUL dropped
      {"a\\0b", false, std::string("a\0b", 3)},
      {"\\321", true, std::string(1, static_cast<char>(321 & 0xff))},
      {"", true, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(str(CommandContext::decodeEscapes(c.in, c.dropNul)), c.out) << c.in;
}

TEST_F(MessageCatalogueTest, OutputIsTranslatedThenFormatted) {
  read("\"Metadatei %s wurde nicht gefunden!\",\"Metafile %s not found!\"\n"
       "\"Layer %s konnte nicht erzeugt werden\",\"Layer %s\\ncould not be created\"\n");
  RWCString text;
  EXPECT_EQ(str(context.formatMessage(text, "Metadatei %s wurde nicht gefunden!", "c:/a.out")),
            "Metafile c:/a.out not found!");
  EXPECT_EQ(str(text), "Metafile c:/a.out not found!");

  context.printMessage("Es wurde kein Teil übergeben!");
  EXPECT_EQ(transcript(), "\nEs wurde kein Teil übergeben!\n");

  host().reset();
  context.alertMessage("Layer %s konnte nicht erzeugt werden", "KONTUR");
  EXPECT_NE(transcript().find("ALERT: Layer KONTUR\ncould not be created"), std::string::npos)
      << transcript();
}

// A text longer than any fixed buffer comes out whole, and a translation that asks for other
// arguments than its source text is not used (its conversions would read what was not passed).
TEST_F(MessageCatalogueTest, FormattingIsUnboundedAndGuardsTheArguments) {
  read("\"Programm %s wurde nicht gefunden!\",\"Program %d %s not found!\"\n"
       "\"Wert %5.1f und %s\",\"Value %5.1f and %s\"\n"
       "\"Prozent %d%%\",\"Percent %d %%\"\n");
  const std::string longName(3000, 'p');
  RWCString text;
  context.formatMessage(text, "Programm %s wurde nicht gefunden!", longName.c_str());
  EXPECT_EQ(str(text), "Programm " + longName + " wurde nicht gefunden!");

  context.alertMessage("Programm %s wurde nicht gefunden!", longName.c_str());
  EXPECT_NE(transcript().find(longName + " wurde nicht gefunden!"), std::string::npos);

  EXPECT_EQ(str(context.formatMessage(text, "Wert %5.1f und %s", 2.25, "x")), "Value   2.2 and x");
  EXPECT_EQ(str(context.formatMessage(text, "Prozent %d%%", 5)), "Percent 5 %");
}

// A translation may use fewer of the arguments, as long as those it uses are the source's first
// ones in kind and order; any other is refused and the source text shown.
TEST_F(MessageCatalogueTest, TranslationMayLeaveTrailingArgumentsUnused) {
  read("\"Metadatei %s wurde nicht gefunden!\",\"Metafile not found!\"\n"
       "\"Zwei %s und %d\",\"Two %s\"\n"
       "\"Drei %s %d %ld\",\"Three %d\"\n"
       "\"Vier %s %d\",\"Four %s %d %s\"\n"
       "\"Fuenf %ld\",\"Five %d\"\n"
       "\"Sechs %s\",\"Six %\"\n"
       "\"Sieben %*d %s\",\"Seven %*d\"\n");
  struct Case {
    const char* source;
    std::string shown;
  };
  RWCString text;
  const Case cases[] = {
      {"Metadatei %s wurde nicht gefunden!", "Metafile not found!"},
      {"Zwei %s und %d", "Two a"},
      {"Drei %s %d %ld", "Drei a 1 2"},      // another kind first
      {"Vier %s %d", "Vier a 1"},            // asks for more than were passed
      {"Fuenf %ld", "Fuenf 2"},              // another length
      {"Sechs %s", "Sechs a"},               // ends inside a conversion
      {"Sieben %*d %s", "Seven  1"},         // the '*' width is an argument of its own
  };
  context.formatMessage(text, cases[0].source, "c:\\plinth.out");
  EXPECT_EQ(str(text), cases[0].shown);
  EXPECT_EQ(str(context.formatMessage(text, cases[1].source, "a", 1)), cases[1].shown);
  EXPECT_EQ(str(context.formatMessage(text, cases[2].source, "a", 1, 2L)), cases[2].shown);
  EXPECT_EQ(str(context.formatMessage(text, cases[3].source, "a", 1)), cases[3].shown);
  EXPECT_EQ(str(context.formatMessage(text, cases[4].source, 2L)), cases[4].shown);
  EXPECT_EQ(str(context.formatMessage(text, cases[5].source, "a")), cases[5].shown);
  EXPECT_EQ(str(context.formatMessage(text, cases[6].source, 2, 1, "b")), cases[6].shown);
  context.printMessage(cases[0].source, "c:\\plinth.out");
  EXPECT_EQ(transcript(), "\nMetafile not found!\n");
}

// The C library judges a translation's conversions: one it does not know ("%5-", "%.5.") reads
// no argument, so the conversions after it would take the wrong ones; such a translation is not
// used, and the source text is formatted instead.
TEST_F(MessageCatalogueTest, TranslationsTheLibraryReadsOtherwiseAreNotUsed) {
  const struct {
    const char* translation;
    const char* shown;
  } cases[] = {
      {"%5-d Teile in %s", "42 Teile in Teil"},
      {"%.5.3d von %s", "42 Teile in Teil"},
      {"%.5.12x %s", "42 Teile in Teil"},
      {"%-5.3.d %s", "42 Teile in Teil"},
      {"%5 d %s", "42 Teile in Teil"},        // a flag after the width is no conversion
      {"% 5d %s", "   42 Teil"},              // before it, it is
      {"%ld %s", "42 Teile in Teil"},         // another length
      {"%s %d", "42 Teile in Teil"},          // the kinds swapped
      {"%2$s %1$d", "42 Teile in Teil"},      // numbered arguments
      {"%d %s %s", "42 Teile in Teil"},       // more than the source reads
      {"%n%s", "42 Teile in Teil"},           // a pointer to write to
      {"%d %", "42 Teile in Teil"},           // ends inside a conversion
      {"%i Teile, %.3s", "42 Teile, Tei"},    // the same kinds written otherwise
      {"%d Teile", "42 Teile"},               // fewer
      {"%% %d in %s", "% 42 in Teil"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.translation);
    CommandContext fresh;
    const std::string path = dir.file("one.nls");
    std::ofstream(path, std::ios::binary) << "\"%d Teile in %s\",\"" << c.translation << "\"\n";
    fresh.readCatalogue(path.c_str());
    RWCString text;
    EXPECT_EQ(str(fresh.formatMessage(text, "%d Teile in %s", 42, "Teil")), c.shown);
  }
}

// A translation whose field width or precision is over 256 is refused when the catalogue is read
// (the source text is shown); 256 and less, written with leading zeros or not, is taken.
TEST_F(MessageCatalogueTest, TranslationsWithHugeWidthsAreRefused) {
  const struct {
    const char* translation;
    bool taken;
  } cases[] = {
      {"%256s", true},
      {"%.256s", true},
      {"%-256.256s", true},
      {"%000256s", true},                // leading zeros are the zero flag
      {"%257s", false},
      {"%.257s", false},
      {"%-1000s", false},
      {"% 0300s", false},
      {"%5.300s", false},
      {"%2000000000s", false},
      {"%s, then %300s", false},       // any conversion counts
      {"%99999999999999999999999s", false},   // beyond any integer
      {"%s is 1000000 bytes", true},     // numbers outside a conversion are text
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.translation);
    CommandContext fresh;
    const std::string path = dir.file("one.nls");
    std::ofstream(path, std::ios::binary)
        << "\"Metadatei %s wurde nicht gefunden!\",\"" << c.translation << "\"\n";
    fresh.readCatalogue(path.c_str());
    EXPECT_EQ(str(fresh.translate("Metadatei %s wurde nicht gefunden!")),
              c.taken ? c.translation : "Metadatei %s wurde nicht gefunden!");
  }
}

// No message grows past 64 KiB (65535 bytes and the terminating NUL), whatever its arguments: a
// long file name is shown whole up to that length and cut there. (Compared as flags, so that a
// failure does not print the texts.)
TEST_F(MessageCatalogueTest, MessagesAreCutAt64KiB) {
  const std::string frame = "Programm  wurde nicht gefunden!";
  const std::string kept(65535 - frame.size(), 'k');
  RWCString text;
  context.formatMessage(text, "Programm %s wurde nicht gefunden!", kept.c_str());
  EXPECT_EQ(text.length(), 65535u);
  EXPECT_TRUE(str(text) == "Programm " + kept + " wurde nicht gefunden!");

  const std::string huge(1 << 20, 'h');
  const std::string cut = "Programm " + huge.substr(0, 65535 - 9);
  context.formatMessage(text, "Programm %s wurde nicht gefunden!", huge.c_str());
  EXPECT_EQ(text.length(), 65535u);
  EXPECT_TRUE(str(text) == cut);
  context.printMessage("Programm %s wurde nicht gefunden!", huge.c_str());
  EXPECT_EQ(transcript().size(), 65537u);
  EXPECT_TRUE(transcript() == "\n" + cut + "\n");
}

namespace {

// The printf conversions of a text, in order, found independently of the catalogue's own check.
std::string conversions(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') continue;
    std::size_t j = i + 1;
    while (j < text.size() && std::string("-+ #0123456789.lh").find(text[j]) != std::string::npos)
      ++j;
    if (j < text.size()) out += text.substr(i, j - i + 1) == "%%" ? "" : std::string(1, text[j]);
    i = j;
  }
  return out;
}

// The source texts of a catalogue file, read with the catalogue's own reader rules.
std::vector<std::pair<std::string, std::string>> entriesOf(const std::string& path) {
  std::vector<std::pair<std::string, std::string>> out;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t q = line.find('"');
    if (q == std::string::npos) continue;
    const std::size_t mid = line.find("\",\"", q);
    if (mid == std::string::npos) continue;
    out.emplace_back(line.substr(q + 1, mid - q - 1),
                     line.substr(mid + 3, line.rfind('"') - mid - 3));
  }
  return out;
}

const std::string kSampleLanguages =
    std::filesystem::path(__FILE__).parent_path().parent_path().string() +
    "/examples/quorvel/lang/";

}  // namespace

// The sample installation's catalogues: English translates every message with the same
// arguments, German keeps every message, and both list the same texts.
TEST_F(MessageCatalogueTest, SampleCataloguesAgree) {
  const auto english = entriesOf(kSampleLanguages + "english/kestrix.nls");
  const auto german = entriesOf(kSampleLanguages + "german/kestrix.nls");
  ASSERT_FALSE(english.empty());
  ASSERT_EQ(english.size(), german.size());
  for (std::size_t i = 0; i < english.size(); ++i) {
    EXPECT_EQ(german[i].first, english[i].first);
    EXPECT_EQ(german[i].second, "NOT_TO_TRANSLATE") << german[i].first;
    EXPECT_NE(english[i].second, "NOT_TO_TRANSLATE") << english[i].first;
    EXPECT_EQ(conversions(english[i].second), conversions(english[i].first)) << english[i].first;
  }

  context.readCatalogue((kSampleLanguages + "english/kestrix.nls").c_str());
  EXPECT_EQ(context.catalogueEntries(), english.size());
  RWCString prompt;
  EXPECT_EQ(str(context.formatMessage(prompt, "Drehwinkel:")), "Rotation angle:");
  context.alertMessage(
      "Linienstil %s existiert nicht!\nGeben Sie im 2D-Optionendialog der TROVsolutions "
      "AutoCAD-Schnittstelle einen gültigen Linientyp an.",
      "MITTE");
  EXPECT_EQ(transcript(), "ALERT: Line type MITTE does not exist!\n"
                          "Please give a valid line type in the 2D options dialog.\n");

  CommandContext germanContext;
  germanContext.readCatalogue((kSampleLanguages + "german/kestrix.nls").c_str());
  EXPECT_EQ(germanContext.catalogueEntries(), 0u);
  EXPECT_EQ(str(germanContext.formatMessage(prompt, "Drehwinkel:")), "Drehwinkel:");
}
