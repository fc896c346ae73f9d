// "Supprimer": the direct deletion, the transfer form, and the move of the
// case records, with what another workstation may do meanwhile.
#include <functional>

#include "morvanel/workflow/delete_command.h"
#include "poste_workflow.h"

namespace morvanel::testing {
namespace {

using forms::MsgAnswer;

class SupprimerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Centre("03", "URSSAF BRETAGNE");
    Centre("05", "URSSAF ALSACE");
    Centre("07", "URSSAF LOIRE");
    Centre("09", "ACOSS");
    for (const char* cle : {"E1", "E2", "E3"})
      base.Ecrire("ELTSPARTEMP", cle, {{1, "07"}, {2, cle}});
    base.Ecrire("ELTSPARTEMP", "E4", {{1, "05"}});
  }
  void Centre(const std::string& code, const std::string& sigle) {
    base.Ecrire("CENTREURSSAF", code,
                {{1, sigle},
                 {2, "Centre " + code},
                 {16, "117"},
                 {17, "0"},
                 {20, "20240101"},
                 {21, "13000"}});
  }

  // GIVEN centre `code` shown; WHEN "Supprimer" and Yes, the transfer form
  // (if it comes) being driven by `formulaire`.
  std::unique_ptr<Poste> Supprimer(const std::string& code,
                                   std::function<void(forms::Form&, Poste&)> formulaire = {}) {
    auto p = PosteInitialise(base);
    p->saisie.Type((*p)["Txt_CodCtrUrssaf"], code);
    Poste& poste = *p;
    p->services.SetModalDriver([&poste, formulaire](forms::Form& f) {
      if (formulaire) formulaire(f, poste);
    });
    p->services.QueueAnswer(MsgAnswer::Yes);
    p->saisie.Click((*p)["Cmd_Supprimer"]);
    return p;
  }

  [[nodiscard]] std::string CentreDe(const char* dossier) {
    return Attribut(base, "ELTSPARTEMP", dossier, 1);
  }
  [[nodiscard]] bool Existe(const char* code) { return !base.Lire("CENTREURSSAF", code).empty(); }

  // THEN: the screen is back in the search state, the rate lists emptied.
  static void RetourRecherche(Poste& p) {
    EXPECT_TRUE(p["Txt_CodCtrUrssaf"].Enabled());
    EXPECT_EQ(p["Txt_CodCtrUrssaf"].Text(), "");
    EXPECT_EQ(p["Lst_Valeur"].ListCount(), 0);
    EXPECT_EQ(p["Lst_Date"].ListCount(), 0);
    EXPECT_EQ(p.services.mousePointer(), forms::MousePointer::Default);
    EXPECT_TRUE(p.ctl->Controls().Enabled());
  }
  // THEN: the centre is still shown, nothing deleted.
  void ResteAffiche(Poste& p, const char* code) {
    EXPECT_TRUE(Existe(code));
    EXPECT_EQ(p["Txt_CodCtrUrssaf"].Text(), code);
    EXPECT_TRUE(p["Cmd_Supprimer"].Enabled());
    EXPECT_EQ(p.services.mousePointer(), forms::MousePointer::Default);
    EXPECT_TRUE(p.ctl->Controls().Enabled());
  }

  BaseTemporaire base;
};

TEST_F(SupprimerTest, FormRefusesNoCentreTheDeletedOneAnUnknownOneAndALongText) {
  auto p = Supprimer("07", [](forms::Form& f, Poste& poste) {
    forms::UserInput saisie(f, poste.services);
    forms::Control& code = f.Get("Txt_CentreSuppr");
    poste.services.QueueAnswer(MsgAnswer::OK);
    saisie.Click(f.Get("Cmd_OKSuppr"));  // nothing chosen yet
    poste.services.QueueAnswer(MsgAnswer::OK);
    saisie.Type(code, "07");
    EXPECT_EQ(code.Text(), "");
    EXPECT_TRUE(code.Focused());
    poste.services.QueueAnswer(MsgAnswer::OK);
    saisie.Type(code, "42");
    EXPECT_EQ(code.Text(), "");
    saisie.Type(code, "035");
    EXPECT_EQ(code.Text(), "03") << "two characters at most";
    EXPECT_FALSE(saisie.CloseBox());
    EXPECT_FALSE(f.IsUnloaded());
    saisie.Click(f.Get("Cmd_AnnulerSuppr"));
  });
  const auto& m = p->services.messages();
  ASSERT_EQ(m.size(), 4u);
  EXPECT_EQ(m[1].text, "Le centre URSSAF est obligatoire.");
  EXPECT_EQ(m[1].icon, forms::MsgIcon::Information);
  EXPECT_EQ(m[2].text, "Les dossiers ne peuvent pas être transférés sur le centre supprimé.");
  EXPECT_EQ(m[2].icon, forms::MsgIcon::Exclamation);
  EXPECT_EQ(m[3].text, "Ce centre URSSAF n'existe pas.");
  for (const char* d : {"E1", "E2", "E3"}) EXPECT_EQ(CentreDe(d), "07") << d;
  ResteAffiche(*p, "07");
  EXPECT_EQ(p->etat().CentreTransfert, "");
}

TEST_F(SupprimerTest, LockedCaseRecordKeepsTheCentreAndTheOthersStayMoved) {
  auto autre = AutrePoste(base);
  dba::DBFile dossiers = autre->DBOpen("ELTSPARTEMP");
  (void)dossiers.ReadLocked("E2");
  auto p = Supprimer("07", [](forms::Form& f, Poste& poste) {
    forms::UserInput saisie(f, poste.services);
    saisie.Type(f.Get("Txt_CentreSuppr"), "03");
    poste.services.QueueAnswer(MsgAnswer::OK);
    saisie.Click(f.Get("Cmd_OKSuppr"));
  });
  ASSERT_EQ(p->services.messages().size(), 2u);
  EXPECT_EQ(p->services.messages()[1].text,
            "1 dossier(s) n'ont pas pu être transférés : le centre URSSAF est conservé.");
  EXPECT_EQ(p->services.messages()[1].icon, forms::MsgIcon::Exclamation);
  EXPECT_EQ(CentreDe("E1"), "03");
  EXPECT_EQ(CentreDe("E3"), "03");
  dossiers.Release("E2");
  EXPECT_EQ(CentreDe("E2"), "07");
  ResteAffiche(*p, "07");
}

TEST_F(SupprimerTest, RecordsAttachedOrRemovedMeanwhileEndNoneAttached) {
  auto p = Supprimer("07", [this](forms::Form& f, Poste& poste) {
    // While the form is open another workstation attaches E9 and removes E1.
    base.Ecrire("ELTSPARTEMP", "E9", {{1, "07"}});
    base.db()->DBOpen("ELTSPARTEMP").DBDelete("E1");
    forms::UserInput saisie(f, poste.services);
    saisie.Type(f.Get("Txt_CentreSuppr"), "09");
    saisie.Click(f.Get("Cmd_OKSuppr"));
  });
  EXPECT_EQ(p->services.messages().size(), 1u) << "only the question";
  EXPECT_EQ(CentreDe("E9"), "09");
  EXPECT_EQ(Attribut(base, "ELTSPARTEMP", "E2", 2), "E2") << "only the centre changes";
  EXPECT_EQ(base.Lire("ELTSPARTEMP", "E1"), "") << "not written back";
  EXPECT_FALSE(Existe("07"));
  RetourRecherche(*p);
  ASSERT_FALSE(p->services.progress().empty());
  EXPECT_EQ(p->services.progress().back().done, p->services.progress().back().total);
}

TEST_F(SupprimerTest, TargetDeletedElsewhereAfterTheChoiceMovesNothing) {
  auto p = Supprimer("07", [this](forms::Form& f, Poste& poste) {
    forms::UserInput saisie(f, poste.services);
    saisie.Type(f.Get("Txt_CentreSuppr"), "05");
    saisie.Click(f.Get("Cmd_OKSuppr"));
    // Checked by the form; deleted by another workstation before the move.
    ASSERT_EQ(base.db()->DBOpen("CENTREURSSAF").DBDelete("05"), 0);
    poste.services.QueueAnswer(MsgAnswer::OK);
  });
  ASSERT_EQ(p->services.messages().size(), 2u);
  EXPECT_EQ(p->services.messages()[1].text, workflow::kMsgCibleSupprimee);
  for (const char* d : {"E1", "E2", "E3"}) EXPECT_EQ(CentreDe(d), "07") << d;
  EXPECT_EQ(CentreDe("E4"), "05") << "not ours to move";
  ResteAffiche(*p, "07");
}

TEST_F(SupprimerTest, CentreLockedByAnotherWorkstationIsToldAndKept) {
  auto p = PosteInitialise(base);
  p->saisie.Type((*p)["Txt_CodCtrUrssaf"], "09");
  auto autre = AutrePoste(base);
  dba::DBFile centres = autre->DBOpen("CENTREURSSAF");
  (void)centres.ReadLocked("09");
  p->services.QueueAnswer(MsgAnswer::Yes);
  p->services.QueueAnswer(MsgAnswer::OK);
  p->saisie.Click((*p)["Cmd_Supprimer"]);
  ASSERT_EQ(p->services.messages().size(), 2u);
  EXPECT_EQ(p->services.messages()[1].text.rfind(kDbErrorPrefix, 0), 0u)
      << p->services.messages()[1].text;
  centres.Release("09");
  ResteAffiche(*p, "09");
}

}  // namespace
}  // namespace morvanel::testing
