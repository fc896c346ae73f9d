// Frm_SupprURSSAF: the modal form in which the user chooses the centre that
// takes over the case records of a centre being deleted. Editing workflow
// subsystem; drawn by whichever binding shows modal forms.
//
// The form closes only through its two buttons (Form_QueryUnload refuses
// the window's close box). It accepts only a centre that exists and is not
// the one being deleted; "OK" checks the code again, since a read that
// failed while typing leaves an unchecked code in the box.
//
//   TransferForm f(deps);
//   std::string cible = f.Choisir("07", "URSSAF LOIRE");  // "" when cancelled
#pragma once

#include <memory>
#include <string>

#include "dba/citem.h"
#include "forms/form.h"
#include "morvanel/workflow/workflow_deps.h"

namespace morvanel::workflow {

inline constexpr const char* kLegendeSuppression = "Supprimer le centre URSSAF ";

class TransferForm {
 public:
  explicit TransferForm(WorkflowDeps deps);
  ~TransferForm();
  TransferForm(const TransferForm&) = delete;
  TransferForm& operator=(const TransferForm&) = delete;

  // Loads the form for centre `code` (caption with `sigle`), fills it,
  // shows it modally and returns CentreTransfert: the chosen centre's code,
  // or "" when the user cancelled.
  std::string Choisir(const std::string& code, const std::string& sigle);

  [[nodiscard]] forms::Form& form() const { return *form_; }

  void Form_Load();
  void Remplir_Combo();
  void Form_QueryUnload(int& cancel, int unloadMode);
  void Cmd_OKSuppr_Click();
  void Cmd_AnnulerSuppr_Click();
  void Txt_CentreSuppr_Change();
  void Txt_CentreSuppr_KeyPress(int& keyAscii);
  void Txt_CentreSuppr_LostFocus();
  void Cbo_CentreSuppr_Change();
  void Cbo_CentreSuppr_Click();
  void Cbo_CentreSuppr_KeyPress(int& keyAscii);

 private:
  void Attach();
  // The code is the deleted centre's: said, emptied, focused again.
  [[nodiscard]] bool RefuserCentreSupprime();
  void Fermer(std::string centre);

  WorkflowDeps d_;
  std::unique_ptr<forms::Form> form_;
  forms::Control& Label1;
  forms::Control& Label2;
  forms::Control& Txt_CentreSuppr;
  forms::Control& Cbo_CentreSuppr;
  forms::Control& Cmd_OKSuppr;
  forms::Control& Cmd_AnnulerSuppr;

  dba::CItem ListeCentresTransfert;  // attr i: value 1 code, value 2 sigle
  bool FermetureAutorisee = false;
  std::string codeSupprime_;  // the centre being deleted
};

}  // namespace morvanel::workflow
