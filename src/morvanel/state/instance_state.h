// InstanceState: the working fields of one Ctr_Urssaf instance.
// Shared state of the control (src/morvanel/state).
//
// The centre record being worked on and the other working records live here,
// one set per instance: two controls placed at the same time must not
// overwrite each other's centre. Only the database, the client and the open
// files are shared library-wide (LibraryState).
#pragma once

#include <memory>
#include <string>

#include "dba/citem.h"

namespace components {
class DroitsUtilisateur;
class DroitsEcran;
}  // namespace components

namespace morvanel::state {

struct InstanceState {
  int W_Sortir = 0;
  int ModeRapport = 0;                   // 1 while a rate line is being added
  dba::CItem ListeCentres;               // attr i: value 1 code, value 2 sigle
  dba::CItem ListeEntites;               // attr k: value 1 entity code, value 2 name
  dba::CItem ListeEtablissements;        // attr k: value 1 ETABLISSEMENT key, value 2 name
  dba::CItem ListeEltsPartEmp;           // attr i: key of an attached case record
  std::unique_ptr<dba::CItem> ItemTemp;  // a new centre's rate history; null before Init
  std::shared_ptr<components::DroitsUtilisateur> DroitsUtilisateur;
  std::shared_ptr<components::DroitsEcran> DroitsEcran;
  bool ModeAjout = false;
  std::string ArticleInitial;  // whole text of the centre record as read
  bool ErreurVerif = false;
  bool ErreurChevauchement = false;

  // Working records; null stands for "Nothing".
  std::unique_ptr<dba::CItem> Art_CentreUrssaf;
  std::unique_ptr<dba::CItem> Art_Compteur;
  std::unique_ptr<dba::CItem> Art_EltsPartEmp;
  std::unique_ptr<dba::CItem> Art_CentreTransfert;
  std::unique_ptr<dba::CItem> Art_Association;
  std::string CentreTransfert;
  int IndexRapport = 0;
};

}  // namespace morvanel::state
