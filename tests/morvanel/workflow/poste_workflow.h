// Test support for the editing workflow: a control on a temporary database,
// a clerk who fills a new centre, and a second workstation (another session
// on the same database file) that holds record locks.
#pragma once

#include <string>

#include "dba/database.h"
#include "poste_controle.h"

namespace morvanel::testing {

inline constexpr const char* kDbErrorPrefix = "Erreur de la base de données : ";

// Another session on the database file of `base`: what another workstation
// would hold.
inline std::shared_ptr<dba::Database> AutrePoste(const BaseTemporaire& base,
                                                 int lockTimeoutMs = 100) {
  return dba::Database::Open(base.dossier() + "/paie.mvdb", {.lockTimeoutMs = lockTimeoutMs});
}

// A control whose session gives up on a locked record after 100 ms.
inline std::unique_ptr<Poste> PosteInitialise(const BaseTemporaire& base, int niveau = 2) {
  auto p = std::make_unique<Poste>(AutrePoste(base), niveau);
  p->ctl->Init();
  p->services.takeMessages();
  return p;
}

// "Ajouter", then the three fields every centre needs.
inline void SaisirCreation(Poste& p, const std::string& sigle,
                           const std::string& nom = "Urssaf test",
                           const std::string& codeOrg = "117") {
  p.saisie.Click(p["Cmd_Ajouter"]);
  p.saisie.Type(p["Txt_SigleCtrUrssaf"], sigle);
  p.saisie.Type(p["Txt_NomCtrUrssaf"], nom);
  p.saisie.Type(p["Txt_CodOrgCtrUrssaf"], codeOrg);
}

inline std::string Attribut(BaseTemporaire& base, const std::string& fichier,
                            const std::string& cle, int a) {
  return dba::CItem(base.Lire(fichier, cle)).Item(a);
}

}  // namespace morvanel::testing
