// The legal entity and establishment lists: building them from ACTIVITES,
// ASSOCIATION and ETABLISSEMENT, and installing the pair handlers (those
// live in entite_etab_handlers.cpp). Field entry subsystem.
//
// Database errors are not caught here: they reach the caller. Each list is
// replaced only once everything it needs has been read, so a failed read
// leaves the previous list and its combo box in step with each other.
#include "morvanel/fields/entite_etab_pickers.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "dba/citem.h"
#include "dba/database.h"
#include "morvanel/fields/texte_saisie.h"

namespace morvanel::fields {

namespace {

constexpr int kLongueurCode = 3;

dba::CItem Selectionner(shell::UrssafContext& ctx, const std::string& phrase,
                        const char* fichier, const char* colonnes) {
  if (!ctx.lib.TheDatabase) throw std::logic_error("no database set");
  dba::CItem requete;
  requete.setItem(1, phrase);
  requete.setItem(2, fichier);
  requete.setItem(3, colonnes);
  return ctx.lib.TheDatabase->DBSelect(requete.Item());
}

// The entity code goes inside a quoted value of a query sentence. Typed
// codes are digits, but a code read from a centre record may hold anything:
// a quote or a control byte would change the sentence, so such a code has
// no establishment.
bool PeutEtreCite(const std::string& code) {
  return std::none_of(code.begin(), code.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return c == '"' || b < 0x20 || b == 0x7F || b >= 0xF8;
  });
}

// Adds value 2 of each attribute of `liste` to `combo`, the first one before
// any test, until an attribute whose value 1 is empty.
void RemplirCombo(view::Control& combo, const dba::CItem& liste) {
  int k = 1;
  do {
    combo.AddItem(liste.Item(k, 2));
    ++k;
  } while (!liste.Item(k, 1).empty());
}

}  // namespace

view::Control& EntiteEtabPickers::Code(Paire paire) const {
  return paire == Paire::Entite ? ctx_.ecran.Txt_CodeEntite : ctx_.ecran.Txt_CodeEtab;
}

view::Control& EntiteEtabPickers::Liste(Paire paire) const {
  return paire == Paire::Entite ? ctx_.ecran.Cbo_Entite : ctx_.ecran.Cbo_Etab;
}

void EntiteEtabPickers::Attach() {
  for (Paire paire : {Paire::Entite, Paire::Etab}) {
    view::Control& code = Code(paire);
    view::Control& liste = Liste(paire);
    code.MaxLength = kLongueurCode;
    code.KeyPress = [this, paire](int& keyAscii) { Code_KeyPress(paire, keyAscii); };
    code.Change = [this, paire] { Code_Change(paire); };
    code.LostFocus = [this, paire] { Verifier_Code(paire); };
    liste.Click = [this, paire] { Liste_Click(paire); };
    liste.Change = [this, paire] { Liste_Change(paire); };
    liste.KeyPress = [this, paire](int& keyAscii) { Liste_KeyPress(paire, keyAscii); };
  }
}

void EntiteEtabPickers::Remplir_Entite() {
  auto& e = ctx_.ecran;
  auto& etat = ctx_.etat;
  dba::CItem selection =
      Selectionner(ctx_, "SSELECT ACTIVITES AVEC 12= \"M\" PAR @ID", "ACTIVITES", "0");
  if (selection.Item().empty()) {
    etat.ListeEntites = std::move(selection);
    return;  // no legal entity: the pair is left as it was
  }

  // One line per entity code, in the order of its first activity. Codes are
  // compared with the codes already taken, never with the names.
  dba::CItem entites;
  std::vector<std::string> pris;
  const int n = selection.DCount();
  for (int i = 1; i <= n; ++i) {
    std::string code = PremiersCaracteres(selection.Item(i, 1), kLongueurCode);
    if (code.empty() || std::find(pris.begin(), pris.end(), code) != pris.end()) continue;
    etat.Art_Association = std::make_unique<dba::CItem>(ctx_.lib.F_Association.DBRead(code));
    const int k = static_cast<int>(pris.size()) + 1;
    entites.setItem(k, 1, code);
    entites.setItem(k, 2, etat.Art_Association->Item(1));
    pris.push_back(std::move(code));
  }

  etat.ListeEntites = dba::CItem(entites.Item());
  e.Cbo_Entite.Clear();
  RemplirCombo(e.Cbo_Entite, etat.ListeEntites);

  if (e.Cbo_Entite.ListCount() == 1 && !e.Cbo_Entite.List(0).empty()) {
    e.Txt_CodeEntite.SetText(PremiersCaracteres(etat.ListeEntites.Item(1, 1), kLongueurCode));
    e.Cbo_Entite.SetListIndex(0);
    e.Cbo_Entite.SetEnabled(false);
    e.Txt_CodeEntite.SetEnabled(false);
  }
}

void EntiteEtabPickers::Fermer_Etab() {
  auto& e = ctx_.ecran;
  e.Cbo_Etab.SetEnabled(false);
  e.Txt_CodeEtab.SetEnabled(false);
  e.Etq_Etablissement.SetEnabled(false);
}

void EntiteEtabPickers::Remplir_Etab() {
  auto& e = ctx_.ecran;
  auto& etat = ctx_.etat;
  const std::string entite = e.Txt_CodeEntite.Text();
  if (entite.empty()) {
    e.Cbo_Etab.Clear();
    Fermer_Etab();
    return;
  }

  e.Cbo_Etab.SetEnabled(true);
  e.Txt_CodeEtab.SetEnabled(true);
  e.Etq_Etablissement.SetEnabled(true);
  e.Cbo_Etab.Clear();
  e.Txt_CodeEtab.SetText("");

  dba::CItem selection;
  if (PeutEtreCite(entite)) {
    selection = Selectionner(ctx_, "SSELECT ETABLISSEMENT AVEC @ID = \"" + entite + "]\" PAR @ID",
                             "ETABLISSEMENT", "0 1");
  }
  etat.ListeEtablissements = std::move(selection);
  RemplirCombo(e.Cbo_Etab, etat.ListeEtablissements);

  if (e.Cbo_Etab.ListCount() == 1 && !e.Cbo_Etab.List(0).empty()) {
    e.Txt_CodeEtab.SetText(DerniersCaracteres(etat.ListeEtablissements.Item(1, 1), kLongueurCode));
    e.Cbo_Etab.SetListIndex(0);
    Fermer_Etab();
  }
}

}  // namespace morvanel::fields
