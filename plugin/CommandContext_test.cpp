// CommandContext's user configuration, pen-class accessors, shape references and the loading
// that the dispatcher runs before a command. Every test has its own folder for the installation,
// its own variable tables and registry root.
#include "plugin/CommandContext.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "config/VariableTables.h"
#include "platform/testing/ScopedEnv.h"
#include "platform/testing/TempDir.h"

namespace {

std::string str(const RWCString& s) { return std::string(s.data(), s.length()); }

void writeFile(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

class CommandContextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clearVariables();
    clearFallbackVariables();
    setVariable("QUORVEL_USER", dir.file("user").c_str());
    setVariable("QUORVEL_SETUP", dir.file("setup").c_str());
    setVariable("QUORVEL", dir.file("quorvel").c_str());
    setVariable("QUORVEL_LANGUAGE", "english");
  }
  void TearDown() override {
    clearVariables();
    clearFallbackVariables();
  }

  void writeUserConfig(const std::string& text) { writeFile(dir.file("user/plinth.cfg"), text); }

  platform::TempDir dir{"kestrix-context"};
  platform::ScopedEnv registry{"KESTRIX_REGISTRY", dir.file("registry")};
};

}  // namespace

// Without a plinth.cfg every setting has its default, and nothing is written back.
TEST_F(CommandContextTest, NoUserConfigurationGivesEveryDefault) {
  {
    CommandContext context;
    context.loadForCommand();
    const char* const lineTypes[] = {"Continuous", "Continuous", "Verdeckt", "Mitte",
                                     "Strichpunkt"};
    for (int pen = 0; pen < kPenClassCount; ++pen) {
      EXPECT_EQ(str(context.layerOfPenClass(pen)), "0") << pen;
      EXPECT_EQ(str(context.lineTypeOfPenClass(pen)), lineTypes[pen]) << pen;
      EXPECT_EQ(context.colourOfPenClass(pen), 7) << pen;
    }
    EXPECT_EQ(str(context.hatchLayer()), "0");
    EXPECT_EQ(str(context.hatchLineType()), "Continuous");
    EXPECT_EQ(context.hatchColour(), 7);
    EXPECT_EQ(str(context.cosmeticLayer()), "");
    EXPECT_EQ(str(context.metafileName()), "c:\\plinth.out");
    EXPECT_EQ(str(context.satFileName()), "c:\\acadxchg.sat");
    EXPECT_EQ(str(context.satVersion()), "1.6");
    EXPECT_EQ(str(context.valueById(kSetAcadLin).asText()), "acad.lin");
    EXPECT_TRUE(context.isInchAllowed());
    EXPECT_EQ(context.inchMode(), 0);
    EXPECT_EQ(context.catalogueEntries(), 0u);
    EXPECT_TRUE(context.colourDefinitions().isEmpty());
    EXPECT_TRUE(context.lineTypeNames().isEmpty());
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("user/plinth.cfg")));
}

// Block and key names match in any letter case; settings the file does not hold keep their
// defaults; the exchange names come from the file.
TEST_F(CommandContextTest, FileValuesOverrideDefaultsInAnyLetterCase) {
  writeUserConfig(
      "; a comment\n"
      "[layer]\nsolidheavy=KONTUR\n"
      "[LINETYPE]\nHIDDEN=Gestrichelt\n"
      "[xchg2d]\nmetafilename=d:/exchange/part.out\n"
      "[Xchg3D]\nSatVersion=7.0\n");
  CommandContext context;
  context.loadForCommand();
  EXPECT_EQ(str(context.layerOfPenClass(kPenSolidHeavy)), "KONTUR");
  EXPECT_EQ(str(context.layerOfPenClass(kPenSolidLight)), "0");
  EXPECT_EQ(str(context.lineTypeOfPenClass(kPenHidden)), "Gestrichelt");
  EXPECT_EQ(str(context.lineTypeOfPenClass(kPenCenter)), "Mitte");
  EXPECT_EQ(str(context.metafileName()), "d:/exchange/part.out");
  EXPECT_EQ(str(context.satVersion()), "7.0");
  EXPECT_EQ(str(context.satFileName()), "c:\\acadxchg.sat");
}

TEST_F(CommandContextTest, PenClassIndexOutsideTheTablesGivesTheDefaults) {
  writeUserConfig("[Layer]\nHeavyDashDot=STRICH\n[LineType]\nHeavyDashDot=Mitte\n"
                  "[LineColor]\nHeavyDashDot=5\n");
  CommandContext context;
  // Before the tables are built every index is outside them.
  EXPECT_EQ(str(context.layerOfPenClass(0)), "0");
  context.loadForCommand();
  EXPECT_EQ(str(context.layerOfPenClass(4)), "STRICH");
  EXPECT_EQ(str(context.lineTypeOfPenClass(4)), "Mitte");
  EXPECT_EQ(context.colourOfPenClass(4), 5);
  for (int index : {5, -1, 1000000}) {
    EXPECT_EQ(str(context.layerOfPenClass(index)), "0") << index;
    EXPECT_EQ(str(context.lineTypeOfPenClass(index)), "CONTINUOUS") << index;
    EXPECT_EQ(context.colourOfPenClass(index), 7) << index;
  }
}

TEST_F(CommandContextTest, InchAllowedIsReadAsATruthValue) {
  const struct {
    const char* text;
    bool allowed;
  } cases[] = {{"1", true}, {"ja", true}, {"YES", true}, {"True", true},
               {"0", false}, {"no", false}, {"nein", false}, {"2", false}};
  for (const auto& c : cases) {
    writeUserConfig(std::string("[Options]\nInchAllowed=") + c.text + "\n");
    CommandContext context;
    context.loadUserConfig();
    EXPECT_EQ(context.isInchAllowed(), c.allowed) << c.text;
  }
}

TEST_F(CommandContextTest, ShapeReferencesFindTheFirstItemOfANode) {
  const metaTreeC* a = reinterpret_cast<const metaTreeC*>(&dir);
  const metaTreeC* b = reinterpret_cast<const metaTreeC*>(&registry);
  CommandContext context;
  ShapeRefList& list = context.shapeReferences();
  EXPECT_EQ(list.findShape(a), nullptr);
  const ads_name first = {1, 2};
  const ads_name second = {3, 4};
  const ads_name third = {5, 6};
  list.addShape(a, first);
  list.addShape(b, second);
  list.addShape(a, third);
  ASSERT_NE(list.findShape(a), nullptr);
  EXPECT_EQ(list.findShape(a)->entityName[0], 1);
  EXPECT_EQ(list.findShape(a)->entityName[1], 2);
  EXPECT_EQ(list.findShape(b)->entityName[0], 3);
  EXPECT_EQ(list.findShape(nullptr), nullptr);
  EXPECT_EQ(list.count(), 3u);  // the items go with the context (the sanitizer build checks it)
}

// Loading for a command reads configuration, catalogue and definitions: with
// the catalogue of the configured language the command's messages are translated.
TEST_F(CommandContextTest, LoadForCommandReadsTheCatalogueAndDefinitionsOfTheLanguage) {
  writeUserConfig("[LineColor]\nCenter=rot\n");
  writeFile(dir.file("setup/dxflinecolors.def"), "[1]\ndefault=red\ngerman=rot\n");
  writeFile(dir.file("quorvel/lang/english/kestrix.nls"), "\"Drehwinkel:\",\"Rotation angle:\"\n");
  CommandContext context;
  context.loadForCommand();
  RWCString prompt;
  EXPECT_EQ(str(context.formatMessage(prompt, "Drehwinkel:")), "Rotation angle:");
  EXPECT_EQ(context.colourOfPenClass(kPenCenter), 1);
}
