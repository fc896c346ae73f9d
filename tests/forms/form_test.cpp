// The Controls collection, embedded controls and their focus, focus moves
// asked from code, help, and the life cycle of modal forms.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/headless/headless_services.h"
#include "forms/user_input.h"

namespace forms {
namespace {

using Names = std::vector<std::string>;

// A surface holding an embedded address control with two inner boxes.
class FormTest : public ::testing::Test {
 protected:
  FormTest() {
    before.TabIndex = 0;
    address.TabIndex = 1;
    street.TabIndex = 1;  // inner order differs from creation order
    city.TabIndex = 0;
    after.TabIndex = 2;
  }
  Form form{"Frm_Essai", 6000, 4000};
  Control& before = form.Add(Kind::TextBox, "Txt_Avant", {});
  Control& address = form.Add(Kind::Embedded, "Ctr_Adresse", {});
  Control& street = form.Add(Kind::TextBox, "Txt_Rue", {}, &address, &address);
  Control& city = form.Add(Kind::TextBox, "Txt_Ville", {}, &address, &address);
  Control& after = form.Add(Kind::Button, "Cmd_Apres", {});
  headless::HeadlessServices services;
  UserInput user{form, services};
};

TEST_F(FormTest, ControlsCollectionHoldsOwnControlsAndInnerOnesGoByTheirPath) {
  Names names;
  for (int i = 0; i < form.Count(); ++i) names.push_back(form[i].Name());
  EXPECT_EQ(names, (Names{"Txt_Avant", "Ctr_Adresse", "Cmd_Apres"}));
  EXPECT_EQ(form.AllControls().size(), 5u);
  EXPECT_EQ(form.Find("Ctr_Adresse.Txt_Ville"), &city);
  EXPECT_EQ(form.Find("Txt_Ville"), nullptr);
  EXPECT_EQ(city.Path(), "Ctr_Adresse.Txt_Ville");
  try {
    (void)form.Get("Txt_Absent");
    FAIL() << "no error for a missing control";
  } catch (const std::out_of_range& e) {
    EXPECT_NE(std::string(e.what()).find("Txt_Absent"), std::string::npos);
  }
  EXPECT_THROW(form.Add(Kind::Label, "Txt_Avant", {}), std::invalid_argument);
}

// Tab takes the inner parts at their owner's place, in their own order.
TEST_F(FormTest, TabThroughAnEmbeddedControlRaisesItsFocusEvents) {
  Names log;
  for (Control* c : {&before, &address, &street, &city, &after}) {
    c->GotFocus = [&log, c] { log.push_back(c->Name() + ".GotFocus"); };
    c->LostFocus = [&log, c] { log.push_back(c->Name() + ".LostFocus"); };
  }
  user.Focus(before);
  log.clear();
  user.Key(before, kKeyTab);
  user.Key(city, kKeyTab);
  user.Key(street, kKeyTab);
  EXPECT_EQ(log, (Names{"Txt_Avant.LostFocus", "Ctr_Adresse.GotFocus", "Txt_Ville.GotFocus",
                        "Txt_Ville.LostFocus", "Txt_Rue.GotFocus", "Txt_Rue.LostFocus",
                        "Ctr_Adresse.LostFocus", "Cmd_Apres.GotFocus"}));
  EXPECT_EQ(form.NextInTabOrder(&after), &before);
  EXPECT_EQ(form.NextInTabOrder(&before, true), &after);
}

// Outside any action the move is at once; an embedded control passes it on.
TEST_F(FormTest, SetFocusFromCodeMovesAtOnceAndAnEmbeddedControlPassesItOn) {
  int got = 0;
  after.GotFocus = [&] { ++got; };
  after.SetFocus();
  EXPECT_EQ(form.ActiveControl(), &after);
  EXPECT_EQ(got, 1);
  address.SetFocus();
  EXPECT_TRUE(city.Focused());
}

TEST_F(FormTest, HelpTopicComesFromTheControlElseItsContainers) {
  form.helpFile = "C:\\Morvanel\\Morvanel.HLP";
  address.HelpContextID = 10;
  user.Help(city);
  user.Help(before);  // none: nothing shown
  city.HelpContextID = 12;
  user.Help(city);
  ASSERT_EQ(services.helpTopics().size(), 2u);
  EXPECT_EQ(services.helpTopics()[0].file, "C:\\Morvanel\\Morvanel.HLP");
  EXPECT_EQ(services.helpTopics()[0].context, 10);
  EXPECT_EQ(services.helpTopics()[1].context, 12);
}

TEST_F(FormTest, APressOnAHiddenPartOrADisabledSurfaceReachesNobody) {
  address.geometry = {840, 960, 6135, 2175};
  city.geometry = {100, 200, 1500, 285};
  std::vector<float> surface, owner;
  int own = 0;
  form.MouseDown = [&](int, int, float x, float y) { surface.insert(surface.end(), {x, y}); };
  address.MouseDown = [&](int, int, float x, float y) { owner.insert(owner.end(), {x, y}); };
  city.MouseDown = [&](int, int, float, float) { ++own; };
  // A greyed inner part passes the press to its owner, and a greyed owner
  // to the surface.
  city.SetEnabled(false);
  EXPECT_TRUE(user.MouseDown(&city, kMouseRight, 10, 20));
  EXPECT_EQ(owner, (std::vector<float>{110, 220}));
  address.SetEnabled(false);
  EXPECT_TRUE(user.MouseDown(&city, kMouseRight, 10, 20));
  EXPECT_EQ(surface, (std::vector<float>{950, 1180}));
  address.SetEnabled(true);
  // Hidden, itself or around it: nothing is there to be pressed.
  city.SetEnabled(true);
  address.SetVisible(false);
  EXPECT_FALSE(user.MouseDown(&city, kMouseRight, 10, 20));
  address.SetVisible(true);
  form.SetEnabled(false);
  EXPECT_FALSE(user.MouseDown(&city, kMouseRight, 10, 20));
  EXPECT_EQ(surface.size(), 2u);
  EXPECT_EQ(owner.size(), 2u);
  EXPECT_EQ(own, 0);
}

// --- life cycle -------------------------------------------------------------------

class Closed : public FormObserver {
 public:
  void controlAdded(Control&) override {}
  void formChanged() override {}
  void focusChanged(Control*) override {}
  void unloaded() override { ++count; }
  int count = 0;
};

TEST_F(FormTest, QueryUnloadMayRefuseTheCloseBoxAndCodeUnloads) {
  Closed closed;
  form.AddObserver(&closed);
  std::vector<int> modes;
  bool allowed = false;
  form.QueryUnload = [&](int& cancel, int mode) {
    modes.push_back(mode);
    if (!allowed) cancel = 1;
  };
  form.RaiseLoad();
  EXPECT_FALSE(user.CloseBox());
  EXPECT_FALSE(form.IsUnloaded());
  EXPECT_EQ(closed.count, 0);
  allowed = true;
  EXPECT_TRUE(form.Unload());
  EXPECT_TRUE(form.IsUnloaded());
  EXPECT_EQ(modes, (std::vector<int>{0, 1}));
  EXPECT_EQ(closed.count, 1);
  form.RemoveObserver(&closed);
}

TEST_F(FormTest, ResetBringsBackTheControlsAsTheyWereAtFirstLoad) {
  Control& list = form.Add(Kind::ListBox, "Lst", {});
  list.AddItem("design");
  int loads = 0;
  form.Load = [&] { ++loads; };
  form.RaiseLoad();
  before.SetText("saisi");
  list.AddItem("added");
  after.SetEnabled(false);
  form.Unload();

  int changes = 0;
  before.Change = [&] { ++changes; };
  form.Reset();
  form.RaiseLoad();

  EXPECT_EQ(before.Text(), "");
  EXPECT_EQ(list.ListCount(), 1);
  EXPECT_TRUE(after.Enabled());
  EXPECT_FALSE(form.IsUnloaded());
  EXPECT_EQ(loads, 2);
  EXPECT_EQ(changes, 0);  // coming back is not a change
}

}  // namespace
}  // namespace forms
