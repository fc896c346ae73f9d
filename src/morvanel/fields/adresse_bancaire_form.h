// Frm_AdresseBancaire: the modal dialog "Coordonnées bancaires" in which the
// bank details of the centre shown (or being created) are entered, through
// the bank-details control Ctr_RIB. Field entry subsystem; drawn by
// whichever binding shows modal forms.
//
// States and transitions (one opening; the function for each):
//   Opened      Cmd_AdresseBancaire_Click: loaded, FermetureAutorisee False,
//               the details shown by ChargerInfos, Copie_Article taken.
//               Read-only when the user may not change data (access level
//               not 2) or there is no record to keep the details in: the
//               fields refuse edits but stay readable and copyable, and
//               "OK" is disabled.
//   -> closed   Cmd_OK_Click, details accepted: kept in Art_CentreUrssaf,
//               nothing written; the centre's save writes them.
//   -> closed   Cmd_Retour_Click, details changed, accepted and the question
//               answered Yes (the six attributes written at once onto the
//               centre as stored, or, in a creation, kept for its save) or
//               No (the six attributes put back as they were at the opening).
//   -> closed   Cmd_Retour_Click, read-only or no field changed: no check,
//               no question, no write.
//   -> stays    either button with details refused (the control's message),
//               Cancel in Retour's question, a write that failed (told), a
//               write refused because another workstation changed the centre
//               (the clerk answered No) or deleted it (told), and
//               the window's close box (Form_QueryUnload refuses it).
// The record written at once becomes the record as read (ArticleInitial), so
// "Sortir" then asks only about the screen's other changes, which stay
// pending in Art_CentreUrssaf.
#pragma once

#include <memory>

#include "components/rib/rib.h"
#include "dba/citem.h"
#include "morvanel/fields/adresse_bancaire_deps.h"
#include "forms/form.h"
#include "morvanel/state/record_vocabulary.h"

namespace morvanel::fields {

// The first of the six attributes of the bank details in a centre record.
inline constexpr int kPremierAttributRib = records::centre::kRib;

class AdresseBancaireForm {
 public:
  explicit AdresseBancaireForm(AdresseBancaireDeps deps);
  ~AdresseBancaireForm();
  AdresseBancaireForm(const AdresseBancaireForm&) = delete;
  AdresseBancaireForm& operator=(const AdresseBancaireForm&) = delete;

  // Installs the opener on the screen's Cmd_AdresseBancaire.
  void Attach();

  // Loads the dialog over the centre shown, shows it modally, and returns
  // once it is closed.
  void Cmd_AdresseBancaire_Click();

  void ChargerInfos();
  void Form_Load();
  void Form_QueryUnload(int& cancel, int unloadMode);
  void Ctr_RIB_GotFocus();
  void Cmd_OK_Click();
  void Cmd_Retour_Click();

  [[nodiscard]] forms::Form& form() const { return *form_; }

 private:
  [[nodiscard]] bool PeutModifier() const;
  // Writes the bank details at once. False when the database refused it
  // (the user is told; the dialog stays).
  [[nodiscard]] bool Enregistrer();
  void Fermer();

  AdresseBancaireDeps d_;
  std::unique_ptr<forms::Form> form_;
  forms::Control& Cmd_Retour;
  forms::Control& Cmd_OK;
  forms::Control& Txt_CodeCentreUrssaf;
  forms::Control& Ctr_RIB;
  components::RIB rib_;  // built on form_, released before it

  bool FermetureAutorisee = false;
  dba::CItem Copie_Article;  // the centre record as it was at the opening
  bool creation_ = false;    // opened with no centre code: nothing to write yet
  bool lectureSeule_ = false;
};

}  // namespace morvanel::fields
