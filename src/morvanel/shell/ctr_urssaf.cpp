// Ctr_Urssaf: construction, life cycle (creation, Init, release) and the
// rights. Control shell (src/morvanel/shell).
#include "morvanel/shell/ctr_urssaf.h"

#include <atomic>

#include "components/droits/droits_utilisateur.h"
#include "morvanel/shell/ctr_urssaf_private.h"
#include "morvanel/state/host_requirements.h"
#include "morvanel/state/record_vocabulary.h"
#include "forms/busy_cursor.h"
#include "forms/services.h"

namespace morvanel::shell {
namespace {

std::unique_ptr<forms::Form> NewForm() {
  auto form = std::make_unique<forms::Form>("Ctr_Urssaf", kLargeurEcran, kHauteurEcran);
  CreerControles(*form);
  return form;
}

// A window handle of our own for each control: there is no native window
// here, only a number the help close is told.
long long NewWindowHandle() {
  static std::atomic<long long> suivante{0x00010000};
  return suivante.fetch_add(4);
}

}  // namespace

Ctr_Urssaf::Private::Private(forms::Services& s, state::UrssafProcedures& procs)
    : services(s),
      lib(state::LibraryState::Instance()),
      form(NewForm()),
      ecran(ScreenOf(*form)),
      adresse(*form, ecran.Ctr_AdresseUrssaf),
      ctx{ecran, etat, lib, services, adresse, procs},
      modes(ScreenModesDeps::From(ctx)),
      aide(HelpMenuDeps::From(ctx)),
      centre(data::CentreRecordDeps::From(ctx)),
      liste(data::CentreListDeps::From(ctx)),
      workflow(workflow::WorkflowDeps::From(ctx, centre)),
      codeSigle(fields::CodeSigleDeps::From(ctx)),
      pickers(fields::EntiteEtabDeps::From(ctx)),
      taux(ratehistory::RateHistoryDeps::From(ctx)),
      editeurTaux(ratehistory::RateEditorStatesDeps::From(ctx)),
      snv2Montant(fields::Snv2MontantDeps::From(ctx)),
      editeurRapport(ratehistory::RateEditorDeps::From(ctx, editeurTaux, taux)),
      banque(fields::AdresseBancaireDeps::From(ctx)) {}

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
  d->fenetre = NewWindowHandle();
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
  dba::Database& base = state::RequireDatabase(d->lib, "Init");
  d->lib.F_CentreUrssaf = base.DBOpen(records::kCentreUrssaf);
  d->lib.F_Compteur = base.DBOpen(records::kCompteur);
  d->lib.F_Association = base.DBOpen(records::kAssociation);
  d->lib.F_EltsPartEmp = base.DBOpen(records::kEltsPartEmp);
}

void Ctr_Urssaf::Init() {
  forms::ActionScope action(*d->form);
  state::RequireDatabase(d->lib, "Init");
  if (!d->etat.DroitsUtilisateur) {
    throw HostSetupError("Init : DroitsUtilisateur n'a pas été fourni (le donner avant Init)");
  }
  if (!d->etat.DroitsEcran) {
    throw HostSetupError("Init : les droits de l'écran \"CENTREURSSAF\" sont introuvables");
  }
  state::UrssafScreen& e = d->ecran;
  // A host error or a database failure must not leave the control dead.
  forms::BusyCursor chargement(d->services, *d->form);
  Ouvrir_Fichiers();
  d->adresse.Base_Adresse(d->lib.TheDatabase);
  d->adresse.Parametre4_Adresse(true);
  d->adresse.Parametre3_Adresse(true);
  d->adresse.Parametre5_Adresse(false);
  d->adresse.Init_Adresse();
  if (e.Lst_Date.ListCount() < records::kLignesVisibles) {
    e.Bdv_Date.SetVisible(false);
    e.Bdv_Valeur.SetVisible(false);
  }
  d->liste.Remplir_CentreUrssaf();
  d->services.DoEvents();
  chargement.Release();
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
state::LibraryState& Ctr_Urssaf::Library() { return d->lib; }
state::UrssafScreen& Ctr_Urssaf::Ecran() { return d->ecran; }
components::Adresse& Ctr_Urssaf::Adresse() { return d->adresse; }
state::UrssafProcedures& Ctr_Urssaf::Procedures() { return *this; }
long long Ctr_Urssaf::Fenetre() const { return d->fenetre; }

}  // namespace morvanel::shell
