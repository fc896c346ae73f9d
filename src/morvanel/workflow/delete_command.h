// "Supprimer": deleting the centre shown, after moving the case records
// (ELTSPARTEMP, attribute 1 = centre code) that point to it onto a centre
// the user chooses in Frm_SupprURSSAF. Editing workflow subsystem.
//
// Moves run in transactions of kLotTransfert records. A record locked by
// another workstation is not moved; the centre is then kept and the user
// told how many stayed. The last step selects the attached records again,
// moves the newcomers and deletes the centre in one transaction, so no
// record is left pointing to a deleted centre. Each of these transactions
// first makes sure the target centre still exists: another workstation may
// delete it while the clerk chooses, and its own deletion moves on only the
// records it finds attached in its last transaction.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "morvanel/workflow/transfer_form.h"
#include "morvanel/workflow/workflow_deps.h"

namespace morvanel::workflow {

class RecordValidation;

inline constexpr int kLotTransfert = 2000;

inline constexpr const char* kMsgCibleSupprimee =
    "Le centre URSSAF choisi pour reprendre les dossiers a été supprimé sur un autre poste : "
    "la suppression est abandonnée.";

class DeleteCommand {
 public:
  // `verif` (not owned) must outlive the command.
  DeleteCommand(WorkflowDeps deps, RecordValidation& verif);
  // Installs the handler on Cmd_Supprimer.
  void Attach();

  void Cmd_Supprimer_Click();

  [[nodiscard]] TransferForm& Frm_SupprURSSAF() { return form_; }

 private:
  struct MoveTally {
    int moved = 0;   // moved, or no longer attached (vanished, moved elsewhere)
    int locked = 0;  // locked by another workstation
  };
  // Moves the records of `cles` from `code` to `cible` inside the open
  // transaction.
  MoveTally Deplacer(const std::vector<std::string>& cles, const std::string& code,
                     const std::string& cible);
  [[nodiscard]] std::vector<std::string> ClesAttachees();
  // Batches over the records found first, with progress.
  void TransfererParLots(const std::vector<std::string>& cles, const std::string& code,
                         const std::string& cible);
  // One transaction: select again, move what is still attached, delete the
  // centre when nothing stayed. Returns the records left attached; -1 when
  // records are attached and there is no `cible` to move them to.
  int Terminer(const std::string& code, const std::string& cible);
  void Apres_Suppression();
  // Inside the open transaction: the target centre still exists, so no
  // record is moved onto a centre another workstation deleted meanwhile.
  void ExigerCible(const std::string& cible);

  WorkflowDeps d_;
  RecordValidation& verif_;
  TransferForm form_;
};

}  // namespace morvanel::workflow
