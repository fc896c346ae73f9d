// The checks before a save (Verif_Donnees) and the search for the case
// records attached to a centre (Verif_EltsPartEmp).
#include "morvanel/workflow/record_validation.h"
#include "poste_controle.h"

namespace morvanel::testing {
namespace {

using forms::MsgAnswer;

struct CasVerif {
  const char* sigle;
  const char* denomination;
  const char* codeOrganisme;
  int entites;         // entries of Cbo_Entite
  const char* entite;  // its text
  int etabs;           // entries of Cbo_Etab
  const char* etab;
  const char* message;  // "" : every check passes
  const char* focus;    // where the focus lands after a failure
};

// The checks stop at the first missing field, in the screen's order; an
// entity or an establishment is needed only where there is a choice.
TEST(VerifDonneesTest, FirstMissingFieldIsReported) {
  // clang-format off
  const CasVerif cas[] = {
      {"URSSAF", "Urssaf", "117", 2, "ENTITE 1", 2, "ETAB 0", "", ""},
      {"", "", "", 0, "", 0, "", "Le sigle du centre URSSAF est obligatoire.", "Txt_SigleCtrUrssaf"},
      {"   ", "Urssaf", "117", 0, "", 0, "", "Le sigle du centre URSSAF est obligatoire.", "Txt_SigleCtrUrssaf"},
      {"URSSAF", " ", "117", 0, "", 0, "", "La dénomination du centre URSSAF est obligatoire.", "Txt_NomCtrUrssaf"},
      {"URSSAF", "Urssaf", "", 0, "", 0, "", "Le code organisme du centre URSSAF est obligatoire.", "Txt_CodOrgCtrUrssaf"},
      {"URSSAF", "Urssaf", "117", 2, "", 0, "", "Vous devez sélectionner une entité de rattachement.", "Txt_CodeEntite"},
      {"URSSAF", "Urssaf", "117", 1, "", 0, "", "", ""},
      {"URSSAF", "Urssaf", "117", 2, "ENTITE 0", 3, "", "Vous devez sélectionner un établissement de rattachement.", "Txt_CodeEtab"},
      {"URSSAF", "Urssaf", "117", 2, "ENTITE 0", 0, "", "", ""}};
  // clang-format on
  for (const CasVerif& c : cas) {
    SCOPED_TRACE(std::string(c.sigle) + "/" + c.denomination + "/" + c.codeOrganisme + "/" +
                 std::to_string(c.entites) + "/" + std::to_string(c.etabs));
    BaseTemporaire base;
    Poste p(base.db());
    p.services.SetDefaultAnswer(MsgAnswer::OK);
    p.ctl->Init();
    p["Cbo_SigleCtrUrssaf"].SetVisible(false);
    p["Txt_SigleCtrUrssaf"].SetVisible(true);
    p["Txt_SigleCtrUrssaf"].SetText(c.sigle);
    p["Txt_NomCtrUrssaf"].SetText(c.denomination);
    p["Txt_CodOrgCtrUrssaf"].SetText(c.codeOrganisme);
    for (int i = 0; i < c.entites; ++i) p["Cbo_Entite"].AddItem("ENTITE " + std::to_string(i));
    p["Cbo_Entite"].SetText(c.entite);
    for (int i = 0; i < c.etabs; ++i) p["Cbo_Etab"].AddItem("ETAB " + std::to_string(i));
    p["Cbo_Etab"].SetText(c.etab);
    // Last, as on a centre shown: the pickers' lists decide which stay locked.
    p.ctl->Afficher();
    p.services.takeMessages();
    p.ctl->Verif_Donnees();
    const auto& messages = p.services.messages();
    const bool refus = std::string(c.message) != "";
    EXPECT_EQ(p.etat().ErreurVerif, refus);
    ASSERT_EQ(messages.size(), refus ? 1u : 0u);
    if (refus) {
      EXPECT_EQ(messages[0].text, c.message);
      EXPECT_EQ(messages[0].icon, forms::MsgIcon::Exclamation);
      EXPECT_EQ(messages[0].buttons, forms::MsgButtons::OK);
      EXPECT_EQ(messages[0].title, "Message TARVELINE");
      EXPECT_TRUE(p[c.focus].Focused()) << c.focus;
      EXPECT_EQ(p.services.beeps(), 0);
    }
  }
}

TEST(VerifDonneesSequenceTest, ASuccessfulRunClearsTheEarlierFailure) {
  BaseTemporaire base;
  Poste p(base.db());
  p.services.SetDefaultAnswer(MsgAnswer::OK);
  p.ctl->Init();
  p.ctl->Afficher();
  p.ctl->Verif_Donnees();
  EXPECT_TRUE(p.etat().ErreurVerif);
  p["Txt_SigleCtrUrssaf"].SetText("URSSAF");
  p["Txt_NomCtrUrssaf"].SetText("Urssaf");
  p["Txt_CodOrgCtrUrssaf"].SetText("117");
  p.services.takeMessages();
  p.ctl->Verif_Donnees();
  EXPECT_FALSE(p.etat().ErreurVerif);
  EXPECT_TRUE(p.services.messages().empty());
}

class VerifEltsPartEmpTest : public ::testing::Test {
 protected:
  VerifEltsPartEmpTest() {
    base.Ecrire("CENTREURSSAF", "01", {{1, "URSSAF NORD"}, {17, "0"}});
    base.Ecrire("CENTREURSSAF", "02", {{1, "URSSAF SUD"}, {17, "0"}});
    base.Ecrire("ELTSPARTEMP", "000001", {{1, "01"}});
    base.Ecrire("ELTSPARTEMP", "000002", {{1, "02"}});
    base.Ecrire("ELTSPARTEMP", "000003", {{1, "01"}});
  }
  BaseTemporaire base;
};

TEST_F(VerifEltsPartEmpTest, ListsTheKeysOfTheCentresRecords) {
  Poste p(base.db());
  p.ctl->Init();
  p.saisie.Type(p["Txt_CodCtrUrssaf"], "01");
  p.ctl->Verif_EltsPartEmp();
  const dba::CItem& liste = p.etat().ListeEltsPartEmp;
  ASSERT_EQ(liste.DCount(), 2);
  EXPECT_EQ(liste.Item(1), "000001");
  EXPECT_EQ(liste.Item(2), "000003");
}

TEST_F(VerifEltsPartEmpTest, ACodeThatWouldBreakTheSentenceMatchesNothing) {
  Poste p(base.db());
  p.ctl->Init();
  p["Txt_CodCtrUrssaf"].Change = nullptr;  // no lookup: only the search is under test
  for (const char* code : {"0\"", "0]", "\"", "]"}) {
    p["Txt_CodCtrUrssaf"].SetText(code);
    p.etat().ListeEltsPartEmp = dba::CItem("stale");
    EXPECT_NO_THROW(p.ctl->Verif_EltsPartEmp()) << code;
    EXPECT_EQ(p.etat().ListeEltsPartEmp.Item(), "") << code;
  }
  EXPECT_TRUE(workflow::ValeurCitable("01"));
  EXPECT_FALSE(workflow::ValeurCitable("0\xFE"));
}

}  // namespace
}  // namespace morvanel::testing
