// Frm_AdresseBancaire: layout, opening and handlers (states in the header).
// Field entry subsystem.
#include "morvanel/fields/adresse_bancaire_form.h"

#include <string>
#include <utility>

#include "components/droits/droits_ecran.h"
#include "dba/dba_error.h"
#include "morvanel/state/ecriture_centre.h"
#include "morvanel/state/instance_state.h"
#include "morvanel/state/host_requirements.h"
#include "morvanel/state/urssaf_context.h"
#include "forms/control.h"
#include "forms/form_builder.h"
#include "forms/services.h"

namespace morvanel::fields {
namespace {

constexpr int kLargeur = 5760;  // inner area, twips
constexpr int kHauteur = 2640;
constexpr int kDernierAttributRib = kPremierAttributRib + components::kAttributsRib - 1;
static_assert(kDernierAttributRib == records::centre::kRibDernier);
constexpr const char* kQuestion =
    "Voulez-vous enregistrer les modifications apportées à cet article";

std::unique_ptr<forms::Form> NewForm() {
  auto f = std::make_unique<forms::Form>("Frm_AdresseBancaire", kLargeur, kHauteur);
  f->SetCaption("Coordonnées bancaires");
  using forms::Kind;
  forms::AddAt(*f, Kind::Button, "Cmd_Retour", {4680, 2160, 975, 375}, 0, "Retour");
  forms::AddAt(*f, Kind::Button, "Cmd_OK", {3480, 2160, 975, 375}, 1, "OK");
  forms::Control& code =
      forms::AddAt(*f, Kind::TextBox, "Txt_CodeCentreUrssaf", {360, 2040, 615, 285}, 2);
  // Named after the box: the bank details take the room before it.
  forms::AddAt(*f, Kind::Label, "Etq_CodeCentreUrssaf", {1080, 2070, 1215, 255}, -1,
               "Centre URSSAF");
  code.AccessibleName = "Centre URSSAF";
  // Shows which centre the details are for; typing another code there
  // would change nothing the dialog does.
  code.SetReadOnly(true);
  // Ends where the buttons end: at its full 5655 twips it would run 15
  // twips past the dialog's edge.
  forms::AddAt(*f, Kind::Embedded, "Ctr_RIB", {120, 0, 5535, 2055}, 3).AccessibleName =
      "Coordonnées bancaires";
  return f;
}

bool MemesCoordonnees(const dba::CItem& a, const dba::CItem& b) {
  for (int i = kPremierAttributRib; i <= kDernierAttributRib; ++i) {
    if (a.Item(i) != b.Item(i)) return false;
  }
  return true;
}

}  // namespace

AdresseBancaireDeps AdresseBancaireDeps::From(state::UrssafContext& ctx) {
  state::UrssafProcedures& procs = ctx.procs;
  return AdresseBancaireDeps{ctx.ecran.Txt_CodCtrUrssaf,
                             ctx.ecran.Cmd_AdresseBancaire,
                             ctx.etat,
                             ctx.services,
                             ctx.lib.TheDatabase,
                             ctx.lib.TheClient,
                             ctx.lib.F_CentreUrssaf,
                             [&procs] { procs.Lancer_UNIPG(); }};
}

AdresseBancaireForm::AdresseBancaireForm(AdresseBancaireDeps deps)
    : d_(std::move(deps)),
      form_(NewForm()),
      Cmd_Retour(form_->Get("Cmd_Retour")),
      Cmd_OK(form_->Get("Cmd_OK")),
      Txt_CodeCentreUrssaf(form_->Get("Txt_CodeCentreUrssaf")),
      Ctr_RIB(form_->Get("Ctr_RIB")),
      rib_(*form_, Ctr_RIB, d_.services) {
  form_->Load = [this] { Form_Load(); };
  form_->QueryUnload = [this](int& cancel, int mode) { Form_QueryUnload(cancel, mode); };
  Ctr_RIB.GotFocus = [this] { Ctr_RIB_GotFocus(); };
  Cmd_OK.Click = [this] { Cmd_OK_Click(); };
  Cmd_Retour.Click = [this] { Cmd_Retour_Click(); };
}

AdresseBancaireForm::~AdresseBancaireForm() = default;

void AdresseBancaireForm::Attach() {
  d_.Cmd_AdresseBancaire.Click = [this] { Cmd_AdresseBancaire_Click(); };
}

bool AdresseBancaireForm::PeutModifier() const {
  return d_.etat.DroitsEcran && d_.etat.DroitsEcran->Niveau() == components::kNiveauComplet;
}

void AdresseBancaireForm::Cmd_AdresseBancaire_Click() {
  if (form_->IsUnloaded()) form_->Reset();  // a form loaded again starts afresh
  form_->RaiseLoad();
  Txt_CodeCentreUrssaf.SetText(d_.Txt_CodCtrUrssaf.Text());
  ChargerInfos();
  lectureSeule_ = !PeutModifier() || !d_.etat.Art_CentreUrssaf;
  // Read-only, not disabled: the details stay readable (an IBAN can be
  // copied into a letter), only "OK" is off.
  rib_.LectureSeule_RIB(lectureSeule_);
  Cmd_OK.SetEnabled(!lectureSeule_);
  if (lectureSeule_) {
    Cmd_Retour.SetFocus();
  } else {
    form_->Get("Ctr_RIB.Txt_Titulaire").SetFocus();
  }
  d_.services.ShowModal(*form_);
}

void AdresseBancaireForm::Form_Load() { FermetureAutorisee = false; }

void AdresseBancaireForm::ChargerInfos() {
  std::unique_ptr<dba::CItem>& art = d_.etat.Art_CentreUrssaf;
  creation_ = Txt_CodeCentreUrssaf.Text().empty();
  // No centre code: the details wait in a record of their own for the
  // centre's save. A creation started that record empty ("Ajouter"); what
  // an earlier opening during the same creation put in it is kept.
  if (creation_ && (!d_.etat.ModeAjout || !art)) art = std::make_unique<dba::CItem>();
  dba::CItem vide;
  rib_.Lire_RIB(art ? *art : vide, kPremierAttributRib);
  Copie_Article = dba::CItem(art ? art->Item() : std::string());
}

void AdresseBancaireForm::Form_QueryUnload(int& cancel, int /*unloadMode*/) {
  if (!FermetureAutorisee) cancel = 1;  // only the dialog's own buttons close it
}

void AdresseBancaireForm::Ctr_RIB_GotFocus() {
  rib_.Base_RIB(d_.base);
  rib_.Client_RIB(d_.client);
}

void AdresseBancaireForm::Fermer() {
  FermetureAutorisee = true;
  form_->Unload();
}

bool AdresseBancaireForm::Enregistrer() {
  const dba::CItem& art = *d_.etat.Art_CentreUrssaf;
  state::Ecriture r = state::Ecriture::Refusee;
  try {
    if (!d_.base) {
      throw HostSetupError(
          "Cmd_Retour_Click : TheDatabase n'a pas été fourni (le donner avant Init)");
    }
    // No beep: the dialog's questions come without one.
    // Only the bank details: whatever else the screen holds is unchecked
    // and stays for "OK" or "Sortir" to check, or for "Annuler" to drop.
    r = state::EcrireSurStocke(
        *d_.base, state::RequireFile(d_.F_CentreUrssaf, "Cmd_Retour_Click"), art.Key(),
        d_.etat.ArticleInitial,
        [&art](dba::CItem& stocke) {
          for (int i = kPremierAttributRib; i <= kDernierAttributRib; ++i) {
            stocke.setItem(i, art.Item(i));
          }
        },
        [this] {
          return d_.services.MsgBox(state::kMsgModifieAilleurs, forms::MsgButtons::YesNo,
                                    forms::MsgIcon::Exclamation,
                                    state::kTitreMessage) == forms::MsgAnswer::Yes;
        });
  } catch (const dba::DbaError& e) {
    d_.services.MsgBox(std::string("Erreur de la base de données : ") + e.what(),
                       forms::MsgButtons::OK, forms::MsgIcon::Exclamation, state::kTitreMessage);
    return false;
  }
  if (r == state::Ecriture::Supprime) {
    d_.services.MsgBox(state::kMsgSupprimeAilleurs, forms::MsgButtons::OK,
                       forms::MsgIcon::Exclamation, state::kTitreMessage);
  }
  if (r != state::Ecriture::Faite) return false;  // nothing written: the dialog stays
  // The details written are now as read. The rest stays as first read: a
  // Yes above covered the bank details only, so a later save of the other
  // attributes still asks about changes made elsewhere.
  dba::CItem lu(d_.etat.ArticleInitial);
  for (int i = kPremierAttributRib; i <= kDernierAttributRib; ++i) lu.setItem(i, art.Item(i));
  d_.etat.ArticleInitial = lu.Item();
  try {
    d_.Lancer_UNIPG();
  } catch (const dba::DbaError& e) {
    // The centre is written; only the routine failed.
    d_.services.MsgBox(std::string("Erreur de la base de données : ") + e.what(),
                       forms::MsgButtons::OK, forms::MsgIcon::Exclamation, state::kTitreMessage);
  }
  return true;
}

void AdresseBancaireForm::Cmd_OK_Click() {
  if (lectureSeule_) return;  // disabled; a host may still call the handler
  rib_.Verifier_RIB();
  if (rib_.RIB_Invalide()) return;  // the control told the user and moved the focus
  rib_.Ecrire_RIB(*d_.etat.Art_CentreUrssaf, kPremierAttributRib);
  Fermer();
}

void AdresseBancaireForm::Cmd_Retour_Click() {
  FermetureAutorisee = false;
  // A clerk who only looked leaves, even past details stored before
  // today's checks: refusing them would trap the clerk.
  if (lectureSeule_ || !rib_.RIB_Modifie()) {
    Fermer();
    return;
  }
  rib_.Verifier_RIB();
  if (rib_.RIB_Invalide()) return;
  dba::CItem& art = *d_.etat.Art_CentreUrssaf;
  rib_.Ecrire_RIB(art, kPremierAttributRib);
  if (!MemesCoordonnees(Copie_Article, art)) {
    switch (d_.services.MsgBox(kQuestion, forms::MsgButtons::YesNoCancel,
                               forms::MsgIcon::Exclamation, state::kTitreMessage)) {
      case forms::MsgAnswer::Yes:
        // A new centre has no key yet: its save writes the details.
        if (!creation_ && !Enregistrer()) return;
        break;
      case forms::MsgAnswer::No:
        // Only the six attributes changed since the opening. The whole text
        // goes back, so that attributes added past the end of a short
        // record go too and "Sortir" sees the record as it was.
        art.setItem(Copie_Article.Item());
        break;
      default: return;  // Cancel: the details stay written into the record, the dialog open
    }
  }
  Fermer();
}

}  // namespace morvanel::fields
