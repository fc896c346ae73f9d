// Help of Ctr_Urssaf: help-file path and life, context menu, HTML page.
// Control shell (src/morvanel/shell).
#include "morvanel/shell/help_menu.h"

#include "components/aide/aide_html.h"
#include "components/aide/help_window.h"
#include "morvanel/state/urssaf_context.h"

namespace morvanel::shell {

HelpMenuDeps HelpMenuDeps::From(state::UrssafContext& ctx) {
  return HelpMenuDeps{ctx.ecran, ctx.services, ctx.lib};
}

namespace {

// The help viewer's window when the host gave it none: the help window of
// the platform that draws this control.
class ServicesHelpWindow final : public components::HelpWindow {
 public:
  ServicesHelpWindow(forms::Services& services, const std::string& fichierAide)
      : services_(services), fichierAide_(fichierAide) {}
  void ShowPage(const std::string& htmlPath, const std::string& title) override {
    services_.ShowHelpPage(htmlPath, title);
  }
  void ShowMessage(const std::string& text, const std::string& /*title*/) override {
    services_.MsgBox(text, forms::MsgButtons::OK, forms::MsgIcon::Exclamation,
                     state::kTitreMessage);
  }
  void Close() override { services_.CloseHelp(fichierAide_); }

 private:
  forms::Services& services_;
  const std::string& fichierAide_;
};

// Lends the viewer `fenetre` for one request when it has no window of its
// own, and takes it back even when the request throws: the viewer belongs
// to the library and outlives this control.
class HelpWindowLoan {
 public:
  HelpWindowLoan(components::AideHtml& aide, components::HelpWindow& fenetre)
      : aide_(aide), prete_(aide.Fenetre() == nullptr) {
    if (prete_) aide_.SetHelpWindow(&fenetre);
  }
  ~HelpWindowLoan() {
    if (prete_) aide_.SetHelpWindow(nullptr);
  }
  HelpWindowLoan(const HelpWindowLoan&) = delete;
  HelpWindowLoan& operator=(const HelpWindowLoan&) = delete;

 private:
  components::AideHtml& aide_;
  bool prete_;
};

}  // namespace

std::string CheminFichierAide(std::string_view dossier) {
  const std::size_t fin = dossier.find_last_not_of(" \t");
  dossier = fin == std::string_view::npos ? std::string_view{} : dossier.substr(0, fin + 1);
  std::string chemin(dossier);
  if (chemin.empty() || chemin.back() != '/') chemin += '/';
  return chemin + kNomFichierAide;
}

void HelpMenu::Attach() {
  state::UrssafScreen& e = d_.ecran;
  e.form.MouseDown = [this](int b, int s, float x, float y) { UserControl_MouseDown(b, s, x, y); };
  e.Cdr_Rapport.MouseDown = [this](int b, int s, float x, float y) {
    Cdr_Rapport_MouseDown(b, s, x, y);
  };
  e.Mnu_Sommaire.Click = [this] { Mnu_Sommaire_Click(); };
}

void HelpMenu::MettreEnPlace(long long fenetre) {
  d_.lib.helpWindowHandle = fenetre & 0xFFFFFFFFLL;  // a 32-bit handle
  d_.lib.helpFile = CheminFichierAide(state::LibraryFolder());
}

void HelpMenu::Fermer() { d_.services.CloseHelp(d_.lib.helpFile); }

void HelpMenu::UserControl_MouseDown(int button, int /*shift*/, float x, float y) {
  MenuContextuel(button, x, y);
}

void HelpMenu::Cdr_Rapport_MouseDown(int button, int /*shift*/, float x, float y) {
  // The pop-up is placed on the surface: the frame's position is added.
  const forms::Rect& cadre = d_.ecran.Cdr_Rapport.geometry;
  MenuContextuel(button, x + static_cast<float>(cadre.left), y + static_cast<float>(cadre.top));
}

void HelpMenu::MenuContextuel(int button, float x, float y) {
  if (button != forms::kMouseRight) return;
  // A search greys the menus with the rest of the screen.
  d_.ecran.Mnu_Aide.SetEnabled(true);
  d_.ecran.Mnu_Sommaire.SetEnabled(true);
  d_.services.PopupMenu(d_.ecran.Mnu_Aide, x, y);
}

void HelpMenu::Mnu_Sommaire_Click() {
  components::AideHtml& aide = d_.lib.AideHtml();
  aide.Client_Aide(d_.lib.TheClient);
  aide.Base_Aide(d_.lib.TheDatabase);
  std::string page = "CentreUrssaf.htm";
  std::string code = "P";
  std::string titre = "Les Centres URSSAF";
  std::string quatrieme;
  ServicesHelpWindow fenetre(d_.services, d_.lib.helpFile);
  const HelpWindowLoan pret(aide, fenetre);
  aide.Afficher_Aide(page, code, titre, quatrieme);
}

}  // namespace morvanel::shell
