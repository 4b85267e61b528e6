// Dialogs: loading definition files, opening dialogs, tiles and lists, and running a dialog on
// the script's actions, nested dialogs included.

#include <cstring>

#include "host/testing/HostFixture.h"

namespace kxhost::testing {
namespace {

const char* kDcl = R"(// LANGUAGES: english;german
kestrix_opt_english : dialog {
  label = "Options";
  : row {
    : edit_box { key = "layer_hidden"; label = "Hidden"; value = "HID"; }
    : button { key = "clbut_hidden"; label = "..."; }
  }
  ok_cancel;
}
/* the pick list */
kestrix_color_english : dialog {
  : list_box { key = "vallist"; list = "red\ngreen"; }
  ok_cancel;
}
)";

class DialogTest : public HostTest {
protected:
  int load() {
    int id = -1;
    EXPECT_EQ(ads_load_dialog(writeFile("k.dcl", kDcl).c_str(), &id), RTNORM) << host.transcript().text();
    return id;
  }
};

TEST_F(DialogTest, FilesThatDoNotParseFailToLoad) {
  const char* bad[] = {
      "x : dialog { key = \"a\" }",          // missing ';'
      "x : dialog { : button { key = \"a\"; }",  // not closed
      "@include \"base.dcl\"",
      "x : dialog { label = \"open string ; }",
      "/* never closed",
  };
  for (const char* text : bad) {
    int id = -1;
    EXPECT_EQ(ads_load_dialog(writeFile("bad.dcl", text).c_str(), &id), RTERROR) << text;
  }
  int id = -1;
  EXPECT_EQ(ads_load_dialog(dir.file("missing.dcl").c_str(), &id), RTERROR);
}

TEST_F(DialogTest, UnknownDialogAndUndefinedTilesAreRefused) {
  int id = load();
  ads_hdlg d = nullptr;
  EXPECT_EQ(ads_new_dialog("kestrix_opt_german", id, nullptr, &d), RTERROR);
  ASSERT_EQ(ads_new_dialog("kestrix_opt_english", id, nullptr, &d), RTNORM);
  char buf[100];
  ASSERT_EQ(ads_get_tile(d, "layer_hidden", buf, sizeof buf), RTNORM);
  EXPECT_STREQ(buf, "HID");
  EXPECT_EQ(ads_set_tile(d, "layer_cosm", "X"), RTERROR);
  EXPECT_EQ(ads_get_tile(d, "layer_cosm", buf, sizeof buf), RTERROR);
  EXPECT_EQ(ads_action_tile(d, "nope", nullptr), RTERROR);
  EXPECT_EQ(ads_start_list(d, "layer_hidden", LIST_NEW, 0), RTERROR) << "an edit box is no list";
  EXPECT_TRUE(transcriptHas("has no tile \"layer_cosm\""));
  char small[4];
  ASSERT_EQ(ads_set_tile(d, "layer_hidden", "LONGNAME"), RTNORM);
  ASSERT_EQ(ads_get_tile(d, "layer_hidden", small, sizeof small), RTNORM);
  EXPECT_STREQ(small, "LON") << "the value is cut to the buffer";
  answer("cancel");
  int status = -1;
  ASSERT_EQ(ads_start_dialog(d, &status), RTNORM);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ads_set_tile(d, "layer_hidden", "X"), RTERROR) << "the dialog has ended";
  EXPECT_EQ(ads_unload_dialog(id), RTNORM);
  EXPECT_EQ(ads_unload_dialog(id), RTERROR);
}

// The options dialog's shape: a pick button opens a list dialog whose accept writes the chosen
// entry into the main dialog's tile.
struct Pick {
  ads_hdlg main;
  int id;
  std::string tile;
};

void pickAccept(ads_callback_packet* p) {
  Pick* pick = static_cast<Pick*>(p->client_data);
  char index[100];
  ads_get_tile(p->dialog, "vallist", index, sizeof index);
  const char* names[] = {"red", "green"};
  ads_set_tile(pick->main, pick->tile.c_str(), names[std::atoi(index)]);
  ads_done_dialog(p->dialog, DLGOK);
}

void pickButton(ads_callback_packet* p) {
  Pick* pick = static_cast<Pick*>(p->client_data);
  ads_hdlg list = nullptr;
  if (ads_new_dialog("kestrix_color_english", pick->id, nullptr, &list) != RTNORM) return;
  ads_start_list(list, "vallist", LIST_NEW, 0);
  ads_add_list("red");
  ads_add_list("green");
  ads_end_list();
  ads_action_tile(list, "accept", pickAccept);
  ads_client_data_tile(list, "accept", pick);
  int status = 0;
  ads_start_dialog(list, &status);
}

int accepted = 0;
void mainAccept(ads_callback_packet* p) {
  ++accepted;
  ads_done_dialog(p->dialog, DLGOK);
}

TEST_F(DialogTest, ActionsRunCallbacksAndANestedDialogTakesTheFollowingActions) {
  int id = load();
  ads_hdlg d = nullptr;
  ASSERT_EQ(ads_new_dialog("kestrix_opt_english", id, nullptr, &d), RTNORM);
  Pick pick{d, id, "layer_hidden"};
  ads_action_tile(d, "clbut_hidden", pickButton);
  ads_client_data_tile(d, "clbut_hidden", &pick);
  ads_action_tile(d, "accept", mainAccept);
  answer("press clbut_hidden");
  answer("tile vallist 5");       // out of range: refused, the dialog goes on
  answer("tile vallist 1");
  answer("press accept");         // the list dialog's accept
  answer("press accept");         // the main dialog's accept
  accepted = 0;
  int status = -1;
  ASSERT_EQ(ads_start_dialog(d, &status), RTNORM);
  EXPECT_EQ(status, DLGOK);
  EXPECT_EQ(accepted, 1);
  EXPECT_TRUE(transcriptHas("list vallist has no entry 5")) << host.transcript().text();
  EXPECT_TRUE(host.input().empty());
  EXPECT_EQ(host.dialogs().openCount(), 0u);
}

TEST_F(DialogTest, RunningOutOfActionsCancelsAndLeavesOtherAnswers) {
  int id = load();
  ads_hdlg d = nullptr;
  ASSERT_EQ(ads_new_dialog("kestrix_opt_english", id, nullptr, &d), RTNORM);
  answer("tile layer_hidden NEW");
  answer("point 1,2");
  int status = -1;
  ASSERT_EQ(ads_start_dialog(d, &status), RTNORM);
  EXPECT_EQ(status, DLGCANCEL);
  EXPECT_TRUE(transcriptHas("no more dialog actions; cancelled"));
  ASSERT_EQ(host.input().size(), 1u) << "the point is left for the next prompt";
}

TEST_F(DialogTest, AcceptWithoutCallbackEndsWithStatusOne) {
  int id = load();
  ads_hdlg d = nullptr;
  ASSERT_EQ(ads_new_dialog("kestrix_opt_english", id, nullptr, &d), RTNORM);
  answer("press accept");
  int status = -1;
  ASSERT_EQ(ads_start_dialog(d, &status), RTNORM);
  EXPECT_EQ(status, DLGOK);
}

}  // namespace
}  // namespace kxhost::testing
