// "Ajouter", "OK", "Annuler" and the save they share with "Sortir".
// Editing workflow subsystem (states in screen_state.h).
#include "morvanel/workflow/save_commands.h"

#include <memory>
#include <optional>

#include "morvanel/state/centre_writer.h"
#include "morvanel/state/ecriture_centre.h"
#include "morvanel/state/instance_state.h"
#include "morvanel/state/record_vocabulary.h"
#include "morvanel/state/procedures.h"
#include "morvanel/state/urssaf_context.h"
#include "morvanel/state/urssaf_screen.h"
#include "forms/busy_cursor.h"
#include "forms/services.h"
#include "morvanel/workflow/key_allocation.h"
#include "morvanel/workflow/screen_state.h"

namespace morvanel::workflow {

void SaveCommands::Attach() {
  d_.ecran.Cmd_Ajouter.Click = [this] { Cmd_Ajouter_Click(); };
  d_.ecran.Cmd_OK.Click = [this] { Cmd_OK_Click(); };
  d_.ecran.Cmd_Annuler.Click = [this] { Cmd_Annuler_Click(); };
}

void SaveCommands::Cmd_Ajouter_Click() {
  if (EtatCourant(d_) != EtatEcran::Recherche) return;
  state::UrssafScreen& e = d_.ecran;
  state::InstanceState& etat = d_.etat;
  // A creation starts from an empty record: nothing of a centre shown
  // before (its bank details above all) may reach the new one. The
  // bank-details dialog fills this record during the creation; the save
  // carries what it holds over to the new centre.
  etat.Art_CentreUrssaf = std::make_unique<dba::CItem>();
  etat.ArticleInitial.clear();
  etat.ModeAjout = true;  // before Afficher, which keeps Supprimer off then
  d_.procs.Afficher();
  BoutonsPour(d_, EtatEcran::Creation);
  e.Cbo_SigleCtrUrssaf.SetVisible(false);
  e.Txt_SigleCtrUrssaf.SetVisible(true);
  e.Txt_SigleCtrUrssaf.SetEnabled(true);
  e.Txt_CodCtrUrssaf.SetEnabled(false);
  if (etat.ItemTemp) etat.ItemTemp->setItem("");
  e.Bdv_Valeur.SetMax(0);
  d_.procs.Remplir_Entite();
  d_.procs.Remplir_Etab();
  // Last: disabling the focused button or the code box above sends the
  // focus on to the next control, which must not win over the sigle.
  e.Txt_SigleCtrUrssaf.SetFocus();
}

bool SaveCommands::EcrireNouveauCentre(dba::Database& base) {
  state::InstanceState& etat = d_.etat;
  const dba::DBFile& compteurs = d_.File(d_.F_Compteur, "Cmd_OK_Click");
  const dba::DBFile& centres = d_.File(d_.F_CentreUrssaf, "Cmd_OK_Click");
  // The record typed so far keeps the bank details of this creation; it is
  // put back if anything below fails, so a second "OK" still has them.
  std::unique_ptr<dba::CItem> saisi = std::move(etat.Art_CentreUrssaf);
  try {
    dba::Transaction t(base);
    dba::CItem compteur = compteurs.ReadLocked(records::compteur::kCle);
    const Allocation a =
        ProchaineCle(compteur.Item(records::compteur::kDernierCentre),
                     [&](const std::string& cle) { return !centres.DBRead(cle).Item().empty(); });
    if (a.refus) {
      etat.Art_CentreUrssaf = std::move(saisi);
      t.Rollback();
      d_.Warn(MessageRefus(*a.refus));
      return false;
    }
    compteur.setItem(records::compteur::kDernierCentre, a.cle);
    compteur.DBWrite();
    auto nouveau = std::make_unique<dba::CItem>(centres.DBNew(a.cle));
    if (saisi) {
      // Bank details, kept by their own dialog in the record being worked on.
      for (int i = records::centre::kRib; i <= records::centre::kRibDernier; ++i) {
        nouveau->setItem(i, saisi->Item(i));
      }
    }
    etat.Art_CentreUrssaf = std::move(nouveau);
    d_.centre.EcrireChamps().DBWrite();
    t.Commit();
    etat.Art_Compteur = std::make_unique<dba::CItem>(std::move(compteur));
  } catch (...) {
    etat.Art_CentreUrssaf = std::move(saisi);
    throw;
  }
  return true;
}

bool SaveCommands::EcrireCentreAffiche(dba::Database& base,
                                       std::optional<forms::BusyCursor>& occupe) {
  state::InstanceState& etat = d_.etat;
  if (!etat.Art_CentreUrssaf) return true;  // nothing was read: nothing to write
  const state::Ecriture r = state::EcrireSiInchange(
      base, d_.File(d_.F_CentreUrssaf, "Cmd_OK_Click"), d_.centre.EcrireChamps(),
      etat.ArticleInitial, [&] {
        occupe.reset();  // the question comes over a usable screen
        d_.services.Beep();
        const bool oui = d_.services.MsgBox(state::kMsgModifieAilleurs, forms::MsgButtons::YesNo,
                                            forms::MsgIcon::Exclamation,
                                            state::kTitreMessage) == forms::MsgAnswer::Yes;
        if (oui) occupe.emplace(d_.services, d_.ecran.form);
        return oui;
      });
  switch (r) {
    case state::Ecriture::Faite: etat.ArticleInitial = etat.Art_CentreUrssaf->Item(); return true;
    case state::Ecriture::Refusee: return false;  // the clerk kept the other workstation's changes
    case state::Ecriture::Supprime:
      occupe.reset();
      d_.Warn(state::kMsgSupprimeAilleurs);
      return false;
  }
  return false;
}

void SaveCommands::Lancer_UNIPG() {
  try {
    d_.procs.Lancer_UNIPG();
  } catch (const dba::DbaError& e) {
    d_.ReportDbError(e);  // the centre is written; only the routine failed
  }
}

bool SaveCommands::Enregistrer() {
  dba::Database& base = d_.RequireDatabase("Cmd_OK_Click");
  std::optional<forms::BusyCursor> occupe(std::in_place, d_.services, d_.ecran.form);
  try {
    if (d_.etat.ModeAjout) {
      if (!EcrireNouveauCentre(base)) return false;
    } else {
      if (!EcrireCentreAffiche(base, occupe)) return false;
    }
  } catch (const dba::DbaError& e) {
    occupe.reset();  // the message comes over a usable screen
    d_.ReportDbError(e);
    return false;
  }
  Lancer_UNIPG();
  return true;
}

void SaveCommands::Cmd_OK_Click() {
  if (EtatCourant(d_) == EtatEcran::Recherche) return;
  if (!verif_.DonneesValides()) return;  // the check told the user and moved the focus
  if (!Enregistrer()) return;

  state::UrssafScreen& e = d_.ecran;
  {
    forms::BusyCursor occupe(d_.services, e.form);
    e.Cbo_SigleCtrUrssaf.Clear();
    try {
      d_.procs.Remplir_CentreUrssaf();
    } catch (const dba::DbaError& err) {
      d_.ReportDbError(err);  // saved; the list is refilled at the next save or Init
    }
    d_.services.DoEvents();
  }
  state::ViderListesTaux(e);
  d_.procs.Vider_Donnees();
  Cmd_Annuler_Click();
}

void SaveCommands::Cmd_Annuler_Click() {
  if (EtatCourant(d_) == EtatEcran::Creation) {
    d_.services.Beep();
    const forms::MsgAnswer r = d_.services.MsgBox(
        "Etes-vous sûr de vouloir quitter cette création ?", forms::MsgButtons::YesNo,
        forms::MsgIcon::Exclamation, state::kTitreMessage);
    if (r != forms::MsgAnswer::Yes) return;
  }
  d_.procs.Vider_Donnees();
  state::ViderListesTaux(d_.ecran);
}

}  // namespace morvanel::workflow
