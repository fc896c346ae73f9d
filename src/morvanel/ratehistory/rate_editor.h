// The rate history editor of the frame Cdr_Rapport: adding, modifying and
// deleting a line, the two lists and their scroll bars kept on one line, and
// the entry boxes' keys. Rate history subsystem (states in rate_editor.cpp).
#pragma once

#include <cstddef>
#include <optional>

#include "morvanel/ratehistory/rate_editor_deps.h"

namespace morvanel::ratehistory {

class RateEditor {
 public:
  explicit RateEditor(RateEditorDeps deps) : d_(deps) {}
  // Installs the handlers on the frame's controls.
  void Attach();

  void Cmd_AjouterRapport_Click();
  void Cmd_OkRapport_Click();
  void Cmd_AnnulerRapport_Click();
  void Cmd_SupprimerRapport_Click();
  void Lst_Date_Click();
  void Lst_Valeur_Click();
  void Lst_Date_DblClick();
  void Lst_Valeur_DblClick() { Lst_Date_DblClick(); }
  void Bdv_Date_Change();
  void Bdv_Valeur_Change();
  void Txt_Date_KeyPress(int& keyAscii);
  void Txt_Valeur_KeyPress(int& keyAscii);
  void Txt_Date_LostFocus();
  void Txt_Valeur_LostFocus();

 private:
  // The entry as the history stores it; false when the clerk was told why not.
  struct Saisie;
  [[nodiscard]] bool LireSaisie(Saisie& saisie);
  // Where the entry's line was written and where the sort took it, in a
  // history of `lignes` lines before the entry (depuis == lignes: added).
  struct Deplacement {
    std::size_t lignes;
    std::size_t depuis;
    std::size_t vers;
  };
  // Writes the entry into the history (appended, or over the selected line)
  // and re-sorts it newest first. Says where the line went when it alone
  // moved; nullopt when the whole history was reordered or nothing written.
  [[nodiscard]] std::optional<Deplacement> RangerEtTrier(const Saisie& saisie);
  // The lists follow the one line that moved, when they showed the history
  // as it was; false (nothing done) otherwise.
  [[nodiscard]] bool MontrerDeplacement(const Deplacement& ligne, const Saisie& saisie);
  // Both lists rebuilt from the record that holds the history.
  void Remplir();
  void AlignerSur(int index);
  void ReglerBarres();
  // Back to browsing: the frame, then the main screen as its own state has
  // it; `supprimerCentre`: the main "Supprimer" stays usable on a shown centre.
  void RevenirConsultation(bool supprimerCentre);

  RateEditorDeps d_;
  // The date box's check has just told the clerk about the date it holds:
  // "Ok" clicked from that box does not say it a second time.
  bool dateSignalee_ = false;
};

}  // namespace morvanel::ratehistory
