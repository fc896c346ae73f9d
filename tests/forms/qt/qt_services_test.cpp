// QtServices: French message boxes, the hourglass, pop-up menus from Menu
// controls, modal forms that honour their unload query, the help window and
// closing the host's window.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "forms/qt/qt_units.h"
#include "qt_test_support.h"

namespace forms::qt {
namespace {

using testing::ClickAt;
using testing::WhenModalShown;

// Which box is shown, which button the user presses (nullptr: Escape), and
// the buttons expected on it, sorted and joined by spaces.
struct BoxCase {
  const char* name;
  MsgButtons buttons;
  const char* texts;
  const char* press;
  MsgAnswer answer;
};

class QtMessageBoxes : public ::testing::TestWithParam<BoxCase> {};

TEST_P(QtMessageBoxes, ShowFrenchButtonsAndAnswerThePressedOne) {
  const BoxCase& c = GetParam();
  const MsgIcon icon = c.buttons == MsgButtons::OK ? MsgIcon::Information : MsgIcon::Exclamation;
  QtServices services;
  QStringList shown;
  QString title;
  QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
  WhenModalShown([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    for (QAbstractButton* b : box->buttons()) shown.append(b->text());
    title = box->windowTitle();
    shownIcon = box->icon();
    if (c.press != nullptr) {
      testing::ClickButton(box, QString::fromUtf8(c.press));
    } else {
      testing::PressKey(box, Qt::Key_Escape);
    }
  });
  EXPECT_EQ(services.MsgBox("Le code est obligatoire.", c.buttons, icon, "Message TARVELINE"),
            c.answer);
  shown.sort();
  EXPECT_EQ(shown.join(' '), QString::fromUtf8(c.texts));
  EXPECT_EQ(title, QStringLiteral("Message TARVELINE"));
  EXPECT_EQ(shownIcon,
            icon == MsgIcon::Information ? QMessageBox::Information : QMessageBox::Warning);
}

INSTANTIATE_TEST_SUITE_P(
    Qt, QtMessageBoxes,
    ::testing::Values(BoxCase{"Ok", MsgButtons::OK, "OK", "OK", MsgAnswer::OK},
                      BoxCase{"YesNoYes", MsgButtons::YesNo, "Non Oui", "Oui", MsgAnswer::Yes},
                      BoxCase{"YesNoNo", MsgButtons::YesNo, "Non Oui", "Non", MsgAnswer::No},
                      BoxCase{"YesNoEscape", MsgButtons::YesNo, "Non Oui", nullptr, MsgAnswer::No},
                      BoxCase{"SaveCancel", MsgButtons::YesNoCancel, "Annuler Non Oui", "Annuler",
                              MsgAnswer::Cancel},
                      BoxCase{"SaveEscape", MsgButtons::YesNoCancel, "Annuler Non Oui", nullptr,
                              MsgAnswer::Cancel}),
    [](const ::testing::TestParamInfo<BoxCase>& cas) { return std::string(cas.param.name); });

// Return by habit must never delete a centre nor drop a creation; the other
// questions keep their first button as the default.
TEST(QtMessageBoxDefault, ReturnAnswersNoOnlyWhereYesThrowsWorkAway) {
  struct Case {
    const char* text;
    MsgButtons buttons;
    MsgAnswer answer;
  };
  const Case cases[] = {
      {"Etes-vous sûr de vouloir supprimer cet article ?", MsgButtons::YesNo, MsgAnswer::No},
      {"Etes-vous sûr de vouloir quitter cette création ?", MsgButtons::YesNo, MsgAnswer::No},
      {"Voulez-vous enregistrer les modifications apportées à cet article ?",
       MsgButtons::YesNoCancel, MsgAnswer::Yes},
      {"Le code est obligatoire.", MsgButtons::OK, MsgAnswer::OK}};
  for (const Case& c : cases) {
    QtServices services;
    WhenModalShown([](QWidget* modal) { testing::PressKey(modal, Qt::Key_Return); });
    EXPECT_EQ(services.MsgBox(c.text, c.buttons, MsgIcon::Exclamation, "Message TARVELINE"),
              c.answer)
        << c.text;
    EXPECT_EQ(DefaultAnswer(c.text, c.buttons), c.answer) << c.text;
  }
}

TEST(QtServicesPointer, TheHourglassIsPushedOnceAndPoppedOnce) {
  QtServices services;
  services.SetMousePointer(MousePointer::Hourglass);
  services.SetMousePointer(MousePointer::Hourglass);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  services.SetMousePointer(MousePointer::Default);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  services.SetMousePointer(MousePointer::Default);  // nothing more to pop
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(QtServicesPopup, TheMenuShowsTheItemsAsTheModelHasThemAndClicksTheChosenOne) {
  Form form("Frm_Essai", 6000, 4000);
  Control& menu = form.Add(Kind::Menu, "Mnu_Aide", {});
  menu.SetText("Aide");
  Control& help = form.Add(Kind::MenuItem, "Mnu_Sommaire", {}, &menu);
  help.SetText("Aide TARVELINE");
  Control& off = form.Add(Kind::MenuItem, "Mnu_Autre", {}, &menu);
  off.SetText("Autre");
  off.SetEnabled(false);
  Control& hidden = form.Add(Kind::MenuItem, "Mnu_Cache", {}, &menu);
  hidden.SetVisible(false);
  int helpClicks = 0, otherClicks = 0;
  help.Click = [&] { ++helpClicks; };
  off.Click = [&] { ++otherClicks; };
  testing::Screen screen(form);

  QStringList texts;
  std::vector<bool> enabled;
  WhenModalShown([&](QWidget* modal) {
    auto* popup = qobject_cast<QMenu*>(modal);
    ASSERT_NE(popup, nullptr);
    for (QAction* a : popup->actions()) {
      texts.append(a->text());
      enabled.push_back(a->isEnabled());
    }
    ClickAt(popup, popup->actionGeometry(popup->actions().first()).center());
  });
  screen.services.PopupMenu(menu, 1440, 1440);

  EXPECT_EQ(texts, (QStringList{"Aide TARVELINE", "Autre"}));
  EXPECT_EQ(enabled, (std::vector<bool>{true, false}));
  EXPECT_EQ(helpClicks, 1);
  EXPECT_EQ(otherClicks, 0);
}

// A modal form that only its own button may close, as the transfer form.
class QtModalForm : public ::testing::Test {
 protected:
  QtModalForm() {
    form.SetCaption("Supprimer le centre URSSAF 07 CPAM");
    Control& ok = form.Add(Kind::Button, "Cmd_OKSuppr", {5640, 1320, 855, 375});
    ok.SetText("OK");
    ok.TabIndex = 0;
    form.QueryUnload = [this](int& cancel, int mode) {
      modes.push_back(mode);
      if (!closingAllowed) cancel = 1;
    };
    ok.Click = [this] {
      closingAllowed = true;
      form.Unload();
    };
    form.RaiseLoad();
  }
  Form form{"Frm_SupprURSSAF", 7905, 1935};
  bool closingAllowed = false;
  std::vector<int> modes;
  QtServices services;
};

TEST_F(QtModalForm, TheCloseBoxAndEscapeAreRefusedAndTheFormsButtonCloses) {
  QString caption;
  QSize size;
  bool stayedAfterCloseBox = false, stayedAfterEscape = false;
  WhenModalShown([&](QWidget* modal) {
    auto* dialog = qobject_cast<QDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    caption = dialog->windowTitle();
    size = dialog->size();
    dialog->close();  // the window's close box
    stayedAfterCloseBox = dialog->isVisible();
    dialog->reject();  // what Escape does when no control takes it
    stayedAfterEscape = dialog->isVisible();
    auto* button = dialog->findChild<QPushButton*>(QStringLiteral("Cmd_OKSuppr"));
    ASSERT_NE(button, nullptr);
    ClickAt(button, button->rect().center());
  });
  services.ShowModal(form);  // returns once the form is unloaded

  EXPECT_TRUE(form.IsUnloaded());
  EXPECT_TRUE(stayedAfterCloseBox);
  EXPECT_TRUE(stayedAfterEscape);
  EXPECT_EQ(modes, (std::vector<int>{0, 0, 1}));  // close box twice, then code
  EXPECT_EQ(caption, QStringLiteral("Supprimer le centre URSSAF 07 CPAM"));
  const double dpi = LogicalDpi(nullptr);
  EXPECT_EQ(size, QSize(TwipsToPixels(7905, dpi), TwipsToPixels(1935, dpi)));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(QtModalForm, AFormUnloadedBeforeItIsShownIsNotShown) {
  closingAllowed = true;
  form.Unload();
  services.ShowModal(form);  // would wait for ever if it showed a window
  EXPECT_EQ(modes, (std::vector<int>{1}));
}

// F1 help and help pages open in two windows, both closed by CloseHelp.
TEST(QtServicesHelp, TopicAndPageOpenInTheirOwnWindowsUntilClosed) {
  QTemporaryDir dir;
  const std::string topic = dir.filePath(QStringLiteral("Morvanel.htm")).toStdString();
  std::ofstream(topic) << "<html><body><a name=\"10\"></a><p>Centres URSSAF</p></body></html>";
  const std::string page = dir.filePath(QStringLiteral("CentreUrssaf.htm")).toStdString();
  std::ofstream(page)
      << "<html><body><h1>Les Centres URSSAF</h1><p>Code du centre</p></body></html>";
  QtServices services;
  services.ShowHelpTopic(topic, 10);
  QTextBrowser* help = services.HelpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->windowTitle(), QStringLiteral("Aide"));
  EXPECT_TRUE(help->toPlainText().contains(QStringLiteral("Centres URSSAF")));

  services.ShowHelpPage(page, "Les Centres URSSAF");
  QTextBrowser* shown = services.HelpPageWindow();
  ASSERT_NE(shown, nullptr);
  EXPECT_NE(shown, help);
  EXPECT_TRUE(shown->isVisible());
  EXPECT_EQ(shown->windowTitle(), QStringLiteral("Les Centres URSSAF"));
  EXPECT_TRUE(shown->toPlainText().contains(QStringLiteral("Code du centre")));
  // The next page reuses the window.
  services.ShowHelpPage(page + "#absente", "Aide");
  EXPECT_EQ(services.HelpPageWindow(), shown);
  EXPECT_EQ(shown->windowTitle(), QStringLiteral("Aide"));

  services.CloseHelp(topic);
  testing::Settle();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(services.HelpWindow(), nullptr);
  EXPECT_EQ(services.HelpPageWindow(), nullptr);
}

TEST(QtServicesExit, UnloadParentFormClosesTheWindowHoldingTheControl) {
  Form form("Ctr_Urssaf", 7800, 8400);
  testing::Screen screen(form);
  ASSERT_TRUE(screen.view->isVisible());
  screen.services.UnloadParentForm();
  EXPECT_TRUE(screen.view->isVisible());  // not in the middle of the handler
  testing::Settle();
  EXPECT_FALSE(screen.view->isVisible());
}

}  // namespace
}  // namespace forms::qt
