// The headless platform services: message boxes answered from a queue or
// refused, modal forms run by a driver, pop-up menus and the rest recorded.
#include <gtest/gtest.h>

#include <string>

#include "forms/form.h"
#include "forms/headless/headless_services.h"
#include "forms/user_input.h"

namespace forms::headless {
namespace {

constexpr const char* kTitle = "Message TARVELINE";

TEST(HeadlessServicesTest, MessageBoxesTakeQueuedAnswersInOrderThenTheDefault) {
  HeadlessServices s;
  s.QueueAnswer(MsgAnswer::No);
  s.QueueAnswer(MsgAnswer::OK);
  EXPECT_EQ(s.MsgBox("Supprimer ?", MsgButtons::YesNo, MsgIcon::Exclamation, kTitle),
            MsgAnswer::No);
  EXPECT_EQ(s.MsgBox("Fait.", MsgButtons::OK, MsgIcon::Information, kTitle), MsgAnswer::OK);
  ASSERT_EQ(s.messages().size(), 2u);
  EXPECT_EQ(s.messages()[0].text, "Supprimer ?");
  EXPECT_EQ(s.messages()[1].answer, MsgAnswer::OK);
  EXPECT_EQ(s.takeMessages().size(), 2u);
  EXPECT_TRUE(s.messages().empty());
  // With a default, every box gets one of its own buttons; the queue comes first.
  s.SetDefaultAnswer(MsgAnswer::No);
  EXPECT_EQ(s.MsgBox("Q ?", MsgButtons::YesNoCancel, MsgIcon::Exclamation, kTitle), MsgAnswer::No);
  EXPECT_EQ(s.MsgBox("Info.", MsgButtons::OK, MsgIcon::Information, kTitle), MsgAnswer::OK);
  s.QueueAnswer(MsgAnswer::Cancel);
  EXPECT_EQ(s.MsgBox("Q ?", MsgButtons::YesNoCancel, MsgIcon::Exclamation, kTitle),
            MsgAnswer::Cancel);
  EXPECT_EQ(s.pendingAnswers(), 0u);
}

// A box with no fitting answer queued fails the test that showed it.
TEST(HeadlessServicesTest, AMessageNobodyExpectedOrWronglyAnsweredIsAnError) {
  HeadlessServices s;
  try {
    s.MsgBox("Ce centre URSSAF n'existe pas.", MsgButtons::OK, MsgIcon::Exclamation, kTitle);
    FAIL() << "the box was answered";
  } catch (const UnexpectedMessage& e) {
    EXPECT_NE(std::string(e.what()).find("Ce centre URSSAF n'existe pas."), std::string::npos);
  }
  ASSERT_EQ(s.messages().size(), 1u);  // shown, though not answered
  EXPECT_FALSE(s.messages()[0].answer.has_value());
  s.QueueAnswer(MsgAnswer::Yes);  // not a button of an OK box: stays queued
  EXPECT_THROW(s.MsgBox("Erreur.", MsgButtons::OK, MsgIcon::Exclamation, kTitle),
               UnexpectedMessage);
  EXPECT_EQ(s.pendingAnswers(), 1u);
}

TEST(HeadlessServicesTest, ModalFormRunsItsDriverUntilUnloaded) {
  HeadlessServices s;
  Form dialog("Frm_SupprURSSAF", 4000, 2000);
  Control& ok = dialog.Add(Kind::Button, "Cmd_OK", {});
  ok.Click = [&] { dialog.Unload(); };
  int driven = 0;
  s.SetModalDriver([&](Form& f) {
    ++driven;
    UserInput(f, s).Click(f.Get("Cmd_OK"));
  });
  dialog.RaiseLoad();
  s.ShowModal(dialog);
  EXPECT_EQ(driven, 1);
  EXPECT_TRUE(dialog.IsUnloaded());
  EXPECT_EQ(s.modalForms(), (std::vector<std::string>{"Frm_SupprURSSAF"}));
}

TEST(HeadlessServicesTest, ModalFormLeftOpenOrWithoutDriverIsAnError) {
  HeadlessServices s;
  Form dialog("Frm_AdresseBancaire", 4000, 2000);
  dialog.RaiseLoad();
  EXPECT_THROW(s.ShowModal(dialog), ModalNotClosed);
  s.SetModalDriver([](Form&) {});  // does nothing
  EXPECT_THROW(s.ShowModal(dialog), ModalNotClosed);
}

TEST(HeadlessServicesTest, PopupMenuIsRecordedAndItsItemCanThenBeClicked) {
  HeadlessServices s;
  Form form("Ctr_Urssaf", 7800, 8400);
  Control& menu = form.Add(Kind::Menu, "Mnu_Aide", {});
  Control& item = form.Add(Kind::MenuItem, "Mnu_Sommaire", {}, &menu);
  menu.SetVisible(false);  // a context menu is not on the menu bar
  int clicks = 0;
  item.Click = [&] { ++clicks; };
  form.MouseDown = [&](int button, int, float x, float y) {
    if (button == kMouseRight) s.PopupMenu(menu, x, y);
  };
  UserInput user(form, s);
  user.MouseDown(nullptr, kMouseLeft, 10, 20);
  EXPECT_TRUE(s.popups().empty());
  user.MouseDown(nullptr, kMouseRight, 10, 20);
  ASSERT_EQ(s.popups().size(), 1u);
  EXPECT_EQ(s.popups()[0].menu, "Mnu_Aide");
  EXPECT_FLOAT_EQ(s.popups()[0].y, 20);
  EXPECT_TRUE(user.Click(item));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form.ActiveControl(), nullptr);  // menus take no focus
}

}  // namespace
}  // namespace forms::headless
