// The handlers of the legal entity and establishment pairs: a code box and
// a combo box of names that follow each other. Field entry subsystem.
//
// The chains between the four controls end because a control set to the
// text it already holds raises nothing, and because a combo's Change acts
// only on an empty text. A check finds the code in the list itself (never by
// looking at the combo's possibly stale text), shows a not-found message
// once per code typed, and lets a padded code be checked by the Change that
// the padding raises rather than twice.
#include <optional>
#include <string>

#include "morvanel/fields/entite_etab_pickers.h"
#include "morvanel/fields/texte_saisie.h"
#include "morvanel/state/urssaf_context.h"
#include "morvanel/state/record_vocabulary.h"

namespace morvanel::fields {

namespace {

constexpr int kLongueurCode = records::centre::kLongueurCodeRattachement;

const char* MessageInconnu(bool entite) {
  return entite ? "Le code de l'entité que vous avez saisi n'existe pas."
                : "Le code de l'établissement que vous avez saisi n'existe pas.";
}

}  // namespace

void EntiteEtabPickers::Code_KeyPress(Paire paire, int& keyAscii) {
  forms::Control& code = Code(paire);
  forms::Control& liste = Liste(paire);
  switch (keyAscii) {
    case forms::kKeyBackspace:  // the whole code goes, with its name
      code.SetText("");
      liste.SetText("");
      return;
    case forms::kKeyTab: return;
    case forms::kKeyEnter: liste.SetFocus(); return;
    default:
      if (!EstChiffre(keyAscii)) keyAscii = 0;
      // The third key, taken or not, ends the code.
      if (CharacterCount(code.Text()) == kLongueurCode - 1) liste.SetFocus();
  }
}

void EntiteEtabPickers::Code_Change(Paire paire) {
  auto& e = d_.ecran;
  const std::string texte = Code(paire).Text();
  auto& signale = signale_[static_cast<int>(paire)];
  if (signale && *signale != texte) signale.reset();

  if (CharacterCount(texte) == kLongueurCode) {
    Verifier_Code(paire);
    return;
  }
  if (paire == Paire::Entite) {
    e.Txt_CodeEtab.SetText("");
    Oublier_Etab();
  } else {
    e.Cbo_Etab.SetText("");
  }
}

// The entry whose code matches: the first for an entity, the last for an
// establishment (several keys may end with the same three characters).
// An entry without a name counts as no entry: there is nothing to show.
std::optional<std::string> EntiteEtabPickers::Chercher(Paire paire, const std::string& code) const {
  std::optional<std::string> nom;
  if (paire == Paire::Entite) {
    const dba::CItem& liste = d_.etat.ListeEntites;
    for (int k = 1, n = liste.DCount(); k <= n; ++k) {
      if (liste.Item(k, 1) == code) {
        nom = liste.Item(k, 2);
        break;
      }
    }
  } else {
    const dba::CItem& liste = d_.etat.ListeEtablissements;
    for (int k = 1, n = liste.DCount(); k <= n; ++k) {
      if (LastCharacters(liste.Item(k, 1), kLongueurCode) == code) nom = liste.Item(k, 2);
    }
  }
  if (nom && nom->empty()) nom.reset();
  return nom;
}

void EntiteEtabPickers::Verifier_Code(Paire paire) {
  forms::Control& box = Code(paire);
  const std::string texte = box.Text();
  if (texte.empty()) {
    if (paire == Paire::Etab) d_.ecran.Cbo_Etab.SetText("");
    return;
  }

  const std::string code = PadWithZeros(texte, kLongueurCode);
  if (code != texte) {
    box.SetText(code);  // its Change has checked the padded code
    return;
  }
  if (paire == Paire::Etab && !etabsDe_) {
    // No known entity, so no list to check against (a centre attached to
    // an entity that is gone): the code is kept as read, without a name,
    // rather than reported as unknown and lost.
    d_.ecran.Cbo_Etab.SetText("");
    return;
  }

  const std::optional<std::string> nom = Chercher(paire, code);
  if (!nom) {
    Code_Inconnu(paire, code);
    return;
  }
  Liste(paire).SetText(*nom);
  // Rebuilding for the entity already listed would empty the establishment
  // the clerk chose, only because the focus went through the entity box.
  if (paire == Paire::Entite && etabsDe_ != code) Remplir_Etab();
}

void EntiteEtabPickers::Code_Inconnu(Paire paire, const std::string& code) {
  auto& e = d_.ecran;
  auto& signale = signale_[static_cast<int>(paire)];
  if (signale != code) {
    signale = code;
    d_.services.MsgBox(MessageInconnu(paire == Paire::Entite), forms::MsgButtons::OK,
                       forms::MsgIcon::Exclamation, state::kTitreMessage);
  }
  e.Txt_CodeEtab.SetText("");
  if (paire == Paire::Entite) {
    // The name and the establishments beside the code belong to the entity
    // chosen before; the code itself stays as typed.
    effacementNom_ = true;
    e.Cbo_Entite.SetText("");
    effacementNom_ = false;
    Oublier_Etab();
  } else if (!e.Cbo_Etab.Enabled()) {
    // The pair was locked on the entity's only establishment; the code
    // read in its place does not exist, so the clerk must be able to
    // choose that establishment from the list.
    Ouvrir_Etab();
  }
}

void EntiteEtabPickers::Liste_Click(Paire paire) {
  forms::Control& liste = Liste(paire);
  if (liste.Text().empty()) return;
  const int index = liste.ListIndex();
  if (index < 0) return;
  const std::string valeur = paire == Paire::Entite
                                 ? d_.etat.ListeEntites.Item(index + 1, 1)
                                 : d_.etat.ListeEtablissements.Item(index + 1, 1);
  Code(paire).SetText(paire == Paire::Entite ? valeur : LastCharacters(valeur, kLongueurCode));
}

void EntiteEtabPickers::Liste_Change(Paire paire) {
  if (effacementNom_) return;
  if (Liste(paire).Text().empty()) Code(paire).SetText("");
}

void EntiteEtabPickers::Liste_KeyPress(Paire paire, int& keyAscii) {
  if (keyAscii == forms::kKeyBackspace) {
    Liste(paire).SetText("");
    return;
  }
  if (keyAscii != forms::kKeyTab) keyAscii = 0;  // names are chosen, not typed
}

}  // namespace morvanel::fields
