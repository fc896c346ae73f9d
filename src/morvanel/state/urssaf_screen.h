// UrssafScreen: the constituent controls of Ctr_Urssaf's surface, by name.
// Shared state of the control (src/morvanel/state). Built once by the layout; the logic of
// every subsystem reaches the controls through it.
#pragma once

#include "forms/control.h"
#include "forms/form.h"

namespace morvanel::shell {

struct UrssafScreen {
  view::Form& form;

  view::Control& Etq_CodCtrUrssaf;
  view::Control& Txt_CodCtrUrssaf;
  view::Control& Cbo_SigleCtrUrssaf;
  view::Control& Txt_SigleCtrUrssaf;
  view::Control& Etq_NomCtrUrssaf;
  view::Control& Txt_NomCtrUrssaf;
  view::Control& Ctr_AdresseUrssaf;
  view::Control& Etq_InterlocCtrUrssaf;
  view::Control& Txt_InterlocCtrUrssaf;
  view::Control& Etq_CodOrgCtrUrssaf;
  view::Control& Txt_CodOrgCtrUrssaf;
  view::Control& Etq_CodeSNV2;
  view::Control& Txt_CodeSNV2;
  view::Control& Etq_MontForfait;
  view::Control& Txt_MontForfait;
  view::Control& Etq_EntiteJuridique;
  view::Control& Txt_CodeEntite;
  view::Control& Cbo_Entite;
  view::Control& Etq_Etablissement;
  view::Control& Txt_CodeEtab;
  view::Control& Cbo_Etab;
  view::Control& Cdr_Rapport;
  view::Control& Etq_Date;
  view::Control& Etq_Valeur;
  view::Control& Lst_Date;
  view::Control& Bdv_Date;
  view::Control& Lst_Valeur;
  view::Control& Bdv_Valeur;
  view::Control& Txt_Date;
  view::Control& Txt_Valeur;
  view::Control& Cmd_AjouterRapport;
  view::Control& Cmd_SupprimerRapport;
  view::Control& Cmd_OkRapport;
  view::Control& Cmd_AnnulerRapport;
  view::Control& Cac_DntJPCtrUrssaf;
  view::Control& Cmd_Ajouter;
  view::Control& Cmd_Supprimer;
  view::Control& Cmd_AdresseBancaire;
  view::Control& Cmd_OK;
  view::Control& Cmd_Annuler;
  view::Control& Cmd_Sortir;
  view::Control& Mnu_Aide;
  view::Control& Mnu_Sommaire;
};

}  // namespace morvanel::shell
