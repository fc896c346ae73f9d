// A Ctr_Urssaf on a temporary database seeded with a few centres, legal
// entities and establishments, driven by a clerk through UserInput and the
// headless services. Shared by the field and rate-history tests.
#pragma once

#include <atomic>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "components/client.h"
#include "components/droits/droits_utilisateur.h"
#include "dba/citem.h"
#include "dba/database.h"
#include "morvanel/shell/ctr_urssaf.h"
#include "morvanel/state/instance_state.h"
#include "morvanel/state/urssaf_screen.h"
#include "forms/headless/headless_services.h"
#include "forms/user_input.h"
#include "utilitaires/utilitaires.h"

namespace morvanel::testing {

struct Enregistrement {
  std::string fichier;
  std::string cle;
  std::map<int, std::string> attributs;  // attribute number -> text (values joined)
};

inline std::string Valeurs(const std::vector<std::string>& valeurs) {
  std::string texte;
  for (std::size_t i = 0; i < valeurs.size(); ++i) {
    if (i > 0) texte += dba::kValueMark;
    texte += valeurs[i];
  }
  return texte;
}

inline std::string DateStockee(const char* affichee) {
  return utilitaires::Utilitaires().Convertir_DateStockage(affichee);
}

inline const std::vector<std::string>& FichiersDuPoste() {
  static const std::vector<std::string> fichiers = {"CENTREURSSAF", "COMPTEUR",  "ASSOCIATION",
                                                    "ELTSPARTEMP",  "ACTIVITES", "ETABLISSEMENT"};
  return fichiers;
}

// Entities 001 (whose name holds another entity's code), 002 (one
// establishment), 125 (two) and 300 (none); activity 400 is not "M".
inline std::vector<Enregistrement> EntitesParDefaut() {
  return {
      {"ASSOCIATION", "001", {{1, "CLUB 125"}}},
      {"ASSOCIATION", "002", {{1, "ASSOCIATION DEUX"}}},
      {"ASSOCIATION", "125", {{1, "ENTITE 125"}}},
      {"ASSOCIATION", "300", {{1, "SANS ETABLISSEMENT"}}},
      {"ASSOCIATION", "400", {{1, "NON RETENUE"}}},
      {"ACTIVITES", "001A", {{12, "M"}}},
      {"ACTIVITES", "001B", {{12, "M"}}},
      {"ACTIVITES", "002A", {{12, "M"}}},
      {"ACTIVITES", "125A", {{12, "M"}}},
      {"ACTIVITES", "300A", {{12, "M"}}},
      {"ACTIVITES", "400A", {{12, "N"}}},
      {"ETABLISSEMENT", "001001", {{1, "SIEGE"}}},
      {"ETABLISSEMENT", "001002", {{1, "AGENCE NORD"}}},
      {"ETABLISSEMENT", "002001", {{1, "UNIQUE"}}},
      {"ETABLISSEMENT", "125001", {{1, "LYON"}}},
      {"ETABLISSEMENT", "125002", {{1, "GRENOBLE"}}},
  };
}

// Centre "07" carries a rate history entered oldest first, with an empty
// rate in the middle, and a flat amount; "12" is attached to 125/002.
inline std::vector<Enregistrement> DonneesParDefaut() {
  std::vector<Enregistrement> d = {
      {"CENTREURSSAF",
       "07",
       {{1, "URSSAF RHONE"},
        {2, "URSSAF Rhône-Alpes"},
        {16, "069"},
        {17, "0"},
        {20, Valeurs({DateStockee("01/01/2022"), DateStockee("01/01/2023"),
                      DateStockee("01/01/2024")})},
        {21, Valeurs({"1000", "", "3500"})},
        {22, "1250"}}},
      {"CENTREURSSAF", "12", {{1, "URSSAF PARIS"}, {2, "URSSAF Paris"}, {17, "0"}, {25, "125002"}}},
      {"CENTREURSSAF", "ab", {{1, "MINUSCULES"}, {2, "Centre de test"}, {17, "0"}}},
      {"COMPTEUR", "999", {{12, "12"}}},
  };
  for (auto& r : EntitesParDefaut()) d.push_back(std::move(r));
  return d;
}

// The default data and centre "08" with five rate lines, so that the rate
// lists' bars are shown.
inline std::vector<Enregistrement> CinqLignes() {
  std::vector<Enregistrement> d = DonneesParDefaut();
  std::vector<std::string> dates;
  for (const char* j : {"01/01/2024", "01/01/2023", "01/01/2022", "01/01/2021", "01/01/2020"})
    dates.push_back(DateStockee(j));
  d.push_back({"CENTREURSSAF",
               "08",
               {{1, "URSSAF CINQ"},
                {2, "Cinq lignes"},
                {16, "001"},
                {17, "0"},
                {20, Valeurs(dates)},
                {21, Valeurs({"5000", "4000", "3000", "2000", "1000"})}}});
  return d;
}

class PosteCentres {
 public:
  explicit PosteCentres(const std::vector<Enregistrement>& donnees = DonneesParDefaut(),
                        dba::OpenOptions options = {}) {
    static std::atomic<int> numero{0};
    chemin_ = std::filesystem::temp_directory_path() /
              ("morvanel-poste-" + std::to_string(::getpid()) + "-" +
               std::to_string(numero.fetch_add(1)) + ".mvdb");
    options.create = true;
    db = dba::Database::Open(chemin_.string(), options);
    for (const auto& f : FichiersDuPoste()) db->CreateFile(f);
    for (const auto& r : donnees) Ecrire(r);

    services.SetDefaultAnswer(forms::MsgAnswer::OK);
    ctl = std::make_unique<shell::Ctr_Urssaf>(services);
    ctl->TheDatabase(db);
    ctl->TheClient(std::make_shared<components::Client>("C1", "Société test", "clerk"));
    ctl->DroitsUtilisateur(components::DroitsUtilisateur::Fixe({{"CENTREURSSAF", 2}}));
    ctl->Init();
    saisie = std::make_unique<forms::UserInput>(ctl->Controls(), services);
  }

  ~PosteCentres() {
    saisie.reset();
    ctl.reset();
    db.reset();
    std::error_code ignore;
    for (const char* suffixe : {"", "-wal", "-shm"}) {
      std::filesystem::remove(chemin_.string() + suffixe, ignore);
    }
  }
  PosteCentres(const PosteCentres&) = delete;
  PosteCentres& operator=(const PosteCentres&) = delete;

  void Ecrire(const Enregistrement& r) {
    dba::CItem item = db->DBOpen(r.fichier).DBNew(r.cle);
    for (const auto& [attribut, texte] : r.attributs) item.setItem(attribut, texte);
    item.DBWrite();
  }

  state::UrssafScreen& e() { return ctl->Ecran(); }
  state::InstanceState& etat() { return ctl->Etat(); }
  forms::UserInput& clerc() { return *saisie; }
  [[nodiscard]] std::string Chemin() const { return chemin_.string(); }

  // The texts of the message boxes shown since the last call.
  std::vector<std::string> Messages() {
    std::vector<std::string> textes;
    for (const auto& m : services.takeMessages()) textes.push_back(m.text);
    return textes;
  }

  // The centre `code` shown by typing its code.
  void Montrer(const std::string& code) {
    clerc().Type(e().Txt_CodCtrUrssaf, code);
    services.takeMessages();
  }

  forms::headless::HeadlessServices services;
  std::shared_ptr<dba::Database> db;
  std::unique_ptr<shell::Ctr_Urssaf> ctl;
  std::unique_ptr<forms::UserInput> saisie;

 private:
  std::filesystem::path chemin_;
};

}  // namespace morvanel::testing
