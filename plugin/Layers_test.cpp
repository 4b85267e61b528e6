// Layers, line types and block names against the simulated host, in this process. Each test has
// its own user configuration and line-type file in a temporary folder, its own variable tables
// and registry root, and a fresh host session whose transcript echoes every host command.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

#include "host/api.h"
#include "plugin/testing/PluginTestFixture.h"

namespace {

std::string str(const RWCString& s) { return std::string(s.data(), s.length()); }

const char* const kLineTypeFile =
    "*VERDECKT,Verdeckt __ __\n"
    "A,3.0,-1.5\n"
    "*MITTE,Mitte ____ _ ____\n"
    "A,12.0,-3.0,2.0,-3.0\n"
    "*STRICHPUNKT,Strichpunkt ____ . ____\n"
    "A,12.0,-3.0,0,-3.0\n";

class LayersTest : public kxtest::PluginHostTest {
 protected:
  LayersTest() : PluginHostTest("kestrix-layers") {}
  void SetUp() override {
    PluginHostTest::SetUp();
    std::ofstream(dir.file("test.lin")) << kLineTypeFile;
  }

  // Writes plinth.cfg (the line-type file is set to this test's file) and loads a context the
  // way the dispatcher does.
  CommandContext& configure(const std::string& settings) {
    std::ofstream(dir.file("plinth.cfg"))
        << "[Options]\nAcadLin=" << dir.file("test.lin") << "\n" << settings;
    return loadContext();
  }

  static const kxhost::LayerRecord* layer(const std::string& name) {
    return host().database().tables().findLayer(name);
  }
};

}  // namespace

// Every pen-class layer is made with its line type and colour, upper-cased; BYLAYER never loads a
// line type and gives the layer none; colours 0 and 256 set no colour; a layer that exists keeps
// its settings but gets its line type loaded; the cosmetic layer is made plain.
TEST_F(LayersTest, PreparesEveryPenClassLayerWithLineTypeAndColour) {
  CommandContext& ctx = configure(
      "[Layer]\nSolidHeavy=kontur\nSolidLight=duenn\nHidden=verdeckt\nCenter=mitte\n"
      "HeavyDashDot=0\nCosm=kosmetik\n"
      "[LineType]\nSolidHeavy=continuous\nSolidLight=VONLAYER\nHidden=Verdeckt\nCenter=Mitte\n"
      "HeavyDashDot=Strichpunkt\n"
      "[LineColor]\nSolidHeavy=1\nSolidLight=BYLAYER\nHidden=3\nCenter=0\nHeavyDashDot=5\n");

  EXPECT_EQ(ctx.prepareLayers(), 1);

  struct Expected {
    const char* name;
    int colour;
    const char* lineType;
  };
  const Expected expected[] = {
      {"KONTUR", 1, "CONTINUOUS"}, {"DUENN", 7, "CONTINUOUS"}, {"VERDECKT", 3, "VERDECKT"},
      {"MITTE", 7, "MITTE"},       {"0", 7, "CONTINUOUS"},     {"KOSMETIK", 7, "CONTINUOUS"},
  };
  for (const Expected& e : expected) {
    const kxhost::LayerRecord* l = layer(e.name);
    ASSERT_NE(l, nullptr) << e.name;
    EXPECT_EQ(l->name, e.name);
    EXPECT_EQ(l->colour, e.colour) << e.name;
    EXPECT_EQ(l->lineType, e.lineType) << e.name;
  }
  // Layer 0 existed: its line type is loaded, the layer itself is left alone.
  EXPECT_NE(host().database().tables().findLineType("STRICHPUNKT"), nullptr);

  // The exact host commands: the drawing's own CONTINUOUS counts as present in any case.
  EXPECT_TRUE(transcriptHas("Command: _.layer _new KONTUR \"\"\n"
                            "Command: _.layer _ltype CONTINUOUS KONTUR \"\"\n"
                            "Command: _.layer _color 1 KONTUR \"\"\n"
                            "Command: _.layer _new DUENN \"\"\n"
                            "Command: _.layer _new VERDECKT \"\"\n"
                            "Command: _.linetype _load VERDECKT " +
                            dir.file("test.lin") + " \"\"\n"))
      << transcript();
  EXPECT_FALSE(transcriptHas("_load CONTINUOUS")) << transcript();
  EXPECT_FALSE(transcriptHas("BYLAYER")) << transcript();
  EXPECT_FALSE(transcriptHas("_color 0")) << transcript();
  EXPECT_FALSE(transcriptHas("ALERT")) << transcript();

  // Prepared once, nothing is made again.
  const std::size_t before = transcript().size();
  EXPECT_EQ(ctx.prepareLayers(), 1);
  EXPECT_EQ(transcript().find("Command:", before), std::string::npos) << transcript();
}

// A line type that can be neither found nor loaded stops the preparation at its pen class with
// the alert; later pen classes are not prepared, what was made before stays.
TEST_F(LayersTest, MissingLineTypeAlertsAndStops) {
  struct Case {
    const char* label;
    const char* hiddenLayer;  // "0" exists already, "verdeckt" does not
  };
  for (const Case& c : {Case{"new layer", "verdeckt"}, Case{"existing layer", "0"}}) {
    SCOPED_TRACE(c.label);
    host().reset();
    CommandContext& ctx = configure(
        std::string("[Layer]\nSolidHeavy=kontur\nSolidLight=kontur\nHidden=") + c.hiddenLayer +
        "\nCenter=mitte\nHeavyDashDot=mitte\n"
        "[LineType]\nSolidHeavy=Continuous\nSolidLight=Continuous\nHidden=Gibtsnicht\n"
        "Center=Mitte\nHeavyDashDot=Mitte\n");

    EXPECT_EQ(ctx.prepareLayers(), -1);
    EXPECT_TRUE(transcriptHas(
        "ALERT: Linienstil Gibtsnicht existiert nicht!\nGeben Sie im 2D-Optionendialog der "
        "TROVsolutions AutoCAD-Schnittstelle einen gültigen Linientyp an.\n"))
        << transcript();
    // Only a layer made here reports the line type on the command line too.
    EXPECT_EQ(transcriptHas("\nLinientyp GIBTSNICHT konnte nicht geladen werden\n"),
              std::string(c.hiddenLayer) == "verdeckt")
        << transcript();
    EXPECT_NE(layer("KONTUR"), nullptr);
    EXPECT_EQ(layer("MITTE"), nullptr);
    EXPECT_EQ(host().database().tables().findLineType("MITTE"), nullptr);
  }
}

// createLayer reports a line type it cannot load on the command line and still makes the layer.
TEST_F(LayersTest, CreateLayerReportsEachFailure) {
  CommandContext& ctx = configure("");
  EXPECT_EQ(ctx.createLayer("neu", "gibtsnicht", 2), -1);
  EXPECT_TRUE(transcriptHas("\nLinientyp GIBTSNICHT konnte nicht geladen werden\n")) << transcript();
  ASSERT_NE(layer("NEU"), nullptr);
  EXPECT_EQ(layer("NEU")->colour, 2);
  EXPECT_EQ(layer("NEU")->lineType, "CONTINUOUS");

  // A name the host refuses: reported, nothing else is tried.
  const std::size_t before = transcript().size();
  EXPECT_EQ(ctx.createLayer("a<b", "Continuous", 2), -1);
  EXPECT_NE(transcript().find("\nLayer A<B konnte nicht erzeugt werden\n", before),
            std::string::npos)
      << transcript();
  EXPECT_EQ(transcript().find("_color", before), std::string::npos) << transcript();

  // BYBLOCK and BYLAYER (only in capitals) are never looked up or loaded.
  EXPECT_EQ(ctx.createLayer("frei", "BYBLOCK", 256), 1);
  EXPECT_EQ(layer("FREI")->colour, 7);
  EXPECT_EQ(transcript().find("_.linetype", before), std::string::npos) << transcript();
}

// A pen-class layer that the host refuses to make is reported again by the alert and fails the
// preparation.
TEST_F(LayersTest, LayerThatCannotBeMadeFailsThePreparation) {
  CommandContext& ctx = configure(
      "[Layer]\nSolidHeavy=a<b\n[LineType]\nSolidHeavy=Continuous\nSolidLight=Continuous\n"
      "Hidden=Continuous\nCenter=Continuous\nHeavyDashDot=Continuous\n");
  EXPECT_EQ(ctx.prepareLayers(), -1);
  EXPECT_TRUE(transcriptHas("ALERT: Layer a<b konnte nicht erzeugt werden\n")) << transcript();
}

// Symbol-table lookups compare names ignoring case and match whole names only.
TEST_F(LayersTest, TableLookupsIgnoreCaseAndMatchWholeNames) {
  CommandContext& ctx = configure("");
  ASSERT_EQ(ctx.createLayer("Kontur", "Continuous", 0), 1);
  EXPECT_TRUE(ctx.hasLayer("kontur"));
  EXPECT_TRUE(ctx.hasLayer("0"));
  EXPECT_FALSE(ctx.hasLayer("KONT"));
  EXPECT_FALSE(ctx.hasLayer("KONTUR2"));
  EXPECT_TRUE(ctx.hasLineType("continuous"));
  EXPECT_FALSE(ctx.hasLineType("BYLAYER"));
  EXPECT_FALSE(ctx.hasBlock("kontur"));
  EXPECT_TRUE(ctx.hasTableEntry("LAYER", "KONTUR"));

  EXPECT_FALSE(ctx.hasLineType("mitte"));
  EXPECT_TRUE(ctx.loadLineType("mitte"));
  EXPECT_TRUE(ctx.hasLineType("MITTE"));
  EXPECT_FALSE(ctx.loadLineType("gibtsnicht"));
  // Every entry list the walks received was released.
  EXPECT_EQ(host().resultBuffers().liveCount(), 0u);
}

// A block name is taken as the drawing's when the host takes it so: the letters of the host's
// code page fold their case as ASCII ones do, whether the name comes in UTF-8 or in code page
// bytes; names the host does not fold stay apart.
TEST_F(LayersTest, BlockLookupFoldsTheCaseOfCodePageLetters) {
  CommandContext& ctx = configure("");
  const ads_point p0 = {0.0, 0.0, 0.0}, p1 = {1.0, 0.0, 0.0};
  resbuf* line = acutBuildList(RTDXF0, "LINE", 10, p0, 11, p1, 0);
  ASSERT_EQ(acdbEntMake(line), RTNORM);
  acutRelRb(line);
  ads_name last = {0, 0}, set = {0, 0};
  ASSERT_EQ(acdbEntLast(last), RTNORM);
  ASSERT_EQ(acedSSAdd(last, nullptr, set), RTNORM);
  ASSERT_EQ(acedCommand(RTSTR, "_.BLOCK", RTSTR, "\xC3\x84RGER", RTPOINT, p0, RTPICKS, set, RTSTR,
                        "", RTNONE),
            RTNORM);  // ÄRGER
  acedSSFree(set);

  EXPECT_TRUE(ctx.hasBlock("\xC3\x84RGER"));
  EXPECT_TRUE(ctx.hasBlock("\xC3\xA4rger"));   // ärger, UTF-8
  EXPECT_TRUE(ctx.hasBlock("\xE4rger"));        // ärger, a code page byte
  EXPECT_FALSE(ctx.hasBlock("ARGER"));
  EXPECT_FALSE(ctx.hasBlock("\xC3\xA4rger0"));
  EXPECT_EQ(host().resultBuffers().liveCount(), 0u);
}

TEST_F(LayersTest, ComposeBlockName) {
  CommandContext& ctx = configure("");
  const std::string x300(300, 'x');
  const std::string x248(248, 'x');
  struct Case {
    std::string name;
    int view;
    std::string expected;
  };
  const Case cases[] = {
      {"Schraube/M8:DIN", 3, "Schraube M8 DIN View3"},
      {"Teil", -1, "Teil"},
      {"Teil", 0, "Teil View0"},
      {"Teil", -2, "Teil View-2"},
      {"<>/\\\":;?*|,=`", 12, std::string(13, ' ') + " View12"},
      {"a\"b;c.d", -1, "a b c.d"},
      {"a\tb\nc\x01" "d", -1, "a b c d"},
      {"", 2, " View2"},
      {"Nut/", -1, "Nut "},
      {x300, -1, std::string(250, 'x')},
      {x248, 12, x248 + " V"},
      {"", -1, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(str(ctx.composeBlockName(c.name.c_str(), c.view)), c.expected)
        << c.name << " / " << c.view;
  }
}
