// Test support for several workstations and crashes on the demo database: a
// seeded model copied afresh for each run, a control opened on a copy as a
// workstation would, and the invariants a database must keep whatever
// happened to the processes that wrote it.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "demo/demo_seed.h"
#include "poste_workflow.h"

namespace morvanel::testing {

// The demo database, seeded once in a temporary folder.
class ModeleDemo {
 public:
  ModeleDemo() {
    auto db = dba::Database::Open(chemin(), {.create = true});
    demo::SeedDemo(*db);
  }
  [[nodiscard]] std::string chemin() const { return base_.dossier() + "/modele.mvdb"; }
  [[nodiscard]] std::string dossier() const { return base_.dossier(); }
  // A fresh copy at `cible`, whatever a former run left there.
  void Copier(const std::string& cible) const {
    for (const char* suffixe : {"", "-wal", "-shm", "-owners"}) {
      std::filesystem::remove(cible + suffixe);
    }
    std::filesystem::copy_file(chemin(), cible);
  }

 private:
  BaseTemporaire base_{false};
};

// Workstations run in child processes and tell their parent, one line per
// operation, through a pipe. Reads from `fd` into `texte` until it holds `lignes` lines or the
// writer is gone; false when gone first.
inline bool LireLignes(int fd, std::string& texte, std::size_t lignes) {
  char tampon[4096];
  while (static_cast<std::size_t>(std::count(texte.begin(), texte.end(), '\n')) < lignes) {
    const ssize_t n = ::read(fd, tampon, sizeof tampon);
    if (n <= 0) return false;
    texte.append(tampon, static_cast<std::size_t>(n));
  }
  return true;
}

// One line to the parent, written once the operation returned.
inline void Dire(int fd, const std::string& ligne) {
  const std::string l = ligne + "\n";
  if (::write(fd, l.data(), l.size()) != static_cast<ssize_t>(l.size())) ::_exit(6);
}

// A control on the database at `chemin`, in a session of its own, Init done.
inline std::unique_ptr<Poste> PosteSur(const std::string& chemin) {
  auto db = dba::Database::Open(chemin, {.busyTimeoutMs = 20000, .lockTimeoutMs = 2000});
  demo::RegisterDemoRoutines(*db);
  auto p = std::make_unique<Poste>(db, 2);
  p->services.SetDefaultAnswer(forms::MsgAnswer::OK);
  p->ctl->Init();
  p->services.takeMessages();
  if (!(*p)["Cmd_Ajouter"].Enabled()) p->saisie.Click((*p)["Cmd_Annuler"]);
  return p;
}

// Every record of a file, by key.
inline std::map<std::string, dba::CItem> Enregistrements(dba::Database& db, const char* fichier) {
  std::map<std::string, dba::CItem> r;
  db.DBOpen(fichier).ForEachRecord([&](std::string_view cle, std::string_view texte) {
    r.emplace(std::string(cle), dba::CItem(std::string(texte)));
  });
  return r;
}

// What must hold after anything: the file and its indexes sound, no centre
// above the counter, no centre missing its sigle, name or declaration flag
// (a half-written one), no case record pointing to a missing centre. One
// line per breach.
inline std::vector<std::string> Incoherences(dba::Database& db) {
  std::vector<std::string> r = db.Check();
  const auto centres = Enregistrements(db, "CENTREURSSAF");
  const std::string compteur = db.DBOpen("COMPTEUR").DBRead("999").Item(12);
  for (const auto& [cle, c] : centres) {
    if (cle > compteur) r.push_back("centre " + cle + " above the counter " + compteur);
    if (c.Item(1).empty() || c.Item(2).empty() || (c.Item(17) != "0" && c.Item(17) != "1")) {
      r.push_back("centre " + cle + " half-written: " + c.Item());
    }
  }
  for (const auto& [cle, d] : Enregistrements(db, "ELTSPARTEMP")) {
    if (!centres.count(d.Item(1))) {
      r.push_back("case record " + cle + " points to missing centre " + d.Item(1));
    }
  }
  return r;
}

}  // namespace morvanel::testing
