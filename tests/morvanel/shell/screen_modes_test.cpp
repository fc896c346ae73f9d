// Screen modes of Ctr_Urssaf as a host calls them: Griser, Afficher and
// Vider_Donnees. (The rights that hide the editing buttons in every mode:
// the shell_rights scenarios.)
#include <set>
#include <string>
#include <vector>

#include "poste_controle.h"

namespace morvanel::testing {
namespace {

const std::set<std::string> kActifsEnRecherche{"Etq_CodCtrUrssaf", "Txt_CodCtrUrssaf",
                                               "Cbo_SigleCtrUrssaf", "Cmd_Ajouter", "Cmd_Sortir"};

class ScreenModesTest : public ::testing::Test {
 protected:
  ScreenModesTest() {
    base.Ecrire("CENTREURSSAF", "01", {{1, "URSSAF NORD"}, {2, "Urssaf du Nord"}, {17, "0"}});
    base.Ecrire("CENTREURSSAF", "02", {{1, "URSSAF SUD"}, {2, "Urssaf du Sud"}, {17, "1"}});
  }
  BaseTemporaire base;
};

TEST_F(ScreenModesTest, GriserLeavesTheFiveSearchControlsAsTheyWereAndGreysTheRest) {
  Poste p(base.db());
  p.ctl->Init();
  p.ctl->Afficher();
  // GIVEN two of the five switched off beforehand
  p["Txt_CodCtrUrssaf"].SetEnabled(false);
  p["Cmd_Ajouter"].SetEnabled(false);
  // WHEN
  p.ctl->Griser();
  // THEN they stay off, the other three stay on, and every other control is off
  EXPECT_FALSE(p["Txt_CodCtrUrssaf"].Enabled());
  EXPECT_FALSE(p["Cmd_Ajouter"].Enabled());
  EXPECT_TRUE(p["Etq_CodCtrUrssaf"].Enabled());
  EXPECT_TRUE(p["Cbo_SigleCtrUrssaf"].Enabled());
  EXPECT_TRUE(p["Cmd_Sortir"].Enabled());
  forms::Form& f = p.ctl->Controls();
  for (int i = 0; i < f.Count(); ++i) {
    if (kActifsEnRecherche.count(f[i].Name()) == 0) {
      EXPECT_FALSE(f[i].Enabled()) << f[i].Name();
    }
  }
  EXPECT_TRUE(p.services.messages().empty());
}

TEST_F(ScreenModesTest, AfficherEnablesSupprimerOnlyOutsideACreation) {
  Poste p(base.db());
  p.ctl->Init();
  p.etat().ModeAjout = true;
  p.ctl->Afficher();
  EXPECT_FALSE(p["Cmd_Supprimer"].Enabled());
  // The rate editor starts browsing: its entry boxes and line buttons are off.
  const std::set<std::string> editeurTaux{"Txt_Date", "Txt_Valeur", "Cmd_SupprimerRapport",
                                          "Cmd_OkRapport", "Cmd_AnnulerRapport"};
  // No entity chosen yet: no establishment to choose either.
  for (const char* nom : {"Txt_CodeEtab", "Cbo_Etab", "Etq_Etablissement"}) {
    EXPECT_FALSE(p[nom].Enabled()) << nom;
  }
  forms::Form& f = p.ctl->Controls();
  for (int i = 0; i < f.Count(); ++i) {
    const std::string& nom = f[i].Name();
    if (nom != "Cmd_Supprimer" && editeurTaux.count(nom) == 0 &&
        nom.find("Etab") == std::string::npos) {
      EXPECT_TRUE(f[i].Enabled()) << nom;
    }
  }
  p.etat().ModeAjout = false;
  p.ctl->Afficher();
  EXPECT_TRUE(p["Cmd_Supprimer"].Enabled()) << "outside a creation";
}

TEST_F(ScreenModesTest, ViderDonneesReturnsToAnEmptySearch) {
  Poste p(base.db());
  p.ctl->Init();
  // GIVEN a creation under way with fields filled in
  p.ctl->Afficher();
  p.etat().ModeAjout = true;
  p["Cbo_SigleCtrUrssaf"].SetVisible(false);
  p["Txt_SigleCtrUrssaf"].SetVisible(true);
  const char* const champs[] = {"Txt_SigleCtrUrssaf",  "Txt_NomCtrUrssaf", "Txt_InterlocCtrUrssaf",
                                "Txt_CodOrgCtrUrssaf", "Txt_CodeSNV2",     "Txt_MontForfait"};
  for (const char* nom : champs) p[nom].SetText("1");
  p["Cac_DntJPCtrUrssaf"].SetValue(1);
  // WHEN
  p.ctl->Vider_Donnees();
  // THEN
  EXPECT_FALSE(p.etat().ModeAjout);
  EXPECT_TRUE(p["Cbo_SigleCtrUrssaf"].Visible());
  EXPECT_FALSE(p["Txt_SigleCtrUrssaf"].Visible());
  EXPECT_EQ(p["Cac_DntJPCtrUrssaf"].Value(), 0);
  for (const char* nom : champs) EXPECT_EQ(p[nom].Text(), "") << nom;
  for (const char* nom :
       {"Txt_CodCtrUrssaf", "Cbo_SigleCtrUrssaf", "Txt_CodeEntite", "Txt_CodeEtab"})
    EXPECT_EQ(p[nom].Text(), "") << nom;
  EXPECT_TRUE(p["Txt_CodCtrUrssaf"].Focused());
  EXPECT_TRUE(p["Txt_CodCtrUrssaf"].Enabled());
  EXPECT_TRUE(p["Cmd_Ajouter"].Enabled());
  EXPECT_TRUE(p["Cmd_Sortir"].Enabled());
  for (const char* nom : {"Cmd_Supprimer", "Cmd_OK", "Cmd_Annuler", "Txt_NomCtrUrssaf"}) {
    EXPECT_FALSE(p[nom].Enabled()) << nom;
  }
  EXPECT_TRUE(p.services.messages().empty());
}

TEST_F(ScreenModesTest, ViderDonneesPutsTheFocusInTheCodeBoxWhereverItWas) {
  // Every control the user can be in while a centre is shown.
  Poste p(base.db());
  p.ctl->Init();
  p.saisie.Type(p["Txt_CodCtrUrssaf"], "01");
  std::vector<std::string> noms;
  for (forms::Control* c : p.ctl->Controls().TabOrder()) noms.push_back(c->Path());
  ASSERT_GT(noms.size(), 20u);
  for (const std::string& nom : noms) {
    SCOPED_TRACE(nom);
    // GIVEN centre 01 shown, the focus in one of its controls
    p.saisie.Type(p["Txt_CodCtrUrssaf"], "01");
    p.saisie.Focus(p.ctl->Controls().Get(nom));
    ASSERT_TRUE(p.ctl->Controls().Get(nom).Focused());
    // WHEN the screen is emptied
    p.ctl->Vider_Donnees();
    // THEN the focus is in the code box, ready for the next code
    EXPECT_TRUE(p["Txt_CodCtrUrssaf"].Focused());
  }
  EXPECT_TRUE(p.services.messages().empty());
}

}  // namespace
}  // namespace morvanel::testing
