// The deletion on real widgets (Qt binding, offscreen): the question box,
// the transfer form as a modal dialog with its own layout, and the
// progress window of a long step.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QtTest/QTest>

#include "components/client.h"
#include "components/droits/droits_utilisateur.h"
#include "morvanel/view/qt/qt_form_view.h"
#include "morvanel/view/qt/qt_services.h"
#include "poste_workflow.h"
#include "qt_test_support.h"

namespace morvanel::testing {
namespace {

using view::qt::testing::ClickAt;
using view::qt::testing::ClickButton;
using view::qt::testing::Settle;
using view::qt::testing::WhenModalShown;

TEST(TransfertQt, TheTransferFormIsAModalDialogThatMovesTheRecords) {
  BaseTemporaire base;
  for (const auto& [code, sigle] : {std::pair{"03", "URSSAF BRETAGNE"}, {"05", "URSSAF ALSACE"},
                                    {"07", "URSSAF LOIRE"}}) {
    base.Ecrire("CENTREURSSAF", code, {{1, sigle}, {2, "Centre"}, {16, "117"}, {17, "0"}});
  }
  for (const char* cle : {"E1", "E2"}) base.Ecrire("ELTSPARTEMP", cle, {{1, "07"}});

  view::qt::QtServices services;
  shell::Ctr_Urssaf ctl(services);
  ctl.TheDatabase(base.db());
  ctl.TheClient(std::make_shared<components::Client>("C01", "Paie Test", "admin"));
  ctl.DroitsUtilisateur(components::DroitsUtilisateur::Fixe({{"CENTREURSSAF", 2}}));
  ctl.Init();
  view::qt::QtFormView vue(ctl.Controls(), services);
  services.SetControlView(&vue);
  vue.show();
  Settle();
  view::UserInput(ctl.Controls(), services).Type(ctl.Controls().Get("Txt_CodCtrUrssaf"), "07");

  QString legende, question;
  QString tape;
  bool gras = false, resteApresFermeture = false;
  WhenModalShown([&](QWidget* modal) {
    auto* boite = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(boite, nullptr);
    question = boite->text();
    WhenModalShown([&](QWidget* fenetre) {
      auto* dialogue = qobject_cast<QDialog*>(fenetre);
      ASSERT_NE(dialogue, nullptr);
      legende = dialogue->windowTitle();
      auto* label = dialogue->findChild<QLabel*>(QStringLiteral("Label1"));
      ASSERT_NE(label, nullptr);
      gras = label->font().bold();
      dialogue->close();  // the close box: refused
      resteApresFermeture = dialogue->isVisible();
      auto* code = dialogue->findChild<QLineEdit*>(QStringLiteral("Txt_CentreSuppr"));
      ASSERT_NE(code, nullptr);
      code->setFocus();
      QTest::keyClicks(code, "053");  // two characters at most
      tape = code->text();
      auto* ok = dialogue->findChild<QPushButton*>(QStringLiteral("Cmd_OKSuppr"));
      ASSERT_NE(ok, nullptr);
      ClickAt(ok, ok->rect().center());
    });
    ClickButton(boite, QStringLiteral("Oui"));
  });
  view::UserInput(ctl.Controls(), services).Click(ctl.Controls().Get("Cmd_Supprimer"));
  Settle();

  EXPECT_EQ(question, QStringLiteral("Etes-vous sûr de vouloir supprimer cet article ?"));
  EXPECT_EQ(legende, QStringLiteral("Supprimer le centre URSSAF 07 URSSAF LOIRE"));
  EXPECT_TRUE(gras);
  EXPECT_TRUE(resteApresFermeture);
  EXPECT_EQ(tape, QStringLiteral("05"));
  EXPECT_EQ(Attribut(base, "ELTSPARTEMP", "E1", 1), "05");
  EXPECT_EQ(Attribut(base, "ELTSPARTEMP", "E2", 1), "05");
  EXPECT_EQ(base.Lire("CENTREURSSAF", "07"), "");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(services.ProgressWindow(), nullptr) << "a short move shows no progress window";
}

TEST(TransfertQt, ProgressShowsOnlyPastOneSecondAndGoesAtTheEnd) {
  view::qt::QtServices services;
  services.Progress("Transfert des dossiers", 0, 10);
  EXPECT_EQ(services.ProgressWindow(), nullptr);
  QTest::qWait(static_cast<int>(view::qt::QtServices::kProgressDelayMs) + 50);
  services.Progress("Transfert des dossiers", 4, 10);
  ASSERT_NE(services.ProgressWindow(), nullptr);
  EXPECT_EQ(services.ProgressWindow()->value(), 4);
  EXPECT_EQ(services.ProgressWindow()->maximum(), 10);
  services.Progress("Transfert des dossiers", 10, 10);
  EXPECT_EQ(services.ProgressWindow(), nullptr);
  // The next long step starts its own second.
  services.Progress("Transfert des dossiers", 1, 10);
  EXPECT_EQ(services.ProgressWindow(), nullptr);
  services.Progress("Transfert des dossiers", 10, 10);
}

}  // namespace
}  // namespace morvanel::testing
