// The screen as designed (controls, order, places, fonts, help topics,
// accessible names) and the help: the help file beside the library, F1,
// the context menu and its page.
#include <filesystem>
#include <set>

#include "components/aide/aide_html.h"
#include "components/aide/recording_help_window.h"
#include "morvanel/state/binary_path.h"
#include "morvanel/shell/help_menu.h"
#include "morvanel/state/library_state.h"
#include "poste_controle.h"

namespace morvanel::testing {
namespace {

TEST(LayoutTest, ControlsCollectionInDesignOrder) {
  view::headless::HeadlessServices services;
  shell::Ctr_Urssaf ctl(services);
  view::Form& f = ctl.Controls();
  const std::vector<std::string> attendus = {
      "Etq_CodCtrUrssaf", "Txt_CodCtrUrssaf", "Cbo_SigleCtrUrssaf", "Txt_SigleCtrUrssaf",
      "Etq_NomCtrUrssaf", "Txt_NomCtrUrssaf", "Ctr_AdresseUrssaf", "Etq_InterlocCtrUrssaf",
      "Txt_InterlocCtrUrssaf", "Etq_CodOrgCtrUrssaf", "Txt_CodOrgCtrUrssaf", "Etq_CodeSNV2",
      "Txt_CodeSNV2", "Etq_MontForfait", "Txt_MontForfait", "Etq_EntiteJuridique",
      "Txt_CodeEntite", "Cbo_Entite", "Etq_Etablissement", "Txt_CodeEtab", "Cbo_Etab",
      "Cdr_Rapport", "Etq_Date", "Etq_Valeur", "Lst_Date", "Bdv_Date", "Lst_Valeur",
      "Bdv_Valeur", "Txt_Date", "Txt_Valeur", "Cmd_AjouterRapport", "Cmd_SupprimerRapport",
      "Cmd_OkRapport", "Cmd_AnnulerRapport", "Cac_DntJPCtrUrssaf", "Cmd_Ajouter",
      "Cmd_Supprimer", "Cmd_AdresseBancaire", "Cmd_OK", "Cmd_Annuler", "Cmd_Sortir",
      "Mnu_Aide", "Mnu_Sommaire"};
  std::vector<std::string> noms;
  for (int i = 0; i < f.Count(); ++i) noms.push_back(f[i].Name());
  EXPECT_EQ(noms, attendus);
  EXPECT_EQ(f.Name(), "Ctr_Urssaf");
  EXPECT_EQ(f.Width(), 7800);
  EXPECT_EQ(f.Height(), 8400);
}

TEST(LayoutTest, DesignTimePropertiesThatMatter) {
  view::headless::HeadlessServices services;
  shell::Ctr_Urssaf ctl(services);
  view::Form& f = ctl.Controls();
  const view::Rect cadre = f.Get("Cdr_Rapport").geometry;
  EXPECT_EQ((std::vector<int>{cadre.left, cadre.top, cadre.width, cadre.height}),
            (std::vector<int>{0, 5400, 7695, 1695}));
  EXPECT_EQ(f.Get("Lst_Valeur").Container(), &f.Get("Cdr_Rapport"));
  EXPECT_EQ(f.Get("Cmd_Sortir").Container(), nullptr);
  EXPECT_EQ(f.Get("Mnu_Sommaire").Container(), &f.Get("Mnu_Aide"));
  EXPECT_EQ(f.Get("Lst_Date").font.name, "Courier New");
  EXPECT_EQ(f.Get("Lst_Valeur").font.name, "Courier New");
  EXPECT_NE(f.Get("Txt_Date").font.name, "Courier New");
  EXPECT_EQ(f.Get("Txt_CodCtrUrssaf").MaxLength, 2);
  EXPECT_EQ(f.Get("Txt_SigleCtrUrssaf").MaxLength, 40);
  EXPECT_EQ(f.Get("Txt_MontForfait").MaxLength, 5);
  EXPECT_EQ(f.Get("Etq_MontForfait").ToolTipText, "Code identification pour l'URSSAF");
  EXPECT_EQ(f.Get("Cdr_Rapport").Text(), "% Charges salariales");
  EXPECT_EQ(f.Get("Mnu_Sommaire").Text(), "Aide TARVELINE");
  for (const char* nom : {"Cmd_Supprimer", "Cmd_OK", "Cmd_Annuler"}) {
    EXPECT_FALSE(f.Get(nom).Enabled()) << nom;
  }
  EXPECT_FALSE(f.Get("Txt_SigleCtrUrssaf").Visible());
  EXPECT_TRUE(f.Get("Cbo_SigleCtrUrssaf").Visible());
  // The address control's fields sit inside it, outside the collection.
  EXPECT_GT(f.AllControls().size(), static_cast<std::size_t>(f.Count()));
}

TEST(LayoutTest, TabOrderFollowsTheTabIndexes) {
  view::headless::HeadlessServices services;
  shell::Ctr_Urssaf ctl(services);
  const std::vector<view::Control*> ordre = ctl.Controls().TabOrder();
  ASSERT_GE(ordre.size(), 3u);
  EXPECT_EQ(ordre[0]->Name(), "Txt_CodCtrUrssaf");
  EXPECT_EQ(ordre[1]->Name(), "Cbo_SigleCtrUrssaf");
  EXPECT_EQ(ordre[2]->Name(), "Txt_NomCtrUrssaf");
}

TEST(LayoutTest, HelpTopicOnExactlyTheListedControls) {
  view::headless::HeadlessServices services;
  shell::Ctr_Urssaf ctl(services);
  const std::set<std::string> avecAide{
      "Txt_CodCtrUrssaf", "Cbo_SigleCtrUrssaf", "Txt_SigleCtrUrssaf", "Txt_NomCtrUrssaf",
      "Ctr_AdresseUrssaf", "Txt_InterlocCtrUrssaf", "Txt_CodOrgCtrUrssaf", "Cdr_Rapport",
      "Lst_Date", "Lst_Valeur", "Txt_Date", "Txt_Valeur", "Cmd_AjouterRapport",
      "Cmd_SupprimerRapport", "Cmd_OkRapport", "Cmd_AnnulerRapport", "Cac_DntJPCtrUrssaf",
      "Cmd_Ajouter", "Cmd_Supprimer", "Cmd_OK", "Cmd_Annuler", "Cmd_Sortir"};
  view::Form& f = ctl.Controls();
  for (int i = 0; i < f.Count(); ++i) {
    EXPECT_EQ(f[i].HelpContextID, avecAide.count(f[i].Name()) != 0 ? 10 : 0) << f[i].Name();
  }
}

TEST(LayoutTest, EachFieldIsAnnouncedByItsLabel) {
  view::headless::HeadlessServices services;
  shell::Ctr_Urssaf ctl(services);
  view::Form& f = ctl.Controls();
  const std::pair<const char*, const char*> paires[] = {
      {"Txt_CodCtrUrssaf", "Etq_CodCtrUrssaf"},   {"Txt_NomCtrUrssaf", "Etq_NomCtrUrssaf"},
      {"Txt_InterlocCtrUrssaf", "Etq_InterlocCtrUrssaf"},
      {"Txt_CodOrgCtrUrssaf", "Etq_CodOrgCtrUrssaf"}, {"Txt_CodeSNV2", "Etq_CodeSNV2"},
      {"Txt_MontForfait", "Etq_MontForfait"},     {"Txt_CodeEntite", "Etq_EntiteJuridique"},
      {"Cbo_Entite", "Etq_EntiteJuridique"},      {"Txt_CodeEtab", "Etq_Etablissement"},
      {"Cbo_Etab", "Etq_Etablissement"},          {"Lst_Date", "Etq_Date"},
      {"Txt_Date", "Etq_Date"},                   {"Lst_Valeur", "Etq_Valeur"},
      {"Txt_Valeur", "Etq_Valeur"}};
  for (const auto& [champ, etiquette] : paires) {
    EXPECT_EQ(f.Get(champ).AccessibleName, f.Get(etiquette).Text()) << champ;
  }
  EXPECT_EQ(f.Get("Txt_CodCtrUrssaf").AccessibleName, "Centre URSSAF");
  EXPECT_EQ(f.Get("Cmd_Sortir").AccessibleName, "Sortir");
}

struct CasChemin {
  const char* dossier;
  const char* fichier;
  friend void PrintTo(const CasChemin& c, std::ostream* os) { *os << '"' << c.dossier << '"'; }
};

class CheminAideTest : public ::testing::TestWithParam<CasChemin> {};

TEST_P(CheminAideTest, OneSeparatorBeforeTheFileName) {
  EXPECT_EQ(shell::CheminFichierAide(GetParam().dossier), GetParam().fichier);
}

INSTANTIATE_TEST_SUITE_P(
    Dossiers, CheminAideTest,
    ::testing::Values(CasChemin{"/opt/paie", "/opt/paie/Morvanel.HLP"},
                      CasChemin{"/opt/paie/", "/opt/paie/Morvanel.HLP"},
                      CasChemin{"/", "/Morvanel.HLP"},
                      CasChemin{"/opt/paie/  ", "/opt/paie/Morvanel.HLP"},
                      CasChemin{"/opt/paie  ", "/opt/paie/Morvanel.HLP"}));

TEST(HelpTest, TheHelpFileIsBesideTheBinaryAndOpensOnF1) {
  BaseTemporaire base;
  Poste p(base.db());
  const std::string fichier = p.ctl->Controls().helpFile;
  EXPECT_EQ(fichier, shell::DossierBibliotheque() + "/Morvanel.HLP");
  EXPECT_TRUE(std::filesystem::exists(fichier)) << fichier;
  p.ctl->Init();
  p.ctl->Afficher();
  p.saisie.Help(p["Txt_NomCtrUrssaf"]);
  p.saisie.Help(p["Txt_CodeSNV2"]);  // no topic of its own, none around it
  ASSERT_EQ(p.services.helpTopics().size(), 1u);
  EXPECT_EQ(p.services.helpTopics()[0].file, fichier);
  EXPECT_EQ(p.services.helpTopics()[0].context, 10);
}

TEST(ContextMenuTest, RightClickOnTheSurfaceInSearchOffersTheMenuEnabled) {
  BaseTemporaire base;
  Poste p(base.db());
  p.ctl->Init();
  ASSERT_FALSE(p["Mnu_Sommaire"].Enabled()) << "greyed by the search";
  p.saisie.MouseDown(nullptr, view::kMouseLeft, 300, 400);
  p.saisie.MouseDown(nullptr, view::kMouseMiddle, 300, 400);
  EXPECT_TRUE(p.services.popups().empty());
  EXPECT_FALSE(p["Mnu_Sommaire"].Enabled());
  p.saisie.MouseDown(nullptr, view::kMouseRight, 300, 400);
  ASSERT_EQ(p.services.popups().size(), 1u);
  EXPECT_EQ(p.services.popups()[0].menu, "Mnu_Aide");
  EXPECT_EQ(p.services.popups()[0].x, 300);
  EXPECT_TRUE(p["Mnu_Aide"].Enabled());
  EXPECT_TRUE(p["Mnu_Sommaire"].Enabled());
}

TEST(ContextMenuTest, RightClickOnTheFrameIsPlacedOnTheSurface) {
  BaseTemporaire base;
  Poste p(base.db());
  p.ctl->Init();
  p.ctl->Afficher();
  p.saisie.MouseDown(&p["Cdr_Rapport"], view::kMouseLeft, 100, 50);
  EXPECT_TRUE(p.services.popups().empty());
  p.saisie.MouseDown(&p["Cdr_Rapport"], view::kMouseRight, 100, 50);
  ASSERT_EQ(p.services.popups().size(), 1u);
  EXPECT_EQ(p.services.popups()[0].x, 100);
  EXPECT_EQ(p.services.popups()[0].y, 5450);
}

TEST(ContextMenuTest, RightClickOnTheFrameGreyedBySearchStillOffersTheMenu) {
  BaseTemporaire base;
  Poste p(base.db());
  p.ctl->Init();
  ASSERT_FALSE(p["Cdr_Rapport"].Enabled()) << "greyed by the search";
  p.saisie.MouseDown(&p["Cdr_Rapport"], view::kMouseRight, 100, 50);
  ASSERT_EQ(p.services.popups().size(), 1u);
  EXPECT_EQ(p.services.popups()[0].x, 100);
  EXPECT_EQ(p.services.popups()[0].y, 5450);
  EXPECT_TRUE(p["Mnu_Sommaire"].Enabled());
}

TEST(ContextMenuTest, TheMenuItemOpensTheScreensPage) {
  BaseTemporaire base;
  components::RecordingHelpWindow fenetre;
  Poste p(base.db());
  p.ctl->Init();
  components::AideHtml& aide = p.ctl->Bibliotheque().AideHtml();
  aide.SetHelpWindow(&fenetre);
  p.saisie.MouseDown(nullptr, view::kMouseRight, 10, 10);
  p.saisie.Click(p["Mnu_Sommaire"]);
  aide.SetHelpWindow(nullptr);
  EXPECT_TRUE(p.services.helpPages().empty()) << "the window given to the viewer shows the page";
  ASSERT_EQ(fenetre.History().size(), 1u);
  const std::string page = fenetre.History()[0].path;
  EXPECT_EQ(std::filesystem::path(page).filename(), "CentreUrssaf.htm");
  EXPECT_TRUE(std::filesystem::exists(page)) << page;
  EXPECT_EQ(fenetre.History()[0].title, "Les Centres URSSAF");
  ASSERT_TRUE(aide.ClientAide());
  EXPECT_EQ(aide.ClientAide()->code, "C01");
}

TEST(ContextMenuTest, WithoutAWindowOfItsOwnTheViewerShowsThePageOnThePlatform) {
  BaseTemporaire base;
  Poste p(base.db());
  p.ctl->Init();
  components::AideHtml& aide = p.ctl->Bibliotheque().AideHtml();
  ASSERT_EQ(aide.Fenetre(), nullptr);
  p.saisie.MouseDown(nullptr, view::kMouseRight, 10, 10);
  p.saisie.Click(p["Mnu_Sommaire"]);
  ASSERT_EQ(p.services.helpPages().size(), 1u);
  const std::filesystem::path page = p.services.helpPages()[0].path;
  EXPECT_EQ(page, std::filesystem::path(shell::DossierBibliotheque()) / "CentreUrssaf.htm");
  EXPECT_TRUE(std::filesystem::exists(page)) << page;
  EXPECT_EQ(p.services.helpPages()[0].title, "Les Centres URSSAF");
  EXPECT_TRUE(p.services.messages().empty());
  EXPECT_EQ(aide.Fenetre(), nullptr) << "the control's window is not left with the library's viewer";
}

}  // namespace
}  // namespace morvanel::testing
