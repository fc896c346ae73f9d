// The rate history editor. Rate history subsystem.
//
// States (EtatRapport, kept by RateEditorStates; ModeRapport follows it):
//   Consultation  lists and scroll bars usable, entry boxes disabled and
//                 empty, "Ajouter" the only usable button of the frame.
//   Ajout         a new line typed: entry boxes usable (focus on the date),
//                 lists, bars and the rest of the control disabled; "Ok"
//                 and "Annuler" usable.
//   Modification  the selected line typed over: as Ajout, with "Supprimer"
//                 usable too and the boxes holding the line.
//
// Transitions, and the function that performs each:
//   Consultation -> Ajout           "Ajouter"                 Cmd_AjouterRapport_Click
//   Consultation -> Modification    double-click on a line    Lst_Date_DblClick
//   Ajout | Modification
//     -> Consultation               "Ok", entry accepted      Cmd_OkRapport_Click
//                                   (stored, history re-sorted, centre changed)
//     -> unchanged                  "Ok", entry refused (empty box, date not
//                                   valid, rate not a number, date already on
//                                   another line, history full)
//   Ajout -> Consultation           "Annuler", Yes            Cmd_AnnulerRapport_Click
//   Ajout -> unchanged              "Annuler", No
//   Modification -> Consultation    "Annuler"                 Cmd_AnnulerRapport_Click
//   Modification -> Consultation    "Supprimer", either answer Cmd_SupprimerRapport_Click
//                                   (line deleted on Yes)
//   any -> Consultation             Afficher (RapportFalse)
// A handler that does not belong to the current state does nothing; nor does
// any change for a user without full access (the buttons are hidden, a host
// may still call a handler).
//
// The two lists and the two scroll bars follow each other through their
// handlers: whichever moves, the others take its index, and setting the
// index a control already holds raises nothing, so the ripple ends there.
#include "morvanel/ratehistory/rate_editor.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dba/citem.h"
#include "forms/busy_cursor.h"
#include "morvanel/ratehistory/rate_editor_states.h"
#include "morvanel/ratehistory/rate_entry.h"
#include "morvanel/ratehistory/rate_history_model.h"
#include "morvanel/ratehistory/rate_lines.h"
#include "morvanel/state/instance_state.h"
#include "morvanel/state/procedures.h"
#include "morvanel/state/record_vocabulary.h"
#include "morvanel/state/urssaf_context.h"
#include "morvanel/state/urssaf_screen.h"
#include "utilitaires/utilitaires.h"

namespace morvanel::ratehistory {

namespace {

constexpr int kAttrDates = records::centre::kDates;
constexpr int kAttrTaux = records::centre::kTaux;
using records::kLignesVisibles;

constexpr const char* kDateManquante = "Vous devez saisir une date d'application.";
constexpr const char* kTauxManquant = "Vous devez saisir un pourcentage de charges salariales.";
constexpr const char* kDateErronee = "Erreur de saisie dans la date, veuillez la ressaisir.";
constexpr const char* kTauxErrone = "Le pourcentage de charges salariales n'est pas un nombre.";
constexpr const char* kHistoriquePlein = "L'historique des taux ne peut pas dépasser 32767 lignes.";
constexpr const char* kQuitterCreation = "Etes-vous sûr de vouloir quitter cette création ?";
constexpr const char* kSupprimerLigne = "Etes-vous sûr de vouloir supprimer cette ligne ?";

}  // namespace

struct RateEditor::Saisie {
  std::string date;  // stored form
  std::string taux;  // thousandths
};

void RateEditor::Attach() {
  state::UrssafScreen& e = d_.ecran;
  e.Cmd_AjouterRapport.Click = [this] { Cmd_AjouterRapport_Click(); };
  e.Cmd_OkRapport.Click = [this] { Cmd_OkRapport_Click(); };
  e.Cmd_AnnulerRapport.Click = [this] { Cmd_AnnulerRapport_Click(); };
  e.Cmd_SupprimerRapport.Click = [this] { Cmd_SupprimerRapport_Click(); };
  e.Lst_Date.Click = [this] { Lst_Date_Click(); };
  e.Lst_Valeur.Click = [this] { Lst_Valeur_Click(); };
  e.Lst_Date.DblClick = [this] { Lst_Date_DblClick(); };
  e.Lst_Valeur.DblClick = [this] { Lst_Valeur_DblClick(); };
  e.Bdv_Date.Change = [this] { Bdv_Date_Change(); };
  e.Bdv_Valeur.Change = [this] { Bdv_Valeur_Change(); };
  e.Txt_Date.KeyPress = [this](int& k) { Txt_Date_KeyPress(k); };
  e.Txt_Valeur.KeyPress = [this](int& k) { Txt_Valeur_KeyPress(k); };
  e.Txt_Date.LostFocus = [this] { Txt_Date_LostFocus(); };
  e.Txt_Valeur.LostFocus = [this] { Txt_Valeur_LostFocus(); };
  e.Txt_Date.Change = [this] { dateSignalee_ = false; };
}

void RateEditor::Cmd_AjouterRapport_Click() {
  if (d_.etats.Etat() != EtatRapport::Consultation || !d_.PeutModifier()) return;
  if (d_.Historique() == nullptr) return;
  state::UrssafScreen& e = d_.ecran;
  e.Lst_Valeur.SetListIndex(-1);
  e.Lst_Date.SetListIndex(-1);
  e.Txt_Valeur.SetText("");
  e.Txt_Date.SetText("");
  e.Txt_Valeur.SetEnabled(true);
  e.Txt_Date.SetEnabled(true);
  d_.etats.Masquer_Valeur();
  d_.etats.Griser_Valeur();
  d_.etats.Passer(EtatRapport::Ajout);
  e.Cmd_AjouterRapport.SetEnabled(false);
  e.Cmd_AnnulerRapport.SetEnabled(true);
  e.Cmd_OkRapport.SetEnabled(true);
  e.Cmd_SupprimerRapport.SetEnabled(false);
  // Last: disabling the clicked button above sends the focus on.
  e.Txt_Date.SetFocus();
}

void RateEditor::Lst_Date_DblClick() {
  if (d_.etats.Etat() != EtatRapport::Consultation || !d_.PeutModifier()) return;
  state::UrssafScreen& e = d_.ecran;
  if (e.Lst_Date.ListIndex() == -1 || d_.Historique() == nullptr) return;
  e.Txt_Valeur.SetText(e.Lst_Valeur.Text());
  e.Txt_Date.SetText(e.Lst_Date.Text());
  d_.etats.Masquer_Valeur();
  d_.etats.Griser_Valeur();
  d_.etats.Passer(EtatRapport::Modification);
  e.Cmd_AjouterRapport.SetEnabled(false);
  e.Cmd_AnnulerRapport.SetEnabled(true);
  e.Cmd_OkRapport.SetEnabled(true);
  e.Cmd_SupprimerRapport.SetEnabled(true);
  e.Txt_Valeur.SetEnabled(true);
  e.Txt_Date.SetEnabled(true);
}

bool RateEditor::LireSaisie(Saisie& saisie) {
  state::UrssafScreen& e = d_.ecran;
  utilitaires::Utilitaires& u = d_.Utilitaires();
  if (dateSignalee_) {
    // The click left the date box, whose check has just spoken: one click,
    // one message.
    dateSignalee_ = false;
    e.Txt_Date.SetFocus();
    return false;
  }

  if (e.Txt_Date.Text().empty() || e.Txt_Valeur.Text().empty()) {
    forms::Control& vide = e.Txt_Date.Text().empty() ? e.Txt_Date : e.Txt_Valeur;
    d_.Inform(&vide == &e.Txt_Date ? kDateManquante : kTauxManquant);
    vide.SetText("");
    vide.SetFocus();
    return false;
  }

  // A box never left was never completed: "Ok" completes it as leaving does.
  const std::string complete = u.Completer_Date(e.Txt_Date.Text());
  e.Txt_Date.SetText(complete);
  saisie.date = u.Convertir_DateStockage(complete);
  if (saisie.date.empty()) {
    d_.Warn(kDateErronee);
    e.Txt_Date.SetFocus();
    return false;
  }

  std::optional<std::string> taux = TauxStocke(e.Txt_Valeur.Text());
  if (!taux) {
    d_.Warn(kTauxErrone);
    e.Txt_Valeur.SetFocus();
    return false;
  }
  saisie.taux = std::move(*taux);

  if (d_.etats.Etat() == EtatRapport::Ajout && e.Lst_Date.ListCount() >= kLignesMax) {
    d_.Warn(kHistoriquePlein);
    return false;
  }

  return !d_.modele.DateEnDouble();
}

std::optional<RateEditor::Deplacement> RateEditor::RangerEtTrier(const Saisie& saisie) {
  dba::CItem& h = *d_.Historique();
  const bool montre = d_.modele.Montre(h);
  // The cells are seen in place in the record, and each column is written
  // back once.
  std::vector<std::string_view> dates = Cellules(h.Attribute(kAttrDates).Text());
  std::vector<std::string_view> taux = Cellules(h.Attribute(kAttrTaux).Text());
  // A line is its date: a rate column left shorter (empty rates at the end)
  // is filled up first, so that the new rate lands beside its date.
  if (taux.size() < dates.size()) taux.resize(dates.size());

  const std::size_t lignes = dates.size();
  std::size_t position = lignes;
  if (d_.etats.Etat() == EtatRapport::Modification) {
    const int selection = d_.ecran.Lst_Valeur.ListIndex();
    if (selection < 0 || static_cast<std::size_t>(selection) >= dates.size()) return std::nullopt;
    position = static_cast<std::size_t>(selection);
    d_.etat.IndexRapport = selection;
  } else {
    dates.emplace_back();
  }
  if (taux.size() <= position) taux.resize(position + 1);
  dates[position] = saisie.date;
  taux[position] = saisie.taux;
  // The re-sort of Trier_Par_Date(Temp), done on the columns already read:
  // a long history is read and written once, not twice. A history kept in
  // order, as the lists show it, only needs the entry's line put in place.
  std::optional<Deplacement> deplacement;
  std::optional<std::size_t> vers;
  if (montre) vers = PlacerLigne(dates, taux, position);
  if (vers) {
    deplacement = Deplacement{lignes, position, *vers};
  } else {
    TrierLignesParDate(dates, taux, dates.size());
  }
  // Both texts are made before the record changes under the cells.
  const std::string texteDates = Joindre(dates);
  const std::string texteTaux = Joindre(taux);
  h.setItem(kAttrDates, texteDates);
  h.setItem(kAttrTaux, texteTaux);
  if (deplacement) d_.modele.Retenir(&h);  // the lists follow just below
  return deplacement;
}

bool RateEditor::MontrerDeplacement(const Deplacement& ligne, const Saisie& saisie) {
  state::UrssafScreen& e = d_.ecran;
  const bool ajout = ligne.depuis == ligne.lignes;
  // The lists showed the history before the entry, no line chosen but the
  // one typed over: moving that line leaves them as a refill would.
  const int choisie = ajout ? -1 : static_cast<int>(ligne.depuis);
  for (const forms::Control* liste : {&e.Lst_Date, &e.Lst_Valeur}) {
    if (static_cast<std::size_t>(liste->ListCount()) != ligne.lignes ||
        liste->ListIndex() != choisie)
      return false;
  }
  const utilitaires::Utilitaires& u = d_.Utilitaires();
  const int vers = static_cast<int>(ligne.vers);
  for (auto [liste, texte] : {std::pair{&e.Lst_Date, u.Convertir_DateAffichage(saisie.date)},
                              std::pair{&e.Lst_Valeur, TexteTaux(u, saisie.taux)}}) {
    if (!ajout) liste->RemoveItem(choisie);
    liste->AddItem(texte, vers);
  }
  return true;
}

void RateEditor::Remplir() {
  if (d_.etat.ModeAjout) {
    d_.modele.Remplir_ValeurTemp();
  } else {
    d_.modele.Remplir_Valeur();
  }
}

void RateEditor::ReglerBarres() {
  state::UrssafScreen& e = d_.ecran;
  e.Bdv_Valeur.SetMax(std::max(0, e.Lst_Valeur.ListCount() - 1));
  e.Bdv_Date.SetMax(std::max(0, e.Lst_Date.ListCount() - 1));
}

void RateEditor::Cmd_OkRapport_Click() {
  if (d_.etats.Etat() == EtatRapport::Consultation || !d_.PeutModifier()) return;
  if (d_.Historique() == nullptr) return;
  state::UrssafScreen& e = d_.ecran;
  Saisie saisie;
  if (!LireSaisie(saisie)) return;

  e.Txt_Valeur.SetText("");
  e.Txt_Date.SetText("");
  e.Txt_Valeur.SetEnabled(false);
  e.Txt_Date.SetEnabled(false);
  {
    // The re-sort of a long history: the control waits for the lists.
    forms::BusyCursor occupe(d_.services, e.form);
    const std::optional<Deplacement> ligne = RangerEtTrier(saisie);
    if (!ligne || !MontrerDeplacement(*ligne, saisie)) Remplir();
    d_.services.DoEvents();
  }
  ReglerBarres();
  if (e.Lst_Valeur.ListCount() >= kLignesVisibles) e.Bdv_Valeur.SetVisible(true);
  if (e.Lst_Date.ListCount() >= kLignesVisibles) e.Bdv_Date.SetVisible(true);
  AlignerSur(d_.etat.IndexRapport);
  // The centre has changed: deleting it from here would throw that away
  // unseen.
  RevenirConsultation(/*supprimerCentre=*/false);
}

void RateEditor::Cmd_AnnulerRapport_Click() {
  const EtatRapport etat = d_.etats.Etat();
  if (etat == EtatRapport::Consultation) return;
  if (etat == EtatRapport::Ajout && !d_.Confirmer(kQuitterCreation)) {
    d_.ecran.Cmd_Ajouter.SetEnabled(false);
    return;
  }
  RevenirConsultation(/*supprimerCentre=*/true);
}

void RateEditor::Cmd_SupprimerRapport_Click() {
  if (d_.etats.Etat() != EtatRapport::Modification || !d_.PeutModifier()) return;
  state::UrssafScreen& e = d_.ecran;
  if (d_.Confirmer(kSupprimerLigne)) {
    const int ligne = e.Lst_Date.ListIndex();
    if (dba::CItem* h = d_.Historique(); h != nullptr && ligne >= 0) {
      std::vector<std::string> dates = h->Values(kAttrDates);
      std::vector<std::string> taux = h->Values(kAttrTaux);
      const auto position = static_cast<std::size_t>(ligne);
      if (position < dates.size()) dates.erase(dates.begin() + ligne);
      if (position < taux.size()) taux.erase(taux.begin() + ligne);
      h->setValues(kAttrDates, dates);
      h->setValues(kAttrTaux, taux);
    }
    Remplir();
    ReglerBarres();
  }
  if (e.Lst_Valeur.ListCount() < kLignesVisibles) e.Bdv_Valeur.SetVisible(false);
  if (e.Lst_Date.ListCount() < kLignesVisibles) e.Bdv_Date.SetVisible(false);
  RevenirConsultation(/*supprimerCentre=*/true);
}

void RateEditor::RevenirConsultation(bool supprimerCentre) {
  state::UrssafScreen& e = d_.ecran;
  e.Txt_Valeur.SetText("");
  e.Txt_Date.SetText("");
  d_.procs.Afficher();  // every control usable again; the frame browses
  d_.etats.Afficher_Ajouter();
  d_.etats.Degriser_Valeur();
  e.Txt_Valeur.SetEnabled(false);
  e.Txt_Date.SetEnabled(false);
  // Afficher enables the whole screen; the main commands go back to what
  // the screen's own state allows: the code box stays shut on a centre in
  // work, and a creation is left only through "OK" or "Annuler", never
  // through "Sortir", which would drop it unasked.
  e.Txt_CodCtrUrssaf.SetEnabled(false);
  e.Cmd_Ajouter.SetEnabled(false);
  const bool creation = d_.etat.ModeAjout;
  e.Cmd_Sortir.SetEnabled(!creation);
  if (creation || !supprimerCentre) e.Cmd_Supprimer.SetEnabled(false);
  // Last: disabling a control while the focused one is unusable sends the
  // focus on, over an earlier request.
  (creation ? e.Cmd_OK : e.Cmd_Sortir).SetFocus();
}

void RateEditor::AlignerSur(int index) {
  d_.ecran.Lst_Valeur.SetListIndex(index);
  d_.ecran.Lst_Date.SetListIndex(index);
}

void RateEditor::Lst_Date_Click() {
  state::UrssafScreen& e = d_.ecran;
  const int index = e.Lst_Date.ListIndex();
  e.Lst_Valeur.SetListIndex(index);
  // While a line is typed only the selection follows: the boxes and buttons
  // belong to the entry.
  if (d_.etats.Etat() == EtatRapport::Consultation) {
    e.Txt_Valeur.SetText("");
    e.Txt_Date.SetText("");
    d_.etats.Afficher_Ajouter();
    d_.etats.Degriser_Valeur();
  }
  if (index != -1) {
    e.Bdv_Valeur.SetValue(index);
    e.Bdv_Date.SetValue(index);
  }
}

void RateEditor::Lst_Valeur_Click() {
  d_.ecran.Lst_Date.SetListIndex(d_.ecran.Lst_Valeur.ListIndex());
}

void RateEditor::Bdv_Date_Change() {
  state::UrssafScreen& e = d_.ecran;
  const int index = e.Bdv_Date.Value();
  if (index >= e.Lst_Valeur.ListCount()) return;
  AlignerSur(index);
  e.Bdv_Valeur.SetValue(index);
}

void RateEditor::Bdv_Valeur_Change() {
  state::UrssafScreen& e = d_.ecran;
  const int index = e.Bdv_Valeur.Value();
  if (index >= e.Lst_Valeur.ListCount()) return;
  AlignerSur(index);
  e.Bdv_Date.SetValue(index);
}

void RateEditor::Txt_Date_KeyPress(int& keyAscii) { keyAscii = FiltreDate(keyAscii); }

void RateEditor::Txt_Valeur_KeyPress(int& keyAscii) {
  d_.Utilitaires().Filtrer_Nombre(d_.ecran.Txt_Valeur.Text(), keyAscii, 0);
}

void RateEditor::Txt_Date_LostFocus() {
  forms::Control& boite = d_.ecran.Txt_Date;
  dateSignalee_ = false;  // said for this leaving or not at all
  if (boite.Text().empty()) return;
  // A clerk giving the line up is not stopped by its date first; "Ok" still
  // checks it if the line is kept.
  if (d_.ecran.form.ActiveControl() == &d_.ecran.Cmd_AnnulerRapport) return;
  utilitaires::Utilitaires& u = d_.Utilitaires();
  boite.SetText(u.Completer_Date(boite.Text()));
  if (!u.Convertir_DateStockage(boite.Text()).empty()) return;
  d_.Warn(kDateErronee);
  boite.SetFocus();
  dateSignalee_ = true;
}

void RateEditor::Txt_Valeur_LostFocus() {
  forms::Control& boite = d_.ecran.Txt_Valeur;
  if (boite.Text().empty()) return;
  boite.SetText(
      d_.Utilitaires().Formater_NombreControle(boite.Text(), 2, records::centre::kPuissanceTaux));
}

}  // namespace morvanel::ratehistory
