// Frm_SupprURSSAF: layout and handlers. Editing workflow subsystem.
#include "morvanel/workflow/transfer_form.h"

#include <exception>

#include "morvanel/state/instance_state.h"
#include "morvanel/state/urssaf_context.h"
#include "forms/form_builder.h"
#include "forms/services.h"
#include "morvanel/workflow/record_validation.h"
#include "morvanel/state/record_vocabulary.h"

namespace morvanel::workflow {
namespace {

constexpr int kLargeur = 7905;  // client area, twips
constexpr int kHauteur = 1935;
constexpr int kLongueurCode = records::centre::kLongueurCle;
constexpr const char* kMsgInexistant = "Ce centre URSSAF n'existe pas.";

std::unique_ptr<forms::Form> NewForm() {
  auto f = std::make_unique<forms::Form>("Frm_SupprURSSAF", kLargeur, kHauteur);
  f->SetCaption("Supprimer un centre URSSAF");
  using forms::Kind;
  forms::Control& l1 =
      forms::AddAt(*f, Kind::Label, "Label1", {120, 120, 7575, 615}, 0,
                   "Des aidés sont liés à ce centre URSSAF. Pour le supprimer, indiquer "
                   "sur quel centre vous voulez transférer les dossiers.");
  l1.font.points = 9.75;
  l1.font.bold = true;
  forms::AddAt(*f, Kind::Label, "Label2", {120, 840, 1155, 195}, 1, "Centre URSSAF");
  forms::Control& code =
      forms::AddAt(*f, Kind::TextBox, "Txt_CentreSuppr", {1560, 840, 615, 315}, 2);
  code.MaxLength = kLongueurCode;  // a longer text names no centre
  code.AccessibleName = "Centre URSSAF";
  forms::AddAt(*f, Kind::ComboBox, "Cbo_CentreSuppr", {2400, 840, 5295, 315}, 3).AccessibleName =
      "Sigle";
  forms::AddAt(*f, Kind::Button, "Cmd_OKSuppr", {5760, 1320, 855, 375}, 4, "OK");
  forms::AddAt(*f, Kind::Button, "Cmd_AnnulerSuppr", {6840, 1320, 855, 375}, 5, "Annuler");
  return f;
}

std::string PadCode(const std::string& texte) {
  if (texte.size() >= kLongueurCode) return texte;
  return std::string(kLongueurCode - texte.size(), '0') + texte;
}

}  // namespace

TransferForm::TransferForm(WorkflowDeps deps)
    : d_(deps),
      form_(NewForm()),
      Label1(form_->Get("Label1")),
      Label2(form_->Get("Label2")),
      Txt_CentreSuppr(form_->Get("Txt_CentreSuppr")),
      Cbo_CentreSuppr(form_->Get("Cbo_CentreSuppr")),
      Cmd_OKSuppr(form_->Get("Cmd_OKSuppr")),
      Cmd_AnnulerSuppr(form_->Get("Cmd_AnnulerSuppr")) {
  Attach();
}

TransferForm::~TransferForm() = default;

void TransferForm::Attach() {
  form_->Load = [this] { Form_Load(); };
  form_->QueryUnload = [this](int& cancel, int mode) { Form_QueryUnload(cancel, mode); };
  Cmd_OKSuppr.Click = [this] { Cmd_OKSuppr_Click(); };
  Cmd_AnnulerSuppr.Click = [this] { Cmd_AnnulerSuppr_Click(); };
  Txt_CentreSuppr.Change = [this] { Txt_CentreSuppr_Change(); };
  Txt_CentreSuppr.KeyPress = [this](int& k) { Txt_CentreSuppr_KeyPress(k); };
  Txt_CentreSuppr.LostFocus = [this] { Txt_CentreSuppr_LostFocus(); };
  Cbo_CentreSuppr.Change = [this] { Cbo_CentreSuppr_Change(); };
  Cbo_CentreSuppr.Click = [this] { Cbo_CentreSuppr_Click(); };
  Cbo_CentreSuppr.KeyPress = [this](int& k) { Cbo_CentreSuppr_KeyPress(k); };
}

std::string TransferForm::Choisir(const std::string& code, const std::string& sigle) {
  codeSupprime_ = code;
  if (form_->IsUnloaded()) form_->Reset();  // a form loaded again starts afresh
  form_->RaiseLoad();
  form_->SetCaption(kLegendeSuppression + code + " " + sigle);
  Remplir_Combo();
  Txt_CentreSuppr.SetFocus();
  d_.services.ShowModal(*form_);
  return d_.etat.CentreTransfert;
}

void TransferForm::Form_Load() {
  FermetureAutorisee = false;
  d_.etat.CentreTransfert.clear();
  ListeCentresTransfert = dba::CItem();
}

void TransferForm::Remplir_Combo() {
  // The code comes from our own centre record, but it goes between quotes
  // of a sentence: a code that cannot would select every centre.
  if (ValeurCitable(codeSupprime_)) {
    dba::CItem requete;
    requete.setItem(1, "SSELECT CENTREURSSAF AVEC 0 # \"" + codeSupprime_ + "\" PAR 1");
    requete.setItem(2, "CENTREURSSAF");
    requete.setItem(3, "0 1");
    ListeCentresTransfert = d_.RequireDatabase("Remplir_Combo").DBSelect(requete.Item(), "");
  }
  Cbo_CentreSuppr.Clear();
  // The first entry goes in before any test: no other centre leaves one
  // empty entry, which cannot be chosen.
  std::vector<std::string> sigles;
  int i = 1;
  do {
    sigles.push_back(ListeCentresTransfert.Item(i, 2));
    ++i;
  } while (!ListeCentresTransfert.Item(i, 1).empty());
  Cbo_CentreSuppr.AddItems(std::move(sigles));
  if (Cbo_CentreSuppr.ListCount() == 1 && !Cbo_CentreSuppr.List(0).empty()) {
    Txt_CentreSuppr.SetText(ListeCentresTransfert.Item(1, 1));
  }
}

void TransferForm::Form_QueryUnload(int& cancel, int /*unloadMode*/) {
  if (!FermetureAutorisee) cancel = 1;  // only the form's own buttons close it
}

void TransferForm::Fermer(std::string centre) {
  FermetureAutorisee = true;
  d_.etat.CentreTransfert = std::move(centre);
  form_->Unload();
}

bool TransferForm::RefuserCentreSupprime() {
  if (Txt_CentreSuppr.Text() != codeSupprime_) return false;
  d_.Warn("Les dossiers ne peuvent pas être transférés sur le centre supprimé.");
  Txt_CentreSuppr.SetText("");
  Txt_CentreSuppr.SetFocus();
  return true;
}

void TransferForm::Cmd_OKSuppr_Click() {
  const std::string code = Txt_CentreSuppr.Text();
  if (code.empty()) {
    d_.Inform("Le centre URSSAF est obligatoire.");
    Txt_CentreSuppr.SetFocus();
    return;
  }
  if (RefuserCentreSupprime()) return;
  try {
    const dba::DBFile& centres = d_.File(d_.F_CentreUrssaf, "Cmd_OKSuppr_Click");
    if (centres.DBRead(code).Item().empty()) {
      d_.Warn(kMsgInexistant);
      Txt_CentreSuppr.SetFocus();
      return;
    }
  } catch (const dba::DbaError& e) {
    d_.ReportDbError(e);  // unchecked: the form stays for another try
    return;
  }
  Fermer(code);
}

void TransferForm::Cmd_AnnulerSuppr_Click() { Fermer(""); }

void TransferForm::Txt_CentreSuppr_Change() {
  const std::string code = Txt_CentreSuppr.Text();
  if (code.size() != kLongueurCode) {
    Cbo_CentreSuppr.SetText("");
    return;
  }
  if (RefuserCentreSupprime()) return;
  // A read that fails leaves the code unchecked; "OK" reads it again.
  try {
    d_.etat.Art_CentreTransfert.reset();
    const dba::DBFile& centres = d_.File(d_.F_CentreUrssaf, "Txt_CentreSuppr_Change");
    d_.etat.Art_CentreTransfert = std::make_unique<dba::CItem>(centres.DBRead(code));
  } catch (const dba::DbaError&) {
    return;
  }
  if (d_.etat.Art_CentreTransfert->Item().empty()) {
    d_.Warn(kMsgInexistant);
    Txt_CentreSuppr.SetText("");
    Txt_CentreSuppr.SetFocus();
    return;
  }
  Cbo_CentreSuppr.SetText(d_.etat.Art_CentreTransfert->Item(1));
}

void TransferForm::Txt_CentreSuppr_KeyPress(int& keyAscii) {
  if (keyAscii != forms::kKeyEnter) return;
  Txt_CentreSuppr.SetText(PadCode(Txt_CentreSuppr.Text()));
}

void TransferForm::Txt_CentreSuppr_LostFocus() {
  const std::string texte = Txt_CentreSuppr.Text();
  if (texte.empty() || texte.size() >= kLongueurCode) return;
  Txt_CentreSuppr.SetText(PadCode(texte));
}

void TransferForm::Cbo_CentreSuppr_Change() {
  if (Cbo_CentreSuppr.Text().empty()) Txt_CentreSuppr.SetText("");
}

void TransferForm::Cbo_CentreSuppr_Click() {
  if (Cbo_CentreSuppr.Text().empty()) return;
  Txt_CentreSuppr.SetText(ListeCentresTransfert.Item(Cbo_CentreSuppr.ListIndex() + 1, 1));
}

void TransferForm::Cbo_CentreSuppr_KeyPress(int& keyAscii) {
  if (keyAscii == forms::kKeyBackspace) {
    Cbo_CentreSuppr.SetText("");
    keyAscii = 0;  // emptied already: nothing left to erase
    return;
  }
  if (keyAscii == forms::kKeyTab) return;
  keyAscii = 0;  // the list is only picked from
}

}  // namespace morvanel::workflow
