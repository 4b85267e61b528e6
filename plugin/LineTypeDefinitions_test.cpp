// Line-type and colour definitions and the pen-class tables built from the user configuration,
// against small definition files in a temporary installation.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "config/VariableTables.h"
#include "plugin/CommandContext.h"
#include "platform/testing/ScopedEnv.h"
#include "platform/testing/TempDir.h"

namespace {

std::string str(const RWCString& s) { return std::string(s.data(), s.length()); }

const char* const kLineTypes =
    "; line types\n"
    "[CONTINUOUS]\ndefault=Continuous\ngerman=Durchgezogen\n"
    "[VERDECKT]\ndefault=Verdeckt\nenglish=Hidden\n"
    "[NONAME]\nfrench=Cache\n"
    "[mitte]\nGERMAN=Mitte\n";

const char* const kColours =
    "[1]\ndefault=red\ngerman=rot\nalias=\n"
    "[3]\nenglish=green\ngerman=grün\n"
    "[5]\ndefault=blue\n"
    "[9]\nfrench=gris\n";

class DefinitionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clearVariables();
    clearFallbackVariables();
    setVariable("QUORVEL_USER", dir.file("user").c_str());
    setVariable("QUORVEL_SETUP", dir.file("setup").c_str());
    std::filesystem::create_directories(dir.file("user"));
    std::filesystem::create_directories(dir.file("setup"));
  }
  void TearDown() override {
    clearVariables();
    clearFallbackVariables();
  }

  void writeDefinitions() {
    std::ofstream(dir.file("setup/dxflinetypes.def")) << kLineTypes;
    std::ofstream(dir.file("setup/dxflinecolors.def")) << kColours;
  }
  // Loads a context as the dispatcher does, for the language and the user configuration given.
  CommandContext& load(const char* language, const std::string& userConfig = "") {
    setVariable("QUORVEL_LANGUAGE", language);
    std::ofstream(dir.file("user/plinth.cfg")) << userConfig;
    context.loadUserConfig();
    context.loadLineTypeAndColourDefinitions();
    context.buildPenClassTables();
    return context;
  }
  std::vector<std::string> lineTypeNames() {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < context.lineTypeNames().count(); ++i)
      out.push_back(str(context.lineTypeNames()[i]));
    return out;
  }

  platform::TempDir dir{"kestrix-definitions"};
  platform::ScopedEnv registry{"KESTRIX_REGISTRY", dir.file("registry")};
  CommandContext context;
};

}  // namespace

// The display name is the value of the language's key, else of "default"; blocks without one
// are skipped; block and key names ignore case.
TEST_F(DefinitionsTest, DisplayNamesFollowTheLanguage) {
  writeDefinitions();
  load("german");
  EXPECT_EQ(lineTypeNames(), (std::vector<std::string>{"Durchgezogen", "Verdeckt", "Mitte"}));
  auto& colours = context.colourDefinitions();
  ASSERT_EQ(colours.count(), 3u);
  EXPECT_EQ(str(colours[0].displayName), "rot");
  EXPECT_EQ(colours[0].colourNumber, 1);
  EXPECT_EQ(str(colours[0].keyValues), "red;rot;");  // every non-empty value, in file order
  EXPECT_EQ(str(colours[1].displayName), "grün");
  EXPECT_EQ(str(colours[1].keyValues), "green;grün;");
  EXPECT_EQ(str(colours[2].displayName), "blue");
  // The records compare by display name ignoring case.
  EXPECT_EQ(colours.indexOf(DefColorItem("ROT", 0, "")), 0u);

  load("english");
  EXPECT_EQ(lineTypeNames(), (std::vector<std::string>{"Continuous", "Hidden"}));
  ASSERT_EQ(context.colourDefinitions().count(), 3u);
  EXPECT_EQ(str(context.colourDefinitions()[0].displayName), "red");
  EXPECT_EQ(str(context.colourDefinitions()[1].displayName), "green");
}

TEST_F(DefinitionsTest, ColourTextsResolveToHostNumbers) {
  writeDefinitions();
  load("german");
  const struct {
    const char* text;
    int colour;
  } cases[] = {
      {"Rot", 1},       {"RED", 1},        {"grün", 3},      {"GREEN", 3},   // both languages
      {"blue", 5},      {"vonblock", 0},   {"BYBLOCK", 0},   {"VonLayer", 256},
      {"bylayer", 256}, {"3", 3},          {"12", 12},       {"lila", 0},    // unknown: atoi
      {"gris", 0},      // a block without display name is no definition
      {"", 7},          {"  ", 7},         // no colour configured: the pen-class default
  };
  for (const auto& c : cases) EXPECT_EQ(context.parseColour(c.text), c.colour) << c.text;
}

TEST_F(DefinitionsTest, MissingDefinitionFilesLeaveOnlyNumbersAndByNames) {
  load("german");
  EXPECT_TRUE(context.lineTypeNames().isEmpty());
  EXPECT_TRUE(context.colourDefinitions().isEmpty());
  EXPECT_EQ(context.parseColour("rot"), 0);
  EXPECT_EQ(context.parseColour("4"), 4);
  EXPECT_EQ(context.parseColour("VONLAYER"), 256);
}

// The BY-name lists are compared with the text in capitals: a word added in capitals matches in
// any case, one written in lower case never does. Missing list items are made with defaults.
TEST_F(DefinitionsTest, ByNameListsMapLineTypes) {
  load("german", "[byname]\nBYBLOCK=VONBLOCK, OHNE ,leer\n");
  const struct {
    const char* text;
    const char* result;
  } cases[] = {
      {"VONLAYER", "BYLAYER"}, {"vonlayer", "BYLAYER"}, {"ByLayer", "BYLAYER"},
      {"vonblock", "BYBLOCK"}, {"ohne", "BYBLOCK"},     {"Ohne", "BYBLOCK"},
      {"leer", "leer"},        {"Verdeckt", "Verdeckt"}, {"", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(str(context.translateLineTypeName(c.text)), c.result) << c.text;
  const QVConfigItem* byLayer = context.findItem("BYLAYER", "BYNAME");
  ASSERT_NE(byLayer, nullptr);
  EXPECT_EQ(str(byLayer->value().asText()), "VONLAYER");
}

TEST_F(DefinitionsTest, PenClassTablesComeFromTheSettings) {
  writeDefinitions();
  load("german",
       "[Layer]\nSolidHeavy=KONTUR\nHatch=SCHRAFFUR\nCosm=KOSMETIK\n"
       "[LineType]\nSolidLight=vonlayer\nHidden=Verdeckt\nHatch=VONBLOCK\n"
       "[LineColor]\nSolidHeavy=rot\nSolidLight=VONLAYER\nCenter=GREEN\nHatch=blue\n");
  EXPECT_EQ(str(context.layerOfPenClass(kPenSolidHeavy)), "KONTUR");
  EXPECT_EQ(str(context.lineTypeOfPenClass(kPenSolidLight)), "BYLAYER");
  EXPECT_EQ(str(context.lineTypeOfPenClass(kPenHidden)), "Verdeckt");
  EXPECT_EQ(context.colourOfPenClass(kPenSolidHeavy), 1);
  EXPECT_EQ(context.colourOfPenClass(kPenSolidLight), 256);
  EXPECT_EQ(context.colourOfPenClass(kPenHidden), 7);
  EXPECT_EQ(context.colourOfPenClass(kPenCenter), 3);
  EXPECT_EQ(str(context.hatchLayer()), "SCHRAFFUR");
  EXPECT_EQ(str(context.hatchLineType()), "BYBLOCK");
  EXPECT_EQ(context.hatchColour(), 5);
  EXPECT_EQ(str(context.cosmeticLayer()), "KOSMETIK");

  // Building again replaces the tables rather than appending to them.
  context.buildPenClassTables();
  EXPECT_EQ(str(context.layerOfPenClass(kPenClassCount)), "0");
}
