#include "tools/demo-catalogue/SatWriter.h"

#include <gtest/gtest.h>

#include "host/SatFile.h"
#include "tools/demo-catalogue/DemoParts.h"

#include <map>
#include <sstream>

namespace {

struct Record {
  std::string type;
  std::vector<std::string> fields;
};

std::vector<Record> records(const std::string& sat, std::vector<std::string>& header) {
  std::istringstream in(sat);
  std::string line;
  for (int i = 0; i < 3 && std::getline(in, line); ++i) header.push_back(line);
  std::vector<Record> out;
  while (std::getline(in, line) && line != "End-of-ACIS-data") {
    std::istringstream words(line);
    Record r;
    words >> r.type;
    for (std::string w; words >> w;) r.fields.push_back(w);
    out.push_back(r);
  }
  return out;
}

int pointer(const std::string& field) { return std::stoi(field.substr(1)); }

}  // namespace

TEST(SatWriter, VersionNumbers) {
  EXPECT_EQ(satVersionNumber("1.6"), 106);
  EXPECT_EQ(satVersionNumber("7.0"), 700);
  for (const char* bad : {"", "1", "1.6x", "abc", "0.5", "1.100"}) EXPECT_EQ(satVersionNumber(bad), 0) << bad;
}

// Each body is a closed box: every pointer lands on a record of the right type, coedges pair up
// with opposite senses on one edge, and vertices, edges and faces satisfy V - E + F = 2.
TEST(SatWriter, BoxesAreConsistentClosedBodies) {
  const std::string sat = writeSat({{0, 0, 0, 10, 20, 30}, {5, 5, 5, 1, 1, 1}}, 106, "test");
  std::vector<std::string> header;
  const std::vector<Record> all = records(sat, header);
  ASSERT_EQ(header.size(), 3u);
  EXPECT_EQ(header[0], "106 " + std::to_string(all.size()) + " 2 0");
  EXPECT_EQ(header[1].substr(0, 7), "4 test ");
  EXPECT_EQ(sat.substr(sat.size() - 17), "End-of-ACIS-data\n");

  std::map<std::string, int> count;
  for (const Record& r : all) {
    ++count[r.type];
    EXPECT_EQ(r.fields.back(), "#");
    for (const std::string& f : r.fields) {
      if (f[0] != '$') continue;
      int target = pointer(f);
      EXPECT_TRUE(target == -1 || (target >= 0 && target < int(all.size()))) << r.type << " " << f;
    }
  }
  EXPECT_EQ(count["body"], 2);
  EXPECT_EQ(count["vertex"] - count["edge"] + count["face"], 2 * 2);
  for (std::size_t i = 0; i < all.size(); ++i) {
    const Record& r = all[i];
    if (r.type != "coedge") continue;
    const Record& partner = all[std::size_t(pointer(r.fields[3]))];
    ASSERT_EQ(partner.type, "coedge");
    EXPECT_EQ(pointer(partner.fields[3]), int(i));   // partners point at each other
    EXPECT_EQ(partner.fields[4], r.fields[4]);       // on the same edge
    EXPECT_NE(partner.fields[5], r.fields[5]);       // in opposite senses
    EXPECT_EQ(all[std::size_t(pointer(r.fields[1]))].type, "coedge");
    EXPECT_EQ(all[std::size_t(pointer(r.fields[4]))].type, "edge");
  }
  // Version 7.0 marks the header texts with '@'.
  header.clear();
  records(writeSat({{0, 0, 0, 1, 1, 1}}, 700, "test"), header);
  EXPECT_EQ(header[1].substr(0, 8), "@4 test ");
}

// The host's SAT import accepts every 3D part of the demo catalogues, in both header forms, and
// counts one body per solid.
TEST(SatWriter, HostImportAcceptsEveryDemoPart) {
  for (const DemoCatalogue& catalogue :
       {viewerCatalogue(), shaftCatalogue(), assemblyCatalogue(), connectionCatalogue()}) {
    for (const DemoPart& part : catalogue.parts) {
      for (const char* version : {"1.6", "7.0"}) {
        SCOPED_TRACE(catalogue.programName + " " + part.name + " " + version);
        DemoCommandLine line;
        std::string error, text;
        ASSERT_TRUE(parseDemoCommandLine({"-poke", "pconset=    1, 12.0,  0.0,   -1", "-poke",
                                          std::string("FormatVersion=") + version, "-fm", "sat",
                                          "-o", "x"},
                                         line, error));
        ASSERT_TRUE(demoExchangeText(catalogue, line, part.name, text, error)) << error;
        kxhost::SatFile sat;
        ASSERT_TRUE(sat.parse(text, error)) << error;
        DemoPartOutput output;
        ASSERT_TRUE(part.build(line, output, error));
        EXPECT_EQ(sat.bodyCount(), int(output.solids.size()));
        EXPECT_EQ(sat.version(), satVersionNumber(version));
      }
    }
  }
}
