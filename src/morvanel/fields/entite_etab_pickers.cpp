// The legal entity and establishment lists: building them from ACTIVITES,
// ASSOCIATION and ETABLISSEMENT, and installing the pair handlers (those
// live in entite_etab_handlers.cpp). Field entry subsystem.
//
// Database errors are not caught here: they reach the caller. Each list is
// replaced only once everything it needs has been read, so a failed read
// leaves the previous list and its combo box in step with each other.
#include "morvanel/fields/entite_etab_pickers.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "dba/citem.h"
#include "dba/database.h"
#include "dba/requete.h"
#include "morvanel/fields/texte_saisie.h"
#include "morvanel/state/record_vocabulary.h"
#include "morvanel/state/urssaf_context.h"
#include "morvanel/state/urssaf_screen.h"

namespace morvanel::fields {

EntiteEtabDeps EntiteEtabDeps::From(state::UrssafContext& ctx) {
  return EntiteEtabDeps{ctx.ecran, ctx.etat, ctx.services, ctx.lib.TheDatabase,
                        ctx.lib.F_Association};
}

namespace {

constexpr int kLongueurCode = records::centre::kLongueurCodeRattachement;

dba::CItem Selectionner(const EntiteEtabDeps& d, const dba::Requete& requete) {
  if (!d.base) throw std::logic_error("no database set");
  return dba::DBSelect(*d.base, requete);
}

// Adds value 2 of each attribute of `liste` to `combo`, the first one before
// any test, until an attribute whose value 1 is empty. The names are handed
// over together: a screen redraws the combo once, not once per name.
void RemplirCombo(forms::Control& combo, const dba::CItem& liste) {
  std::vector<std::string> noms;
  for (const dba::CItem::AttributeView ligne : liste.Attributes()) {
    if (!noms.empty() && ligne.Value(1).empty()) break;
    noms.push_back(ligne.Value(2));
  }
  if (noms.empty()) noms.emplace_back();
  combo.AddItems(std::move(noms));
}

bool ChoixUnique(const forms::Control& combo) {
  return combo.ListCount() == 1 && !combo.List(0).empty();
}

}  // namespace

void Verrouiller_Choix_Uniques(state::UrssafScreen& e) {
  if (ChoixUnique(e.Cbo_Entite)) {
    e.Cbo_Entite.SetEnabled(false);
    e.Txt_CodeEntite.SetEnabled(false);
  }
  // No list: no entity to take establishments from. A single one filled
  // in is locked; emptied because the code read was unknown, it is left
  // open for the clerk to choose it.
  if (e.Cbo_Etab.ListCount() == 0 || (ChoixUnique(e.Cbo_Etab) && !e.Txt_CodeEtab.Text().empty())) {
    e.Cbo_Etab.SetEnabled(false);
    e.Txt_CodeEtab.SetEnabled(false);
    e.Etq_Etablissement.SetEnabled(false);
  }
}

forms::Control& EntiteEtabPickers::Code(Paire paire) const {
  return paire == Paire::Entite ? d_.ecran.Txt_CodeEntite : d_.ecran.Txt_CodeEtab;
}

forms::Control& EntiteEtabPickers::Liste(Paire paire) const {
  return paire == Paire::Entite ? d_.ecran.Cbo_Entite : d_.ecran.Cbo_Etab;
}

void EntiteEtabPickers::Attach() {
  for (Paire paire : {Paire::Entite, Paire::Etab}) {
    forms::Control& code = Code(paire);
    forms::Control& liste = Liste(paire);
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
  auto& e = d_.ecran;
  auto& etat = d_.etat;
  if (!d_.base) throw std::logic_error("no database set");
  // The entities with a counted activity and the names of all of them, read
  // together: one round trip to a distant server, whatever their number.
  std::vector<dba::CItem> lu = dba::DBSelectMany(
      *d_.base, {{"SSELECT ACTIVITES AVEC 12= \"M\" PAR @ID", records::kActivites, "0"},
                 {"SSELECT ASSOCIATION", records::kAssociation, "0 1"}});
  dba::CItem& selection = lu[0];
  if (selection.Item().empty()) {
    etat.ListeEntites = std::move(selection);
    return;  // no legal entity: the pair is left as it was
  }

  std::unordered_map<std::string, std::string> noms;
  for (const dba::CItem::AttributeView fiche : lu[1].Attributes()) {
    noms.emplace(fiche.Value(1), fiche.Value(2));
  }
  // One line per entity code, in the order of its first activity. Codes are
  // compared with the codes already taken, never with the names. The list's
  // text is put together line by line: writing line k into the growing
  // record would rescan it each time.
  std::string entites;
  std::unordered_set<std::string> pris;
  for (const dba::CItem::AttributeView activite : selection.Attributes()) {
    std::string code = FirstCharacters(activite.Value(1), kLongueurCode);
    if (code.empty() || !pris.insert(code).second) continue;
    if (!entites.empty()) entites += dba::kAttributeMark;
    entites += code;
    // An empty name adds no value, as writing "" past the end does not.
    const auto nom = noms.find(code);
    if (nom != noms.end() && !nom->second.empty()) entites += dba::kValueMark + nom->second;
  }

  etat.ListeEntites = dba::CItem(std::move(entites));
  e.Cbo_Entite.Clear();
  RemplirCombo(e.Cbo_Entite, etat.ListeEntites);

  if (ChoixUnique(e.Cbo_Entite)) {
    e.Txt_CodeEntite.SetText(FirstCharacters(etat.ListeEntites.Item(1, 1), kLongueurCode));
    e.Cbo_Entite.SetListIndex(0);
    Verrouiller_Choix_Uniques(e);
  }
}

void EntiteEtabPickers::Ouvrir_Etab() {
  auto& e = d_.ecran;
  e.Cbo_Etab.SetEnabled(true);
  e.Txt_CodeEtab.SetEnabled(true);
  e.Etq_Etablissement.SetEnabled(true);
}

void EntiteEtabPickers::Oublier_Etab() {
  // The establishments listed belong to an entity no longer there: a code
  // checked afterwards must not find one of them (nor show its name).
  d_.etat.ListeEtablissements = dba::CItem();
  d_.ecran.Cbo_Etab.Clear();
  Verrouiller_Choix_Uniques(d_.ecran);
  etabsDe_.reset();
}

void EntiteEtabPickers::Remplir_Etab() {
  auto& e = d_.ecran;
  auto& etat = d_.etat;
  const std::string entite = e.Txt_CodeEntite.Text();
  if (entite.empty()) {
    Oublier_Etab();
    return;
  }

  Ouvrir_Etab();
  e.Cbo_Etab.Clear();
  e.Txt_CodeEtab.SetText("");

  // The entity code goes inside a quoted value of a query sentence. Typed
  // codes are digits, but a code read from a centre record may hold
  // anything; one that cannot be quoted has no establishment.
  dba::CItem selection;
  if (const std::optional<std::string> debut = dba::CiterDebut(entite)) {
    selection = Selectionner(d_, {"SSELECT ETABLISSEMENT AVEC @ID = " + *debut + " PAR @ID",
                                  records::kEtablissement, "0 1"});
  }
  etat.ListeEtablissements = std::move(selection);
  etabsDe_ = entite;  // before the only establishment is filled in and checked
  RemplirCombo(e.Cbo_Etab, etat.ListeEtablissements);

  if (ChoixUnique(e.Cbo_Etab)) {
    e.Txt_CodeEtab.SetText(LastCharacters(etat.ListeEtablissements.Item(1, 1), kLongueurCode));
    e.Cbo_Etab.SetListIndex(0);
    Verrouiller_Choix_Uniques(e);
  }
}

}  // namespace morvanel::fields
