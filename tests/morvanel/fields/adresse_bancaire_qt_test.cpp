// The bank-details dialog on real widgets (Qt binding, offscreen): a modal
// window of the dialog's size whose close box and Escape do nothing, and
// whose "OK" keeps the details typed. Leaves a picture of the dialog,
// Frm_AdresseBancaire.png, in the working folder.
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include "morvanel/state/library_state.h"
#include "forms/qt/qt_form_view.h"
#include "forms/qt/qt_services.h"
#include "forms/qt/qt_units.h"
#include "poste_workflow.h"
#include "qt_test_support.h"

namespace morvanel::testing {
namespace {

using forms::qt::testing::ClickAt;
using forms::qt::testing::PressKey;
using forms::qt::testing::Settle;
using forms::qt::testing::WhenModalShown;

TEST(AdresseBancaireQt, AModalDialogThatOnlyItsButtonsClose) {
  BaseTemporaire base;
  base.Ecrire("CENTREURSSAF", "02",
              {{1, "URSSAF NORD"},
               {2, "Urssaf du Nord"},
               {16, "117"},
               {17, "0"},
               {26, "URSSAF NORD"},
               {27, "BANQUE DE FRANCE LILLE"},
               {28, "FR7630006000011234567890189"},
               {29, "BDFEFRPPXXX"},
               {30, "3000600001"},
               {31, "89"}});
  const std::string avant = base.Lire("CENTREURSSAF", "02");

  forms::qt::QtServices services;
  shell::Ctr_Urssaf ctl(services);
  ctl.TheDatabase(base.db());
  ctl.TheClient(std::make_shared<components::Client>("C01", "Paie Test", "admin"));
  ctl.DroitsUtilisateur(components::DroitsUtilisateur::Fixe({{"CENTREURSSAF", 2}}));
  ctl.Init();
  forms::qt::QtFormView vue(ctl.Controls(), services);
  services.SetControlView(&vue);
  vue.show();
  Settle();
  forms::UserInput(ctl.Controls(), services).Type(ctl.Controls().Get("Txt_CodCtrUrssaf"), "02");

  QString titre, iban, cle;
  QSize taille, tailleAttendue;
  bool resteApresFermeture = false, resteApresEchap = false;
  WhenModalShown([&](QWidget* fenetre) {
    auto* dialogue = qobject_cast<QDialog*>(fenetre);
    ASSERT_NE(dialogue, nullptr);
    titre = dialogue->windowTitle();
    taille = dialogue->size();
    const double dpi = forms::qt::LogicalDpi(dialogue);
    tailleAttendue =
        QSize(forms::qt::TwipsToPixels(5760, dpi), forms::qt::TwipsToPixels(2640, dpi));
    iban = dialogue->findChild<QLineEdit*>(QStringLiteral("Txt_Iban"))->text();
    cle = dialogue->findChild<QLineEdit*>(QStringLiteral("Txt_CleRib"))->text();
    dialogue->grab().save(QStringLiteral("Frm_AdresseBancaire.png"), "PNG");

    dialogue->close();
    resteApresFermeture = dialogue->isVisible();
    PressKey(dialogue, Qt::Key_Escape);
    resteApresEchap = dialogue->isVisible();

    auto* titulaire = dialogue->findChild<QLineEdit*>(QStringLiteral("Txt_Titulaire"));
    titulaire->setFocus();
    titulaire->end(false);
    QTest::keyClicks(titulaire, " CS");
    auto* ok = dialogue->findChild<QPushButton*>(QStringLiteral("Cmd_OK"));
    ClickAt(ok, ok->rect().center());
  });
  forms::UserInput(ctl.Controls(), services).Click(ctl.Controls().Get("Cmd_AdresseBancaire"));
  Settle();

  EXPECT_EQ(titre, QStringLiteral("Coordonnées bancaires"));
  EXPECT_EQ(taille, tailleAttendue);
  EXPECT_EQ(iban, QStringLiteral("FR76 3000 6000 0112 3456 7890 189"));
  EXPECT_EQ(cle, QStringLiteral("89"));
  EXPECT_TRUE(resteApresFermeture);
  EXPECT_TRUE(resteApresEchap);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "OK closed it";
  EXPECT_EQ(ctl.Etat().Art_CentreUrssaf->Item(26), "URSSAF NORD CS");
  EXPECT_EQ(base.Lire("CENTREURSSAF", "02"), avant) << "kept for the centre's save";
}

}  // namespace
}  // namespace morvanel::testing
