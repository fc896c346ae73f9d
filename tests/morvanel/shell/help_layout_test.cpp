// The screen as a user meets it (controls inside the surface, none covering
// another, tab order, fonts, help topics, accessible names) and the help: the help file beside the
// library, F1, the context menu and its page.
#include <filesystem>
#include <set>
#include <sstream>

#include "components/aide/aide_html.h"
#include "components/aide/recording_help_window.h"
#include "morvanel/state/binary_path.h"
#include "morvanel/shell/help_menu.h"
#include "morvanel/state/library_state.h"
#include "poste_controle.h"

namespace morvanel::testing {
namespace {

// What a user sees of the surface: every control inside it (a framed one
// inside its frame), no control covering another but where the design means
// it, each control of the screen once.
bool Chevauchent(const forms::Rect& a, const forms::Rect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

std::vector<const forms::Control*> Visibles(const forms::Form& f) {
  std::vector<const forms::Control*> controles;
  for (int i = 0; i < f.Count(); ++i) {
    const forms::Kind k = f[i].kind();
    if (k != forms::Kind::Menu && k != forms::Kind::MenuItem) controles.push_back(&f[i]);
  }
  return controles;
}

class LayoutTest : public ::testing::Test {
 protected:
  forms::headless::HeadlessServices services;
  shell::Ctr_Urssaf ctl{services};
  forms::Form& f = ctl.Controls();
};

TEST_F(LayoutTest, EveryControlLiesInsideItsContainerAndCoversNoOtherButWhereMeant) {
  // The sigle's list and text box take turns at one place; a scroll bar
  // sits on its list's right edge; the SNV2 and "Valeur brut" labels run
  // into their box and list by a hair, as drawn.
  const std::set<std::pair<std::string, std::string>> voulus = {
      {"Cbo_SigleCtrUrssaf", "Txt_SigleCtrUrssaf"},
      {"Lst_Date", "Bdv_Date"},
      {"Lst_Valeur", "Bdv_Valeur"},
      {"Etq_CodeSNV2", "Txt_CodeSNV2"},
      {"Etq_Valeur", "Lst_Valeur"},
      {"Etq_Valeur", "Bdv_Valeur"}};
  const std::vector<const forms::Control*> c = Visibles(f);
  std::set<std::pair<std::string, std::string>> vus;
  std::set<std::string> noms;
  for (std::size_t i = 0; i < c.size(); ++i) {
    const forms::Rect& r = c[i]->geometry;
    const forms::Control* cadre = c[i]->Container();
    EXPECT_TRUE(noms.insert(c[i]->Name()).second) << c[i]->Name();
    EXPECT_TRUE(r.width > 0 && r.height > 0 && r.left >= 0 && r.top >= 0) << c[i]->Name();
    EXPECT_LE(r.left + r.width, cadre ? cadre->geometry.width : f.Width()) << c[i]->Name();
    EXPECT_LE(r.top + r.height, cadre ? cadre->geometry.height : f.Height()) << c[i]->Name();
    for (std::size_t j = i + 1; j < c.size(); ++j) {
      // A frame holds its controls; only controls side by side may not meet.
      if (cadre != c[j]->Container()) continue;
      if (Chevauchent(r, c[j]->geometry)) vus.emplace(c[i]->Name(), c[j]->Name());
    }
  }
  EXPECT_EQ(vus, voulus);
}

TEST_F(LayoutTest, DesignTimePropertiesThatMatter) {
  EXPECT_EQ(f.Name(), "Ctr_Urssaf");
  EXPECT_EQ(f.Get("Lst_Valeur").Container(), &f.Get("Cdr_Rapport"));
  EXPECT_EQ(f.Get("Cmd_Sortir").Container(), nullptr);
  EXPECT_EQ(f.Get("Mnu_Sommaire").Container(), &f.Get("Mnu_Aide"));
  // Fixed pitch, so that the rate lines align.
  EXPECT_EQ(f.Get("Lst_Date").font.name, "Courier New");
  EXPECT_EQ(f.Get("Lst_Valeur").font.name, "Courier New");
  EXPECT_NE(f.Get("Txt_Date").font.name, "Courier New");
  EXPECT_EQ(f.Get("Txt_CodCtrUrssaf").MaxLength, 2);
  EXPECT_EQ(f.Get("Txt_SigleCtrUrssaf").MaxLength, 40);
  EXPECT_EQ(f.Get("Txt_MontForfait").MaxLength, 5);
  EXPECT_EQ(f.Get("Etq_MontForfait").ToolTipText, "Code identification pour l'URSSAF");
  EXPECT_EQ(f.Get("Cdr_Rapport").Text(), "% Charges salariales");
  for (const char* nom : {"Cmd_Supprimer", "Cmd_OK", "Cmd_Annuler"}) {
    EXPECT_FALSE(f.Get(nom).Enabled()) << nom;
  }
  // The address control's fields sit inside it, outside the collection.
  EXPECT_GT(f.AllControls().size(), static_cast<std::size_t>(f.Count()));
  // Tab starts at the code, and reaches each control of a container at a
  // place of its own.
  const std::vector<forms::Control*> ordre = f.TabOrder();
  ASSERT_GE(ordre.size(), 3u);
  EXPECT_EQ(ordre[0]->Name(), "Txt_CodCtrUrssaf");
  EXPECT_EQ(ordre[1]->Name(), "Cbo_SigleCtrUrssaf");
  EXPECT_EQ(ordre[2]->Name(), "Txt_NomCtrUrssaf");
  std::set<std::pair<const forms::Control*, int>> places;
  for (const forms::Control* c : ordre) {
    EXPECT_TRUE(places.emplace(c->Container(), c->TabIndex).second) << c->Name();
  }
}

TEST_F(LayoutTest, HelpTopicOnExactlyTheListedControls) {
  std::set<std::string> avecAide;
  std::istringstream noms(
      "Txt_CodCtrUrssaf Cbo_SigleCtrUrssaf Txt_SigleCtrUrssaf Txt_NomCtrUrssaf Ctr_AdresseUrssaf "
      "Txt_InterlocCtrUrssaf Txt_CodOrgCtrUrssaf Cdr_Rapport Lst_Date Lst_Valeur Txt_Date "
      "Txt_Valeur Cmd_AjouterRapport Cmd_SupprimerRapport Cmd_OkRapport Cmd_AnnulerRapport "
      "Cac_DntJPCtrUrssaf Cmd_Ajouter Cmd_Supprimer Cmd_OK Cmd_Annuler Cmd_Sortir");
  for (std::string nom; noms >> nom;) avecAide.insert(nom);
  ASSERT_EQ(avecAide.size(), 22u);
  for (int i = 0; i < f.Count(); ++i) {
    EXPECT_EQ(f[i].HelpContextID, avecAide.count(f[i].Name()) != 0 ? 10 : 0) << f[i].Name();
  }
}

TEST_F(LayoutTest, EachFieldIsAnnouncedByItsLabel) {
  // Each field, then the label that names it.
  std::istringstream paires(
      "Txt_CodCtrUrssaf Etq_CodCtrUrssaf Txt_NomCtrUrssaf Etq_NomCtrUrssaf "
      "Txt_InterlocCtrUrssaf Etq_InterlocCtrUrssaf Txt_CodOrgCtrUrssaf Etq_CodOrgCtrUrssaf "
      "Txt_CodeSNV2 Etq_CodeSNV2 Txt_MontForfait Etq_MontForfait "
      "Txt_CodeEntite Etq_EntiteJuridique Cbo_Entite Etq_EntiteJuridique "
      "Txt_CodeEtab Etq_Etablissement Cbo_Etab Etq_Etablissement Lst_Date Etq_Date "
      "Txt_Date Etq_Date Lst_Valeur Etq_Valeur Txt_Valeur Etq_Valeur");
  int vues = 0;
  for (std::string champ, etiquette; paires >> champ >> etiquette; ++vues) {
    EXPECT_EQ(f.Get(champ).AccessibleName, f.Get(etiquette).Text()) << champ;
  }
  EXPECT_EQ(vues, 14);
  EXPECT_EQ(f.Get("Txt_CodCtrUrssaf").AccessibleName, "Centre URSSAF");
  EXPECT_EQ(f.Get("Cmd_Sortir").AccessibleName, "Sortir");
}

TEST(HelpTest, OneSeparatorBeforeTheHelpFileName) {
  for (const char* dossier : {"/opt/paie", "/opt/paie/", "/opt/paie/  ", "/opt/paie  "}) {
    EXPECT_EQ(shell::CheminFichierAide(dossier), "/opt/paie/Morvanel.HLP") << '"' << dossier << '"';
  }
  EXPECT_EQ(shell::CheminFichierAide("/"), "/Morvanel.HLP");
}

TEST(HelpTest, TheHelpFileIsBesideTheBinaryAndOpensOnF1) {
  BaseTemporaire base;
  Poste p(base.db());
  const std::string fichier = p.ctl->Controls().helpFile;
  EXPECT_EQ(fichier, state::LibraryFolder() + "/Morvanel.HLP");
  EXPECT_TRUE(std::filesystem::exists(fichier)) << fichier;
  p.ctl->Init();
  p.ctl->Afficher();
  p.saisie.Help(p["Txt_NomCtrUrssaf"]);
  p.saisie.Help(p["Txt_CodeSNV2"]);  // no topic of its own, none around it
  ASSERT_EQ(p.services.helpTopics().size(), 1u);
  EXPECT_EQ(p.services.helpTopics()[0].file, fichier);
  EXPECT_EQ(p.services.helpTopics()[0].context, 10);
}

// The popup on the frame is placed in the surface's coordinates, and the
// frame greyed by the search still offers it.
TEST(ContextMenuTest, RightClickOnTheFrameIsPlacedOnTheSurface) {
  BaseTemporaire base;
  Poste p(base.db());
  p.ctl->Init();
  ASSERT_FALSE(p["Cdr_Rapport"].Enabled()) << "greyed by the search";
  p.saisie.MouseDown(&p["Cdr_Rapport"], forms::kMouseLeft, 100, 50);
  p.saisie.MouseDown(nullptr, forms::kMouseMiddle, 300, 400);
  EXPECT_TRUE(p.services.popups().empty());
  p.saisie.MouseDown(&p["Cdr_Rapport"], forms::kMouseRight, 100, 50);
  p.ctl->Afficher();
  p.saisie.MouseDown(&p["Cdr_Rapport"], forms::kMouseRight, 100, 50);
  ASSERT_EQ(p.services.popups().size(), 2u);
  for (const auto& popup : p.services.popups()) {
    EXPECT_EQ(popup.menu, "Mnu_Aide");
    EXPECT_EQ(popup.x, 100);
    EXPECT_EQ(popup.y, 5450);
  }
}

TEST(ContextMenuTest, TheMenuItemOpensTheScreensPage) {
  BaseTemporaire base;
  components::RecordingHelpWindow fenetre;
  Poste p(base.db());
  p.ctl->Init();
  components::AideHtml& aide = p.ctl->Library().AideHtml();
  aide.SetHelpWindow(&fenetre);
  p.saisie.MouseDown(nullptr, forms::kMouseRight, 10, 10);
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

}  // namespace
}  // namespace morvanel::testing
