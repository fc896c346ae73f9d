// DroitsUtilisateur: the rights of the signed-in user, screen by screen.
// Outside components, rights (no Qt).
//
// Built from the database's rights file, or from a fixed table (tests, demo):
//
//   auto droits = components::DroitsUtilisateur::DepuisBase(*db, "clerk");
//   droits->Ecran("CENTREURSSAF")->Niveau();   // 2: full access
//
//   auto lecteur = components::DroitsUtilisateur::Fixe({{"CENTREURSSAF", 1}});
//
// Rights file "DROITS": key = user name; attribute 1 = the screen keys
// (multivalued); attribute 2 = the level of each, value by value parallel to
// attribute 1; attribute 3 = the user's full name (kept, not needed here).
// Decisions:
// - a screen key the user has no entry for gives level 0 (no rights), so a
//   screen nobody granted is never writable by mistake;
// - a level that is missing or not a whole number gives level 0 as well;
// - a user absent from the file is an error (DroitsError), not a silent
//   "no rights": it is a mistake of the installation the host must report;
// - screen keys are compared exactly (they are upper-case by convention);
//   the first entry of a key listed twice wins.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "components/droits/droits_ecran.h"

namespace dba {
class Database;
}

namespace components {

inline constexpr const char* kFichierDroits = "DROITS";

// The rights of a user could not be established (unknown user, empty name).
class DroitsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class DroitsUtilisateur {
 public:
  // Levels by screen key; keys absent from the table have level 0.
  explicit DroitsUtilisateur(std::map<std::string, std::int32_t> niveaux,
                             std::string utilisateur = {});
  virtual ~DroitsUtilisateur();

  // The user's rights on the screen `cleEcran`; never null.
  [[nodiscard]] virtual std::shared_ptr<DroitsEcran> Ecran(std::string_view cleEcran) const;

  [[nodiscard]] const std::string& Utilisateur() const { return utilisateur_; }

  // Reads user `utilisateur` from the rights file of `db`. Throws DroitsError
  // for an empty name or a user the file does not hold; database errors
  // (no rights file: kErrFileNotFound) reach the caller as dba::DbaError.
  [[nodiscard]] static std::shared_ptr<DroitsUtilisateur> DepuisBase(dba::Database& db,
                                                                     std::string_view utilisateur);
  // A fixed table, for tests and hosts without a rights file.
  [[nodiscard]] static std::shared_ptr<DroitsUtilisateur> Fixe(
      std::map<std::string, std::int32_t> niveaux);

 private:
  std::map<std::string, std::int32_t> niveaux_;
  std::string utilisateur_;
};

}  // namespace components
