// The design-time screen of Ctr_Urssaf, as a table: one line per constituent
// control, in the order of the Controls collection. Control shell.
#include "morvanel/shell/layout.h"

#include <string_view>

namespace morvanel::shell {
namespace {

using forms::Kind;

enum Flags : unsigned {
  kNone = 0,
  kInFrame = 1u << 0,    // sits in Cdr_Rapport, position relative to it
  kHelp = 1u << 1,       // F1 opens the screen's help topic
  kDisabled = 1u << 2,   // created disabled
  kHidden = 1u << 3,     // created hidden
  kFixedPitch = 1u << 4  // Courier New, so that the rate lines align
};

struct Ligne {
  std::string_view name;
  Kind kind;
  std::string_view caption;
  forms::Rect rect;
  int tab;
  int maxLength;
  unsigned flags;
  std::string_view accessible;  // what a screen reader announces ("" = caption)
  std::string_view toolTip;
};

constexpr std::string_view kInfoUrssaf = "Code identification pour l'URSSAF";

// The amount box grows to the left, its right edge in the column of the
// boxes above: at 495 twips it showed four characters of "12345,00", and
// an amount up to 99999,99 must show whole. Its label ends before it.

// clang-format off
constexpr Ligne kLignes[] = {
  {"Etq_CodCtrUrssaf", Kind::Label, "Centre URSSAF", {120, 120, 1215, 255}, 14, 0, kNone, "", ""},
  {"Txt_CodCtrUrssaf", Kind::TextBox, "", {1560, 120, 495, 285}, 0, 2, kHelp, "Centre URSSAF", ""},
  {"Cbo_SigleCtrUrssaf", Kind::ComboBox, "", {2160, 120, 5415, 315}, 1, 0, kHelp, "Sigle", ""},
  {"Txt_SigleCtrUrssaf", Kind::TextBox, "", {2160, 120, 5415, 315}, 2, 40, kHelp | kHidden, "Sigle", ""},
  {"Etq_NomCtrUrssaf", Kind::Label, "Dénomination", {120, 600, 1215, 255}, 11, 0, kNone, "", ""},
  {"Txt_NomCtrUrssaf", Kind::TextBox, "", {1560, 600, 6015, 285}, 3, 60, kHelp, "Dénomination", ""},
  {"Ctr_AdresseUrssaf", Kind::Embedded, "", {840, 960, 6135, 2175}, 28, 0, kHelp, "Adresse", ""},
  {"Etq_InterlocCtrUrssaf", Kind::Label, "Interlocuteur", {120, 3240, 1215, 255}, 13, 0, kNone, "", ""},
  {"Txt_InterlocCtrUrssaf", Kind::TextBox, "", {1560, 3240, 3975, 285}, 4, 0, kHelp, "Interlocuteur", ""},
  {"Etq_CodOrgCtrUrssaf", Kind::Label, "Code organisme", {5640, 3240, 1335, 255}, 12, 0, kNone, "", ""},
  {"Txt_CodOrgCtrUrssaf", Kind::TextBox, "", {7080, 3240, 495, 285}, 5, 3, kHelp, "Code organisme", ""},
  {"Etq_CodeSNV2", Kind::Label, "Code adresse SNV2", {0, 3840, 1575, 375}, 29, 0, kNone, "", kInfoUrssaf},
  {"Txt_CodeSNV2", Kind::TextBox, "", {1560, 3840, 1215, 285}, 30, 9, kNone, "Code adresse SNV2", ""},
  {"Etq_MontForfait", Kind::Label, "Montant déduction forfaitaire par heure", {4080, 3840, 2535, 195}, 39, 0, kNone, "", kInfoUrssaf},
  {"Txt_MontForfait", Kind::TextBox, "", {6720, 3840, 855, 285}, 38, 5, kNone, "Montant déduction forfaitaire par heure", ""},
  {"Etq_EntiteJuridique", Kind::Label, "Entité juridique", {240, 4440, 1215, 255}, 31, 0, kNone, "", ""},
  {"Txt_CodeEntite", Kind::TextBox, "", {1560, 4440, 495, 315}, 32, 0, kNone, "Entité juridique", ""},
  {"Cbo_Entite", Kind::ComboBox, "", {2160, 4440, 5415, 315}, 33, 0, kNone, "Entité juridique", ""},
  {"Etq_Etablissement", Kind::Label, "Etablissement", {240, 4800, 1215, 255}, 34, 0, kNone, "", ""},
  {"Txt_CodeEtab", Kind::TextBox, "", {1560, 4800, 495, 315}, 35, 0, kNone, "Etablissement", ""},
  {"Cbo_Etab", Kind::ComboBox, "", {2160, 4800, 5415, 315}, 36, 0, kNone, "Etablissement", ""},
  {"Cdr_Rapport", Kind::Frame, "% Charges salariales", {0, 5400, 7695, 1695}, 15, 0, kHelp, "", ""},
  {"Etq_Date", Kind::Label, "Date", {1320, 240, 345, 195}, 16, 0, kInFrame, "", ""},
  {"Etq_Valeur", Kind::Label, "Valeur brut", {3120, 240, 1215, 255}, 17, 0, kInFrame, "", ""},
  {"Lst_Date", Kind::ListBox, "", {840, 480, 1695, 690}, 26, 0, kInFrame | kHelp | kFixedPitch, "Date", ""},
  {"Bdv_Date", Kind::VScrollBar, "", {2280, 480, 270, 690}, 24, 0, kInFrame, "Date", ""},
  {"Lst_Valeur", Kind::ListBox, "", {2760, 480, 1695, 690}, 27, 0, kInFrame | kHelp | kFixedPitch, "Valeur brut", ""},
  {"Bdv_Valeur", Kind::VScrollBar, "", {4200, 480, 270, 690}, 25, 0, kInFrame, "Valeur brut", ""},
  {"Txt_Date", Kind::TextBox, "", {840, 1200, 1695, 285}, 18, 0, kInFrame | kHelp, "Date", ""},
  {"Txt_Valeur", Kind::TextBox, "", {2760, 1200, 1695, 285}, 19, 0, kInFrame | kHelp, "Valeur brut", ""},
  {"Cmd_AjouterRapport", Kind::Button, "Ajouter", {5400, 360, 855, 375}, 20, 0, kInFrame | kHelp, "", ""},
  {"Cmd_SupprimerRapport", Kind::Button, "Supprimer", {6480, 360, 855, 375}, 22, 0, kInFrame | kHelp, "", ""},
  {"Cmd_OkRapport", Kind::Button, "Ok", {5400, 960, 855, 375}, 21, 0, kInFrame | kHelp, "", ""},
  {"Cmd_AnnulerRapport", Kind::Button, "Annuler", {6480, 960, 855, 375}, 23, 0, kInFrame | kHelp, "", ""},
  {"Cac_DntJPCtrUrssaf", Kind::CheckBox, "Gestion électronique des déclarations trimestrielles", {0, 7320, 4455, 255}, 40, 0, kHelp, "", ""},
  {"Cmd_Ajouter", Kind::Button, "Ajouter", {120, 7800, 855, 375}, 6, 0, kHelp, "", ""},
  {"Cmd_Supprimer", Kind::Button, "Supprimer", {1320, 7800, 855, 375}, 7, 0, kHelp | kDisabled, "", ""},
  {"Cmd_AdresseBancaire", Kind::Button, "Adresse bancaire", {2640, 7800, 1575, 375}, 37, 0, kNone, "", ""},
  {"Cmd_OK", Kind::Button, "OK", {4560, 7800, 855, 375}, 8, 0, kHelp | kDisabled, "", ""},
  {"Cmd_Annuler", Kind::Button, "Annuler", {5640, 7800, 855, 375}, 9, 0, kHelp | kDisabled, "", ""},
  {"Cmd_Sortir", Kind::Button, "Sortir", {6720, 7800, 855, 375}, 10, 0, kHelp, "", ""},
};
// clang-format on

void Creer(forms::Form& form, const Ligne& l, forms::Control* cadre) {
  forms::Control& c =
      form.Add(l.kind, std::string(l.name), l.rect, (l.flags & kInFrame) != 0 ? cadre : nullptr);
  if (!l.caption.empty()) c.SetText(l.caption);
  c.TabIndex = l.tab;
  c.MaxLength = l.maxLength;
  c.ToolTipText = std::string(l.toolTip);
  c.AccessibleName = std::string(l.accessible.empty() ? l.caption : l.accessible);
  if ((l.flags & kHelp) != 0) c.HelpContextID = kContexteAide;
  if ((l.flags & kFixedPitch) != 0) c.font = forms::Font{"Courier New", 8.25, false};
  if ((l.flags & kDisabled) != 0) c.SetEnabled(false);
  if ((l.flags & kHidden) != 0) c.SetVisible(false);
}

}  // namespace

void CreerControles(forms::Form& form) {
  forms::Control* cadre = nullptr;
  for (const Ligne& l : kLignes) {
    Creer(form, l, cadre);
    if (l.kind == Kind::Frame) cadre = &form.Get(l.name);
  }
  // The context menu and its one item (shown as a pop-up on a right click).
  forms::Control& menu = form.Add(Kind::Menu, "Mnu_Aide", {});
  menu.SetText("Aide");
  menu.AccessibleName = "Aide";
  forms::Control& item = form.Add(Kind::MenuItem, "Mnu_Sommaire", {}, &menu);
  item.SetText("Aide TARVELINE");
  item.AccessibleName = "Aide TARVELINE";
}

state::UrssafScreen ScreenOf(forms::Form& f) {
// Each member is bound to the control of its own name, written once: a
// misspelt, missing or misplaced name does not compile.
#define MORVANEL_CONTROLE(nom) .nom = f.Get(#nom)
  return state::UrssafScreen{.form = f,
                             MORVANEL_CONTROLE(Etq_CodCtrUrssaf),
                             MORVANEL_CONTROLE(Txt_CodCtrUrssaf),
                             MORVANEL_CONTROLE(Cbo_SigleCtrUrssaf),
                             MORVANEL_CONTROLE(Txt_SigleCtrUrssaf),
                             MORVANEL_CONTROLE(Etq_NomCtrUrssaf),
                             MORVANEL_CONTROLE(Txt_NomCtrUrssaf),
                             MORVANEL_CONTROLE(Ctr_AdresseUrssaf),
                             MORVANEL_CONTROLE(Etq_InterlocCtrUrssaf),
                             MORVANEL_CONTROLE(Txt_InterlocCtrUrssaf),
                             MORVANEL_CONTROLE(Etq_CodOrgCtrUrssaf),
                             MORVANEL_CONTROLE(Txt_CodOrgCtrUrssaf),
                             MORVANEL_CONTROLE(Etq_CodeSNV2),
                             MORVANEL_CONTROLE(Txt_CodeSNV2),
                             MORVANEL_CONTROLE(Etq_MontForfait),
                             MORVANEL_CONTROLE(Txt_MontForfait),
                             MORVANEL_CONTROLE(Etq_EntiteJuridique),
                             MORVANEL_CONTROLE(Txt_CodeEntite),
                             MORVANEL_CONTROLE(Cbo_Entite),
                             MORVANEL_CONTROLE(Etq_Etablissement),
                             MORVANEL_CONTROLE(Txt_CodeEtab),
                             MORVANEL_CONTROLE(Cbo_Etab),
                             MORVANEL_CONTROLE(Cdr_Rapport),
                             MORVANEL_CONTROLE(Etq_Date),
                             MORVANEL_CONTROLE(Etq_Valeur),
                             MORVANEL_CONTROLE(Lst_Date),
                             MORVANEL_CONTROLE(Bdv_Date),
                             MORVANEL_CONTROLE(Lst_Valeur),
                             MORVANEL_CONTROLE(Bdv_Valeur),
                             MORVANEL_CONTROLE(Txt_Date),
                             MORVANEL_CONTROLE(Txt_Valeur),
                             MORVANEL_CONTROLE(Cmd_AjouterRapport),
                             MORVANEL_CONTROLE(Cmd_SupprimerRapport),
                             MORVANEL_CONTROLE(Cmd_OkRapport),
                             MORVANEL_CONTROLE(Cmd_AnnulerRapport),
                             MORVANEL_CONTROLE(Cac_DntJPCtrUrssaf),
                             MORVANEL_CONTROLE(Cmd_Ajouter),
                             MORVANEL_CONTROLE(Cmd_Supprimer),
                             MORVANEL_CONTROLE(Cmd_AdresseBancaire),
                             MORVANEL_CONTROLE(Cmd_OK),
                             MORVANEL_CONTROLE(Cmd_Annuler),
                             MORVANEL_CONTROLE(Cmd_Sortir),
                             MORVANEL_CONTROLE(Mnu_Aide),
                             MORVANEL_CONTROLE(Mnu_Sommaire)};
#undef MORVANEL_CONTROLE
}

}  // namespace morvanel::shell
