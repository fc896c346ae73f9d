// "Supprimer" and the move of the attached case records.
// Editing workflow subsystem (states in screen_state.h).
#include "morvanel/workflow/delete_command.h"

#include <algorithm>
#include <optional>

#include "morvanel/state/instance_state.h"
#include "morvanel/state/procedures.h"
#include "morvanel/state/record_vocabulary.h"
#include "morvanel/state/urssaf_context.h"
#include "morvanel/state/urssaf_screen.h"
#include "forms/busy_cursor.h"
#include "forms/services.h"
#include "morvanel/workflow/record_validation.h"
#include "morvanel/workflow/screen_state.h"

namespace morvanel::workflow {
namespace {

using records::eltspartemp::kCentre;
constexpr const char* kTexteProgression = "Transfert des dossiers";

// The centre chosen to take the records over was deleted by another
// workstation after the clerk chose it: thrown inside a transaction, which
// its unwinding rolls back.
struct CibleSupprimee {};

}  // namespace

void DeleteCommand::ExigerCible(const std::string& cible) {
  if (cible.empty()) return;
  if (d_.File(d_.F_CentreUrssaf, "Cmd_Supprimer_Click").DBRead(cible).Item().empty()) {
    throw CibleSupprimee{};
  }
}

DeleteCommand::DeleteCommand(WorkflowDeps deps, RecordValidation& verif)
    : d_(deps), verif_(verif), form_(deps) {}

void DeleteCommand::Attach() {
  d_.ecran.Cmd_Supprimer.Click = [this] { Cmd_Supprimer_Click(); };
}

std::vector<std::string> DeleteCommand::ClesAttachees() {
  const dba::CItem liste = verif_.EltsPartEmp();
  // One pass over the result: Item(i) would rescan it from the start for
  // every key, quadratic on the 10,000 records of a large centre.
  const std::string_view texte = liste.Item();
  std::vector<std::string> cles;
  if (texte.empty()) return cles;
  std::size_t debut = 0;
  for (;;) {
    const std::size_t fin = texte.find(dba::kAttributeMark, debut);
    cles.emplace_back(texte.substr(debut, fin == std::string_view::npos ? fin : fin - debut));
    if (fin == std::string_view::npos) break;
    debut = fin + 1;
  }
  return cles;
}

DeleteCommand::MoveTally DeleteCommand::Deplacer(const std::vector<std::string>& cles,
                                                 const std::string& code,
                                                 const std::string& cible) {
  const dba::DBFile& dossiers = d_.File(d_.F_EltsPartEmp, "Cmd_Supprimer_Click");
  // The records are read together, in one round trip to a server; when one
  // of them is locked, one by one, so that only the locked ones are skipped.
  std::vector<dba::CItem> lus;
  try {
    lus = dossiers.DBReadMany(cles);
  } catch (const dba::DbaError& e) {
    if (e.number() != dba::kErrRecordLocked) throw;
  }
  MoveTally b;
  for (std::size_t i = 0; i < cles.size(); ++i) {
    const std::string& cle = cles[i];
    try {
      dba::CItem dossier = lus.empty() ? dossiers.DBRead(cle) : std::move(lus[i]);
      // A case may name several centres: only the deleted one is replaced.
      // None named (gone, or moved by someone else meanwhile): no longer
      // ours to move.
      std::vector<std::string> centres = dossier.Values(kCentre);
      bool nomme = false;
      for (std::string& c : centres) {
        if (c != code) continue;
        c = cible;
        nomme = true;
      }
      if (nomme) {
        dossier.setValues(kCentre, centres);
        dossier.DBWrite();
      }
      ++b.moved;
    } catch (const dba::DbaError& e) {
      // Inside a transaction a locked record fails at once and nothing of
      // it was written: skipped, counted. Any other error ends the batch.
      if (e.number() != dba::kErrRecordLocked) throw;
      ++b.locked;
    }
  }
  return b;
}

void DeleteCommand::TransfererParLots(const std::vector<std::string>& cles, const std::string& code,
                                      const std::string& cible) {
  dba::Database& base = d_.RequireDatabase("Cmd_Supprimer_Click");
  const int total = static_cast<int>(cles.size());
  for (int debut = 0; debut < total; debut += kLotTransfert) {
    const int fin = std::min(total, debut + kLotTransfert);
    const std::vector<std::string> lot(cles.begin() + debut, cles.begin() + fin);
    dba::Transaction t(base);
    ExigerCible(cible);
    Deplacer(lot, code, cible);  // the locked ones are counted again at the end
    t.Commit();
    d_.services.Progress(kTexteProgression, fin, total);
  }
}

int DeleteCommand::Terminer(const std::string& code, const std::string& cible) {
  dba::Transaction t(d_.RequireDatabase("Cmd_Supprimer_Click"));
  const std::vector<std::string> cles = ClesAttachees();
  if (!cles.empty() && cible.empty()) return -1;  // rolled back: nothing written
  ExigerCible(cible);
  const MoveTally b = Deplacer(cles, code, cible);
  if (b.locked == 0) {
    d_.File(d_.F_CentreUrssaf, "Cmd_Supprimer_Click").DBDelete(code);
  }
  t.Commit();
  return b.locked;
}

void DeleteCommand::Apres_Suppression() {
  try {
    d_.procs.Lancer_UNIPG();
  } catch (const dba::DbaError& e) {
    d_.ReportDbError(e);  // the centre is deleted; only the routine failed
  }
  d_.procs.Vider_Donnees();
  // Emptied before the refill: with one centre left, the refill shows it,
  // and its history must stay on screen for the duplicate-date check.
  state::ViderListesTaux(d_.ecran);
  try {
    d_.procs.Remplir_CentreUrssaf();
  } catch (const dba::DbaError& e) {
    d_.ReportDbError(e);
  }
}

void DeleteCommand::Cmd_Supprimer_Click() {
  if (EtatCourant(d_) != EtatEcran::CentreAffiche) return;
  state::UrssafScreen& e = d_.ecran;
  d_.services.Beep();
  if (d_.services.MsgBox("Etes-vous sûr de vouloir supprimer cet article ?",
                         forms::MsgButtons::YesNo, forms::MsgIcon::Exclamation,
                         state::kTitreMessage) != forms::MsgAnswer::Yes) {
    return;
  }
  const std::string code = e.Txt_CodCtrUrssaf.Text();
  const std::string sigle = e.Txt_SigleCtrUrssaf.Text();
  std::optional<forms::BusyCursor> occupe;
  try {
    // The usual centre has no case records: deleted at once, the records
    // looked for in the deletion's own transaction.
    std::vector<std::string> cles;
    std::string cible;
    int restants = Terminer(code, "");
    if (restants < 0) {  // records attached: they need a centre to go to
      cible = form_.Choisir(code, sigle);
      if (cible.empty()) return;  // cancelled: nothing changed
      occupe.emplace(d_.services, e.form);
      if (cles.empty()) cles = ClesAttachees();
      TransfererParLots(cles, code, cible);
      restants = Terminer(code, cible);
      d_.services.Progress(kTexteProgression, 1, 1);
    }
    occupe.reset();
    if (restants > 0) {
      d_.Warn(std::to_string(restants) +
              " dossier(s) n'ont pas pu être transférés : le centre URSSAF est conservé.");
      return;
    }
  } catch (const dba::DbaError& err) {
    d_.services.Progress(kTexteProgression, 1, 1);
    occupe.reset();
    d_.ReportDbError(err);  // the centre stays; batches already moved stay moved
    return;
  } catch (const CibleSupprimee&) {
    d_.services.Progress(kTexteProgression, 1, 1);
    occupe.reset();
    d_.Warn(kMsgCibleSupprimee);  // the centre stays, still shown
    return;
  }
  Apres_Suppression();
}

}  // namespace morvanel::workflow
