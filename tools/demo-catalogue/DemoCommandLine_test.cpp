#include "tools/demo-catalogue/DemoCommandLine.h"

#include <gtest/gtest.h>

TEST(DemoCommandLine, ReadsTheLineThePlugInPasses) {
  // As the launcher hands it on: the 2D exchange arguments of the viewer command.
  DemoCommandLine line;
  std::string error;
  ASSERT_TRUE(parseDemoCommandLine({"-server", "TrovViewer", "-topic", "TrovViewer", "-poke",
                                    "RECEIVERCADID=Autocad.2d", "-fm", "METAV2", "-o",
                                    "c:\\plinth.out"},
                                   line, error))
      << error;
  EXPECT_EQ(line.server, "TrovViewer");
  EXPECT_EQ(line.topic, "TrovViewer");
  EXPECT_EQ(line.poke("RECEIVERCADID"), "Autocad.2d");
  EXPECT_EQ(line.format, DemoCommandLine::Format::Metafile);
  EXPECT_EQ(line.outputFile, "c:\\plinth.out");

  // The connection poke keeps its blanks; a value may hold '='; a later poke of a key wins.
  ASSERT_TRUE(parseDemoCommandLine({"-poke", "pconset=    1, 12.0,  0.0,   -1", "-poke", "a=b=c",
                                    "-poke", "a=d", "-fm", "sat", "-o", "x.sat"},
                                   line, error));
  EXPECT_EQ(line.poke("pconset"), "    1, 12.0,  0.0,   -1");
  EXPECT_EQ(line.poke("a"), "d");
  EXPECT_EQ(line.poke("missing", "fallback"), "fallback");
  EXPECT_EQ(line.format, DemoCommandLine::Format::Sat);
}

TEST(DemoCommandLine, RefusesMalformedLines) {
  const std::vector<std::vector<std::string>> bad = {
      {},                                  // no exchange file
      {"-fm", "METAV2"},                   // still none
      {"-o"},                              // option without its value
      {"-o", ""},                          // empty file name
      {"-x", "1", "-o", "f"},              // unknown option
      {"-poke", "novalue", "-o", "f"},     // poke without '='
      {"-poke", "=v", "-o", "f"},          // poke without a key
      {"-fm", "dxf", "-o", "f"},           // unknown format
  };
  for (const auto& arguments : bad) {
    DemoCommandLine line;
    std::string error;
    EXPECT_FALSE(parseDemoCommandLine(arguments, line, error)) << testing::PrintToString(arguments);
    EXPECT_FALSE(error.empty());
  }
}
