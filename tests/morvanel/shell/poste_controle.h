// Test support for the control shell and the centre data: a database in a
// temporary folder with the files the control opens, and a control placed
// on a headless "workstation" with its services and a user at the keyboard.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

#include "components/client.h"
#include "components/droits/droits_utilisateur.h"
#include "dba/database.h"
#include "morvanel/shell/ctr_urssaf.h"
#include "morvanel/state/instance_state.h"
#include "morvanel/state/urssaf_screen.h"
#include "forms/headless/headless_services.h"
#include "forms/user_input.h"

namespace morvanel::testing {

using Attributs = std::map<int, std::string>;

// A fresh database with empty files CENTREURSSAF, COMPTEUR, ASSOCIATION,
// ACTIVITES, ETABLISSEMENT and ELTSPARTEMP (none with `fichiers` false, for
// the demo seeding). Removed with its folder.
class BaseTemporaire {
 public:
  explicit BaseTemporaire(bool fichiers = true) {
    std::string modele =
        (std::filesystem::temp_directory_path() / "morvanel-shell-XXXXXX").string();
    dossier_ = ::mkdtemp(modele.data());
    db_ = dba::Database::Open(dossier_ + "/paie.mvdb", {.create = true});
    if (!fichiers) return;
    for (const char* f :
         {"CENTREURSSAF", "COMPTEUR", "ASSOCIATION", "ACTIVITES", "ETABLISSEMENT", "ELTSPARTEMP"}) {
      db_->CreateFile(f);
    }
  }
  ~BaseTemporaire() {
    db_.reset();
    std::error_code ec;
    std::filesystem::remove_all(dossier_, ec);
  }
  BaseTemporaire(const BaseTemporaire&) = delete;
  BaseTemporaire& operator=(const BaseTemporaire&) = delete;

  [[nodiscard]] const std::shared_ptr<dba::Database>& db() const { return db_; }
  [[nodiscard]] const std::string& dossier() const { return dossier_; }

  // Writes record `cle` of `fichier` with the given attributes.
  void Ecrire(const std::string& fichier, const std::string& cle, const Attributs& attributs) {
    dba::CItem r = db_->DBOpen(fichier).DBNew(cle);
    for (const auto& [a, texte] : attributs) r.setItem(a, texte);
    r.DBWrite();
  }
  [[nodiscard]] std::string Lire(const std::string& fichier, const std::string& cle) {
    return db_->DBOpen(fichier).DBRead(cle).Item();
  }

 private:
  std::string dossier_;
  std::shared_ptr<dba::Database> db_;
};

// One control with its services, given the database, a client and a user
// of access level `niveau` on the screen (not yet Init).
struct Poste {
  explicit Poste(std::shared_ptr<dba::Database> db, int niveau = 2)
      : ctl(std::make_unique<shell::Ctr_Urssaf>(services)), saisie(ctl->Controls(), services) {
    ctl->TheDatabase(std::move(db));
    ctl->TheClient(std::make_shared<components::Client>("C01", "Paie Test", "admin"));
    ctl->DroitsUtilisateur(components::DroitsUtilisateur::Fixe({{"CENTREURSSAF", niveau}}));
  }

  forms::Control& operator[](std::string_view nom) const { return ctl->Controls().Get(nom); }
  [[nodiscard]] state::InstanceState& etat() const { return ctl->Etat(); }
  [[nodiscard]] state::UrssafScreen& ecran() const { return ctl->Ecran(); }

  forms::headless::HeadlessServices services;
  std::unique_ptr<shell::Ctr_Urssaf> ctl;
  forms::UserInput saisie;
};

}  // namespace morvanel::testing
