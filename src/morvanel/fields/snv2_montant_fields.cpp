// The SNV2 code and the flat amount. Field entry subsystem.
#include "morvanel/fields/snv2_montant_fields.h"

#include <algorithm>

#include "morvanel/fields/texte_saisie.h"
#include "morvanel/state/urssaf_context.h"
#include "utilitaires/utilitaires.h"

namespace morvanel::fields {

Snv2MontantDeps Snv2MontantDeps::From(state::UrssafContext& ctx) {
  state::LibraryState& lib = ctx.lib;
  return Snv2MontantDeps{ctx.ecran, ctx.services,
                         [&lib]() -> utilitaires::Utilitaires& { return lib.Utilitaires(); }};
}

namespace {

constexpr int kChiffresSNV2 = 9;
constexpr int kDecimalesMontant = 2;
// The payroll application's screens and guides quote this text as it is.
constexpr const char* kCodeSNV2Incomplet = "Le code adresse SVN2 doit être composé de 9 chiffres.";

}  // namespace

bool CodeSNV2Valide(std::string_view code) {
  if (code.empty()) return true;
  return code.size() == kChiffresSNV2 &&
         std::all_of(code.begin(), code.end(), [](char c) { return EstChiffre(c); });
}

void Snv2MontantFields::Attach() {
  auto& e = d_.ecran;
  e.Txt_CodeSNV2.KeyPress = [this](int& k) { Txt_CodeSNV2_KeyPress(k); };
  e.Txt_CodeSNV2.LostFocus = [this] { Txt_CodeSNV2_LostFocus(); };
  e.Txt_MontForfait.KeyPress = [this](int& k) { Txt_MontForfait_KeyPress(k); };
  e.Txt_MontForfait.LostFocus = [this] { Txt_MontForfait_LostFocus(); };
}

void Snv2MontantFields::Txt_CodeSNV2_KeyPress(int& keyAscii) {
  if (keyAscii == forms::kKeyBackspace) return;
  // Tab leaves for "Annuler", not for the next box in tab order.
  if (keyAscii == forms::kKeyTab) d_.ecran.Cmd_Annuler.SetFocus();
  if (!EstChiffre(keyAscii)) keyAscii = 0;
}

// A code read from the database or set by a host may hold other characters
// or more than nine: it is held to the same rule as a typed one.
void Snv2MontantFields::Txt_CodeSNV2_LostFocus() {
  forms::Control& boite = d_.ecran.Txt_CodeSNV2;
  if (CodeSNV2Valide(boite.Text())) return;
  d_.services.MsgBox(kCodeSNV2Incomplet, forms::MsgButtons::OK, forms::MsgIcon::Exclamation,
                     state::kTitreMessage);
  boite.SetFocus();
}

void Snv2MontantFields::Txt_MontForfait_KeyPress(int& keyAscii) {
  d_.Utilitaires().Filtrer_Nombre(d_.ecran.Txt_MontForfait.Text(), keyAscii, 0);
}

void Snv2MontantFields::Txt_MontForfait_LostFocus() {
  forms::Control& boite = d_.ecran.Txt_MontForfait;
  if (boite.Text().empty()) return;
  boite.SetText(d_.Utilitaires().Formater_NombreControle(boite.Text(), 2, kDecimalesMontant));
}

}  // namespace morvanel::fields
