// DroitsUtilisateur: screen rights of a user, from the rights file or a
// fixed table. Outside components, rights (no Qt).
#include "components/droits/droits_utilisateur.h"

#include <charconv>
#include <cstddef>
#include <utility>
#include <vector>

#include "dba/database.h"

namespace components {

namespace {

// A stored level: a whole number, blanks around it tolerated; anything else
// grants nothing.
std::int32_t LireNiveau(std::string_view texte) {
  while (!texte.empty() && texte.front() == ' ') texte.remove_prefix(1);
  while (!texte.empty() && texte.back() == ' ') texte.remove_suffix(1);
  std::int32_t niveau = kNiveauAucun;
  const char* fin = texte.data() + texte.size();
  auto [ptr, erreur] = std::from_chars(texte.data(), fin, niveau);
  if (erreur != std::errc() || ptr != fin) return kNiveauAucun;
  return niveau;
}

}  // namespace

DroitsUtilisateur::DroitsUtilisateur(std::map<std::string, std::int32_t> niveaux,
                                     std::string utilisateur)
    : niveaux_(std::move(niveaux)), utilisateur_(std::move(utilisateur)) {}

DroitsUtilisateur::~DroitsUtilisateur() = default;

std::shared_ptr<DroitsEcran> DroitsUtilisateur::Ecran(std::string_view cleEcran) const {
  auto it = niveaux_.find(std::string(cleEcran));
  return std::make_shared<DroitsEcran>(it == niveaux_.end() ? kNiveauAucun : it->second);
}

std::shared_ptr<DroitsUtilisateur> DroitsUtilisateur::DepuisBase(dba::Database& db,
                                                                 std::string_view utilisateur) {
  if (utilisateur.empty()) throw DroitsError("Aucun utilisateur n'est indiqué.");
  dba::DBFile droits = db.DBOpen(kFichierDroits);
  dba::CItem fiche = droits.DBRead(utilisateur);
  if (fiche.Item().empty()) {
    throw DroitsError("L'utilisateur " + std::string(utilisateur) +
                      " n'existe pas dans le fichier des droits.");
  }
  const std::vector<std::string> ecrans = fiche.Values(1);
  const std::vector<std::string> niveaux = fiche.Values(2);
  std::map<std::string, std::int32_t> table;
  for (std::size_t i = 0; i < ecrans.size(); ++i) {
    if (ecrans[i].empty()) continue;
    const std::int32_t niveau = i < niveaux.size() ? LireNiveau(niveaux[i]) : kNiveauAucun;
    table.emplace(ecrans[i], niveau);  // emplace keeps the first entry of a key
  }
  return std::make_shared<DroitsUtilisateur>(std::move(table), std::string(utilisateur));
}

std::shared_ptr<DroitsUtilisateur> DroitsUtilisateur::Fixe(
    std::map<std::string, std::int32_t> niveaux) {
  return std::make_shared<DroitsUtilisateur>(std::move(niveaux));
}

}  // namespace components
