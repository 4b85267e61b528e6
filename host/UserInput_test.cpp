// User input from the script's queue: matching answers, empty answers, cancel, and answers
// that do not fit the prompt (RTCAN with a transcript line naming what was asked).

#include <cmath>

#include "host/testing/HostFixture.h"

namespace kxhost::testing {
namespace {

constexpr double kPi = 3.141592653589793;

class InputTest : public HostTest {};

TEST_F(InputTest, IntegerPromptTakesMatchingEmptyAndCancelAnswers) {
  answer("int 5");
  answer("enter");
  answer("cancel");
  int v = 0;
  EXPECT_EQ(acedGetInt("\nKind [0]: ", &v), RTNORM);
  EXPECT_EQ(v, 5);
  EXPECT_EQ(acedGetInt("\nKind [0]: ", &v), RTNONE);
  EXPECT_EQ(acedGetInt("\nKind [0]: ", &v), RTCAN);
  EXPECT_TRUE(transcriptHas("\nKind [0]: 5\n")) << host.transcript().text();
}

TEST_F(InputTest, AnswersThatDoNotFitTheirPromptCancelWithATranscriptLine) {
  struct Case {
    const char* answer;
    int (*ask)();
    const char* named;
  } cases[] = {
      {"point 1,2", [] { int v; return acedGetInt("Kind: ", &v); }, "acedGetInt asked for an integer"},
      {"int 3", [] { ads_real r; return acedGetOrient(nullptr, "Angle: ", &r); }, "acedGetOrient asked for an angle"},
      {"angle 30", [] { ads_name e; ads_point p; return acedEntSel("Pick: ", e, p); }, "acedEntSel asked for an entity pick"},
      {"enter", [] { ads_name e; ads_point p; return acedEntSel("Pick: ", e, p); }, "acedEntSel asked for an entity pick"},
      {"press accept", [] { ads_point p; return acedGetPoint(nullptr, "Point: ", p); }, "acedGetPoint asked for a point"},
  };
  for (const Case& c : cases) {
    host.transcript().clear();
    answer(c.answer);
    EXPECT_EQ(c.ask(), RTCAN) << c.answer;
    EXPECT_TRUE(transcriptHas(c.named)) << host.transcript().text();
    EXPECT_TRUE(transcriptHas(std::string("the script gave '") + c.answer + "'"));
    EXPECT_TRUE(host.input().empty()) << "the mismatching answer is used up";
  }
}

TEST_F(InputTest, MissingAnswerCancelsAndNamesThePrompt) {
  int v = 0;
  EXPECT_EQ(acedGetInt("Verschraubungsart:", &v), RTCAN);
  EXPECT_TRUE(transcriptHas("no answer left for \"Verschraubungsart:\"")) << host.transcript().text();
}

TEST_F(InputTest, OrientGivesRadiansFromDegreesOrAPoint) {
  answer("angle 90");
  answer("point 0,5");
  ads_real r = 0;
  ads_point base = {0, 0, 0};
  ASSERT_EQ(acedGetOrient(base, "Drehwinkel:", &r), RTNORM);
  EXPECT_NEAR(r, kPi / 2, 1e-15);
  ASSERT_EQ(ads_getorient(base, "Drehwinkel:", &r), RTNORM);
  EXPECT_NEAR(r, kPi / 2, 1e-15);
}

int callbacks = 0;
double seen[3];
int translate(ads_point pt, ads_matrix m) {
  ++callbacks;
  for (int k = 0; k < 3; ++k) seen[k] = pt[k];
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) m[r][c] = r == c;
  m[0][3] = pt[0];
  m[1][3] = pt[1];
  return RTNORM;
}
int shearing(ads_point, ads_matrix m) {
  m[0][1] = 0.5;
  return RTNORM;
}

TEST_F(InputTest, DragCallsTheTransformCallbackWithTheAnsweredPoint) {
  ASSERT_EQ(makeLine(0, 0, 1, 0), RTNORM);
  ads_name e, set;
  acdbEntLast(e);
  acedSSAdd(e, nullptr, set);
  answer("point 12,-3");
  ads_point p = {0, 0, 0};
  callbacks = 0;
  ASSERT_EQ(acedDragGen(set, "Einfuegepunkt:", 0, translate, p), RTNORM);
  EXPECT_EQ(callbacks, 1);
  EXPECT_EQ(seen[0], 12.0);
  EXPECT_EQ(p[0], 12.0);
  EXPECT_EQ(p[1], -3.0);
  EXPECT_EQ(host.database().model()[0].find(10)->v[0], 0.0) << "a drag moves nothing itself";
  answer("point 1,1");
  EXPECT_EQ(acedDragGen(set, "Einfuegepunkt:", 0, shearing, p), RTNORM);
  EXPECT_TRUE(transcriptHas("transform callback's matrix is refused"));
  answer("cancel");
  EXPECT_EQ(acedDragGen(set, "Einfuegepunkt:", 0, translate, p), RTCAN);
  acedSSFree(set);
  EXPECT_EQ(acedDragGen(set, "x", 0, translate, p), RTERROR) << "a freed set";
}

TEST_F(InputTest, EntitySelectionByHandleAndByNearestPoint) {
  ASSERT_EQ(makeLine(0, 0, 10, 0), RTNORM);
  std::uint32_t bottom = lastHandle();
  ASSERT_EQ(makeLine(0, 5, 10, 5), RTNORM);
  std::uint32_t top = lastHandle();
  char handle[16];
  std::snprintf(handle, sizeof handle, "pick %X", bottom);
  answer(handle);
  answer("pick 3,4.6");
  answer("pick 3,2.5");   // 2.5 from both lines: outside the pick box
  answer("pick FFFF");
  ads_name e;
  ads_point p;
  ASSERT_EQ(acedEntSel("Pick:", e, p), RTNORM);
  EXPECT_EQ(static_cast<std::uint32_t>(e[0]), bottom);
  ASSERT_EQ(acedEntSel("Pick:", e, p), RTNORM);
  EXPECT_EQ(static_cast<std::uint32_t>(e[0]), top);
  EXPECT_EQ(p[0], 3.0);
  EXPECT_EQ(p[1], 4.6);
  EXPECT_EQ(acedEntSel("Pick:", e, p), RTERROR);
  EXPECT_EQ(acedEntSel("Pick:", e, p), RTERROR);
  EXPECT_TRUE(transcriptHas("no entity with handle FFFF"));
}

}  // namespace
}  // namespace kxhost::testing
