// The demo host's way: the control created by its class name from
// libmorvanel.so, drawn by the Qt binding on the demo database, and a clerk
// working through the real widgets: a centre added, changed, and another
// deleted with its case records moved in the transfer dialog. And the
// progress window of a long step.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QtTest/QTest>
#include <filesystem>
#include <iostream>

#include "components/client.h"
#include "components/droits/droits_utilisateur.h"
#include "dba/database.h"
#include "demo/demo_seed.h"
#include "morvanel/hosting/hosting.h"
#include "forms/qt/qt_form_view.h"
#include "forms/qt/qt_services.h"
#include "qt_test_support.h"

namespace morvanel {
namespace {

namespace fs = std::filesystem;
using forms::qt::testing::ClickAt;
using forms::qt::testing::ClickButton;
using forms::qt::testing::Settle;
using forms::qt::testing::WhenModalShown;

class PosteHeberge : public ::testing::Test {
 protected:
  PosteHeberge() {
    std::string modele = (fs::temp_directory_path() / "morvanel-host-XXXXXX").string();
    dossier_ = ::mkdtemp(modele.data());
    ::setenv("MORVANEL_REGISTRY", (dossier_ + "/registry").c_str(), 1);
    hosting::RegisterLibrary(MORVANEL_LIBRARY_PATH);
    db_ = dba::Database::Open(dossier_ + "/demo.mvdb", {.create = true});
    demo::SeedDemo(*db_, {.scale = 1});
    demo::RegisterPostWriteRoutine(*db_, std::cerr);
  }
  ~PosteHeberge() override {
    db_.reset();
    ::unsetenv("MORVANEL_REGISTRY");
    std::error_code ec;
    fs::remove_all(dossier_, ec);
  }

  [[nodiscard]] std::string Attribut(const char* fichier, const char* cle, int a) const {
    return db_->DBOpen(fichier).DBRead(cle).Item(a);
  }

  std::string dossier_;
  std::shared_ptr<dba::Database> db_;
};

TEST_F(PosteHeberge, AClerkAddsChangesAndDeletesCentresThroughTheWidgets) {
  forms::qt::QtServices services;
  std::unique_ptr<ICtrUrssaf> ctl = hosting::CreateControl("Morvanel.Ctr_Urssaf", services);
  forms::qt::QtFormView vue(ctl->Controls(), services);
  services.SetControlView(&vue);
  vue.show();
  ctl->TheDatabase(db_);
  ctl->TheClient(std::make_shared<components::Client>("DEMO", "Société de démonstration", "admin"));
  ctl->DroitsUtilisateur(components::DroitsUtilisateur::DepuisBase(*db_, "admin"));
  ctl->Init();
  Settle();
  forms::Form& form = ctl->Controls();
  const auto bouton = [&](const char* nom) {
    return qobject_cast<QPushButton*>(vue.WidgetOf(form.Get(nom)));
  };
  const auto taper = [&](const char* nom, const char* texte) {
    auto* boite = qobject_cast<QLineEdit*>(vue.WidgetOf(form.Get(nom)));
    ASSERT_NE(boite, nullptr) << nom;
    ASSERT_TRUE(boite->isEnabled()) << nom;
    boite->setFocus();
    QTest::keyClicks(boite, texte);
    Settle();
  };
  const auto cliquer = [&](const char* nom) {
    QPushButton* b = bouton(nom);
    ASSERT_NE(b, nullptr) << nom;
    ASSERT_TRUE(b->isEnabled()) << nom;
    ClickAt(b, b->rect().center());
    Settle();
  };

  // Added: the next key from the counter (07 in the demo).
  cliquer("Cmd_Ajouter");
  taper("Txt_SigleCtrUrssaf", "URSSAF CENTRE");
  taper("Txt_NomCtrUrssaf", "Urssaf du Centre");
  taper("Txt_CodOrgCtrUrssaf", "245");
  taper("Txt_CodeEntite", "002");
  cliquer("Cmd_OK");
  EXPECT_EQ(Attribut("CENTREURSSAF", "08", 1), "URSSAF CENTRE");
  EXPECT_EQ(Attribut("COMPTEUR", "999", 12), "08");

  // Changed and saved.
  taper("Txt_CodCtrUrssaf", "08");
  taper("Txt_InterlocCtrUrssaf", "Mme Petit");
  cliquer("Cmd_OK");
  EXPECT_EQ(Attribut("CENTREURSSAF", "08", 15), "Mme Petit");

  // Deleted: centre 07's case records go to 08 in the transfer dialog.
  const dba::CItem dossiers =
      db_->DBSelect(dba::CItem(std::string("SSELECT ELTSPARTEMP AVEC 1 = \"07\"") +
                               dba::kAttributeMark + "ELTSPARTEMP" + dba::kAttributeMark + "0")
                        .Item());
  ASSERT_GT(dossiers.DCount(), 0);
  taper("Txt_CodCtrUrssaf", "07");
  WhenModalShown([](QWidget* question) {
    WhenModalShown([](QWidget* fenetre) {
      auto* dialogue = qobject_cast<QDialog*>(fenetre);
      ASSERT_NE(dialogue, nullptr);
      EXPECT_EQ(dialogue->windowTitle(),
                QStringLiteral("Supprimer le centre URSSAF 07 URSSAF PAYS DE LA LOIRE"));
      dialogue->close();  // the close box: refused
      EXPECT_TRUE(dialogue->isVisible());
      auto* code = dialogue->findChild<QLineEdit*>(QStringLiteral("Txt_CentreSuppr"));
      ASSERT_NE(code, nullptr);
      code->setFocus();
      QTest::keyClicks(code, "8");
      QTest::keyClick(code, Qt::Key_Return);
      auto* ok = dialogue->findChild<QPushButton*>(QStringLiteral("Cmd_OKSuppr"));
      ASSERT_NE(ok, nullptr);
      ClickAt(ok, ok->rect().center());
    });
    ClickButton(qobject_cast<QMessageBox*>(question), QStringLiteral("Oui"));
  });
  cliquer("Cmd_Supprimer");
  EXPECT_EQ(Attribut("CENTREURSSAF", "07", 1), "");
  for (int i = 1; i <= dossiers.DCount(); ++i) {
    EXPECT_EQ(Attribut("ELTSPARTEMP", dossiers.Item(i).c_str(), 1), "08") << dossiers.Item(i);
  }
  EXPECT_EQ(Attribut("JOURNAL", "UNIPGCENTREURSSAF", 1), "3") << "after each save and the deletion";
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_TRUE(form.Get("Txt_CodCtrUrssaf").Enabled());
}

TEST(ProgressionQt, ShownOnlyPastOneSecondAndGoneAtTheEnd) {
  forms::qt::QtServices services;
  services.Progress("Transfert des dossiers", 0, 10);
  EXPECT_EQ(services.ProgressWindow(), nullptr);
  QTest::qWait(static_cast<int>(forms::qt::QtServices::kProgressDelayMs) + 50);
  services.Progress("Transfert des dossiers", 4, 10);
  ASSERT_NE(services.ProgressWindow(), nullptr);
  EXPECT_EQ(services.ProgressWindow()->value(), 4);
  services.Progress("Transfert des dossiers", 10, 10);
  EXPECT_EQ(services.ProgressWindow(), nullptr);
  services.Progress("Transfert des dossiers", 1, 10);  // the next step starts its own second
  EXPECT_EQ(services.ProgressWindow(), nullptr);
  services.Progress("Transfert des dossiers", 10, 10);
}

}  // namespace
}  // namespace morvanel
