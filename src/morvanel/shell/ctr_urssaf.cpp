// Ctr_Urssaf: construction, life cycle (creation, Init, release) and the
// rights. Control shell (src/morvanel/shell).
#include "morvanel/shell/ctr_urssaf.h"

#include <atomic>

#include "components/droits/droits_utilisateur.h"
#include "morvanel/shell/ctr_urssaf_private.h"
#include "morvanel/state/prerequis.h"
#include "morvanel/state/record_vocabulary.h"
#include "forms/services.h"

namespace morvanel::shell {
namespace {

std::unique_ptr<forms::Form> NouveauFormulaire() {
  auto form = std::make_unique<forms::Form>("Ctr_Urssaf", kLargeurEcran, kHauteurEcran);
  CreerControles(*form);
  return form;
}

// A window handle of our own for each control: there is no native window
// here, only a number the help close is told.
long long NouvelleFenetre() {
  static std::atomic<long long> suivante{0x00010000};
  return suivante.fetch_add(4);
}

// Init shows the hourglass and disables the control while it loads; a host
// error or a database failure must not leave the control dead.
class Chargement {
 public:
  Chargement(forms::Services& services, forms::Form& form) : services_(services), form_(form) {
    services_.SetMousePointer(forms::MousePointer::Hourglass);
    form_.SetEnabled(false);
  }
  ~Chargement() {
    if (termine_) return;
    services_.SetMousePointer(forms::MousePointer::Default);
    form_.SetEnabled(true);
  }
  Chargement(const Chargement&) = delete;
  Chargement& operator=(const Chargement&) = delete;
  void Terminer() { termine_ = true; }

 private:
  forms::Services& services_;
  forms::Form& form_;
  bool termine_ = false;
};

}  // namespace

Ctr_Urssaf::Private::Private(forms::Services& s, state::UrssafProcedures& procs)
    : services(s),
      lib(state::LibraryState::Instance()),
      form(NouveauFormulaire()),
      ecran(EcranDe(*form)),
      adresse(*form, ecran.Ctr_AdresseUrssaf),
      ctx{ecran, etat, lib, services, adresse, procs},
      modes(ScreenModesDeps::De(ctx)),
      aide(HelpMenuDeps::De(ctx)),
      centre(data::CentreRecordDeps::De(ctx)),
      liste(data::CentreListDeps::De(ctx)),
      workflow(workflow::WorkflowDeps::De(ctx)),
      codeSigle(fields::CodeSigleDeps::De(ctx)),
      pickers(fields::EntiteEtabDeps::De(ctx)),
      taux(ratehistory::RateHistoryDeps::De(ctx)),
      editeurTaux(ratehistory::RateEditorStatesDeps::De(ctx)),
      snv2Montant(fields::Snv2MontantDeps::De(ctx)),
      editeurRapport(ratehistory::RateEditorDeps::De(ctx, editeurTaux, taux)),
      banque(fields::AdresseBancaireDeps::De(ctx)) {}

Ctr_Urssaf::Ctr_Urssaf(forms::Services& services)
    : d(std::make_unique<Private>(services, static_cast<state::UrssafProcedures&>(*this))) {
  d->codeSigle.Attach();
  d->ecran.Txt_CodCtrUrssaf.Change = [p = d.get()] { p->Txt_CodCtrUrssaf_Change(); };
  d->pickers.Attach();
  d->aide.Attach();
  d->workflow.Attach();
  d->snv2Montant.Attach();
  d->editeurRapport.Attach();
  d->banque.Attach();
  d->lib.AddInstance();
  UserControl_Initialize();
}

Ctr_Urssaf::~Ctr_Urssaf() { UserControl_Terminate(); }

void Ctr_Urssaf::UserControl_Initialize() {
  d->fenetre = NouvelleFenetre();
  d->aide.MettreEnPlace(d->fenetre);
  d->form->helpFile = d->lib.helpFile;
}

void Ctr_Urssaf::UserControl_Terminate() noexcept {
  d->etat.DroitsUtilisateur.reset();
  d->etat.DroitsEcran.reset();
  if (d->lib.Instances() == 1) {
    try {
      d->aide.Fermer();
    } catch (...) {  // the help window is gone already: nothing left to close
    }
  }
  // This control's working records; the shared ones go with the last control.
  d->etat.Art_CentreUrssaf.reset();
  d->etat.Art_CentreTransfert.reset();
  d->etat.Art_Compteur.reset();
  d->etat.Art_EltsPartEmp.reset();
  d->etat.Art_Association.reset();
  d->lib.RemoveInstance();
}

void Ctr_Urssaf::DroitsUtilisateur(std::shared_ptr<components::DroitsUtilisateur> droits) {
  forms::ActionScope action(*d->form);
  d->etat.DroitsUtilisateur = std::move(droits);
  d->etat.DroitsEcran =
      d->etat.DroitsUtilisateur ? d->etat.DroitsUtilisateur->Ecran("CENTREURSSAF") : nullptr;
}

void Ctr_Urssaf::TheClient(std::shared_ptr<components::Client> client) {
  d->lib.TheClient = std::move(client);
}

void Ctr_Urssaf::TheDatabase(std::shared_ptr<dba::Database> database) {
  d->lib.TheDatabase = std::move(database);
}

void Ctr_Urssaf::Ouvrir_Fichiers() {
  dba::Database& base = state::BaseRequise(d->lib, "Init");
  d->lib.F_CentreUrssaf = base.DBOpen(records::kCentreUrssaf);
  d->lib.F_Compteur = base.DBOpen(records::kCompteur);
  d->lib.F_Association = base.DBOpen(records::kAssociation);
  d->lib.F_EltsPartEmp = base.DBOpen(records::kEltsPartEmp);
}

void Ctr_Urssaf::Init() {
  forms::ActionScope action(*d->form);
  state::BaseRequise(d->lib, "Init");
  if (!d->etat.DroitsUtilisateur) {
    throw HostSetupError("Init : DroitsUtilisateur n'a pas été fourni (le donner avant Init)");
  }
  if (!d->etat.DroitsEcran) {
    throw HostSetupError("Init : les droits de l'écran \"CENTREURSSAF\" sont introuvables");
  }
  state::UrssafScreen& e = d->ecran;
  Chargement chargement(d->services, *d->form);
  Ouvrir_Fichiers();
  d->adresse.Base_Adresse(d->lib.TheDatabase);
  d->adresse.Parametre4_Adresse(true);
  d->adresse.Parametre3_Adresse(true);
  d->adresse.Parametre5_Adresse(false);
  d->adresse.Init_Adresse();
  if (e.Lst_Date.ListCount() < 4) {
    e.Bdv_Date.SetVisible(false);
    e.Bdv_Valeur.SetVisible(false);
  }
  d->liste.Remplir_CentreUrssaf();
  d->services.DoEvents();
  chargement.Terminer();
  d->services.SetMousePointer(forms::MousePointer::Default);
  d->form->SetEnabled(true);
  // The only centre was shown while the control was still disabled, so the
  // lookup could not put the focus in the sigle box: it goes there now.
  if (e.Txt_CodCtrUrssaf.Enabled()) {
    e.Txt_CodCtrUrssaf.SetFocus();
  } else if (e.Txt_SigleCtrUrssaf.Visible()) {
    e.Txt_SigleCtrUrssaf.SetFocus();
  }
  if (e.Txt_CodCtrUrssaf.Text().empty()) d->modes.Griser();
  Appliquer_Droits();
  d->etat.ItemTemp = std::make_unique<dba::CItem>();
}

void Ctr_Urssaf::Appliquer_Droits() { d->modes.Appliquer_Droits(); }

state::InstanceState& Ctr_Urssaf::Etat() { return d->etat; }
state::LibraryState& Ctr_Urssaf::Bibliotheque() { return d->lib; }
state::UrssafScreen& Ctr_Urssaf::Ecran() { return d->ecran; }
components::Adresse& Ctr_Urssaf::Adresse() { return d->adresse; }
state::UrssafProcedures& Ctr_Urssaf::Procedures() { return *this; }
long long Ctr_Urssaf::Fenetre() const { return d->fenetre; }

}  // namespace morvanel::shell
