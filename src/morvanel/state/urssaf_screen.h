// UrssafScreen: the constituent controls of Ctr_Urssaf's surface, by name.
// Shared state of the control (src/morvanel/state). Built once by the layout; the logic of
// every subsystem reaches the controls through it.
#pragma once

#include "forms/control.h"
#include "forms/form.h"

namespace morvanel::state {

struct UrssafScreen {
  forms::Form& form;

  forms::Control& Etq_CodCtrUrssaf;
  forms::Control& Txt_CodCtrUrssaf;
  forms::Control& Cbo_SigleCtrUrssaf;
  forms::Control& Txt_SigleCtrUrssaf;
  forms::Control& Etq_NomCtrUrssaf;
  forms::Control& Txt_NomCtrUrssaf;
  forms::Control& Ctr_AdresseUrssaf;
  forms::Control& Etq_InterlocCtrUrssaf;
  forms::Control& Txt_InterlocCtrUrssaf;
  forms::Control& Etq_CodOrgCtrUrssaf;
  forms::Control& Txt_CodOrgCtrUrssaf;
  forms::Control& Etq_CodeSNV2;
  forms::Control& Txt_CodeSNV2;
  forms::Control& Etq_MontForfait;
  forms::Control& Txt_MontForfait;
  forms::Control& Etq_EntiteJuridique;
  forms::Control& Txt_CodeEntite;
  forms::Control& Cbo_Entite;
  forms::Control& Etq_Etablissement;
  forms::Control& Txt_CodeEtab;
  forms::Control& Cbo_Etab;
  forms::Control& Cdr_Rapport;
  forms::Control& Etq_Date;
  forms::Control& Etq_Valeur;
  forms::Control& Lst_Date;
  forms::Control& Bdv_Date;
  forms::Control& Lst_Valeur;
  forms::Control& Bdv_Valeur;
  forms::Control& Txt_Date;
  forms::Control& Txt_Valeur;
  forms::Control& Cmd_AjouterRapport;
  forms::Control& Cmd_SupprimerRapport;
  forms::Control& Cmd_OkRapport;
  forms::Control& Cmd_AnnulerRapport;
  forms::Control& Cac_DntJPCtrUrssaf;
  forms::Control& Cmd_Ajouter;
  forms::Control& Cmd_Supprimer;
  forms::Control& Cmd_AdresseBancaire;
  forms::Control& Cmd_OK;
  forms::Control& Cmd_Annuler;
  forms::Control& Cmd_Sortir;
  forms::Control& Mnu_Aide;
  forms::Control& Mnu_Sommaire;
};

// Empties both rate lists. Their scroll bars go with the lines: a greyed bar
// beside an empty list has nothing to scroll.
inline void ViderListesTaux(UrssafScreen& e) {
  e.Lst_Valeur.Clear();
  e.Lst_Date.Clear();
  e.Bdv_Valeur.SetVisible(false);
  e.Bdv_Date.SetVisible(false);
}

}  // namespace morvanel::state
