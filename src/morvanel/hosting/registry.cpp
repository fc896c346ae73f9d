// The registries of controls, as small text files, and the ownership rule
// that keeps another user's code out of a host. Creation by name; built into
// both the control library and the hosting helper.
#include "morvanel/hosting/registry.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace morvanel::registry {
namespace {

std::string Variable(const char* nom) {
  const char* v = std::getenv(nom);
  return v != nullptr ? std::string(v) : std::string();
}

std::optional<Entry> ReadLine(const std::string& ligne) {
  if (ligne.empty() || ligne.front() == '#') return std::nullopt;
  const std::size_t t1 = ligne.find('\t');
  const std::size_t t2 = t1 == std::string::npos ? t1 : ligne.find('\t', t1 + 1);
  if (t2 == std::string::npos) return std::nullopt;  // not ours: skipped, kept out of the way
  return Entry{ligne.substr(0, t1), ligne.substr(t1 + 1, t2 - t1 - 1), ligne.substr(t2 + 1)};
}

bool Valid(const Entry& e) {
  for (const std::string* s : {&e.progId, &e.clsid, &e.library}) {
    if (s->empty() || s->find_first_of("\t\n") != std::string::npos) return false;
  }
  return true;
}

std::string Octal(mode_t mode) {
  char texte[8];
  std::snprintf(texte, sizeof texte, "%04o", static_cast<unsigned>(mode & 07777));
  return texte;
}

// One step of the path: `objet` is the file itself or one of its folders.
void CheckPathStep(const std::string& chemin, const std::filesystem::path& objet,
                   uid_t utilisateur) {
  struct stat st {};
  if (::stat(objet.c_str(), &st) != 0) {
    throw RegistryError("fichier refusé : " + chemin + " (" + objet.string() + " introuvable)");
  }
  const std::string quoi = objet == chemin ? chemin : chemin + " : son dossier " + objet.string();
  if (st.st_uid != utilisateur && st.st_uid != 0) {
    throw RegistryError("fichier refusé : " + quoi + " appartient à l'utilisateur " +
                        std::to_string(st.st_uid) + ", ni à vous ni à root");
  }
  const bool collant = S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX) != 0;
  if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0 && !collant) {
    throw RegistryError("fichier refusé : " + quoi + " est modifiable par d'autres utilisateurs (" +
                        Octal(st.st_mode) + ")");
  }
}

std::optional<Entry> FindChecked(std::string_view progId, const std::string& chemin) {
  if (chemin.empty()) return std::nullopt;
  std::error_code ec;
  if (!std::filesystem::exists(chemin, ec)) return std::nullopt;
  CheckSafe(chemin);
  return Find(progId, chemin);
}

}  // namespace

void CheckSafe(const std::string& chemin, uid_t utilisateur) {
  // The real file and folders, whatever links lead there.
  std::error_code ec;
  const std::filesystem::path reel = std::filesystem::canonical(chemin, ec);
  if (ec) throw RegistryError("fichier refusé : " + chemin + " (introuvable)");
  CheckPathStep(chemin, reel, utilisateur);
  for (std::filesystem::path d = reel.parent_path(); !d.empty(); d = d.parent_path()) {
    CheckPathStep(chemin, d, utilisateur);
    if (d == d.root_path()) break;
  }
}

std::optional<Entry> Lookup(std::string_view progId) {
  std::optional<Entry> entree = FindChecked(progId, RegistryPath());
  if (!entree) entree = FindChecked(progId, SystemRegistryPath());
  if (entree) CheckSafe(entree->library);
  return entree;
}

std::string SystemRegistryPath() {
  if (std::string c = Variable("MORVANEL_SYSTEM_REGISTRY"); !c.empty()) return c;
  return MORVANEL_SYSTEM_REGISTRY_FILE;
}

std::string RegistryPath() {
  if (std::string c = Variable("MORVANEL_REGISTRY"); !c.empty()) return c;
  if (std::string x = Variable("XDG_CONFIG_HOME"); !x.empty()) return x + "/morvanel/registry";
  if (std::string h = Variable("HOME"); !h.empty()) return h + "/.config/morvanel/registry";
  return {};
}

std::vector<Entry> Read(const std::string& chemin) {
  std::vector<Entry> entrees;
  std::ifstream in(chemin);
  if (!in) {
    if (std::filesystem::exists(chemin)) throw RegistryError("registre illisible : " + chemin);
    return entrees;
  }
  std::string ligne;
  while (std::getline(in, ligne)) {
    if (std::optional<Entry> e = ReadLine(ligne)) entrees.push_back(std::move(*e));
  }
  return entrees;
}

void Write(const std::string& chemin, const std::vector<Entry>& entrees) {
  if (chemin.empty()) throw RegistryError("aucun emplacement pour le registre (HOME absent)");
  const std::filesystem::path cible(chemin);
  std::error_code ec;
  if (cible.has_parent_path()) std::filesystem::create_directories(cible.parent_path(), ec);
  const std::string temporaire = chemin + ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temporaire, std::ios::trunc);
    out << "# Morvanel controls: class name, class id, library\n";
    for (const Entry& e : entrees) out << e.progId << '\t' << e.clsid << '\t' << e.library << '\n';
    out.flush();
    if (!out) throw RegistryError("registre impossible à écrire : " + temporaire);
  }
  std::filesystem::rename(temporaire, cible, ec);
  if (ec) {
    std::filesystem::remove(temporaire, ec);
    throw RegistryError("registre impossible à remplacer : " + chemin);
  }
}

void Add(const Entry& entree, const std::string& chemin) {
  if (!Valid(entree)) throw RegistryError("entrée de registre invalide : " + entree.progId);
  std::vector<Entry> entrees = Read(chemin);
  std::erase_if(entrees, [&](const Entry& e) { return e.progId == entree.progId; });
  entrees.push_back(entree);
  Write(chemin, entrees);
}

bool Remove(std::string_view progId, const std::string& chemin) {
  std::vector<Entry> entrees = Read(chemin);
  if (std::erase_if(entrees, [&](const Entry& e) { return e.progId == progId; }) == 0) return false;
  Write(chemin, entrees);
  return true;
}

std::optional<Entry> Find(std::string_view progId, const std::string& chemin) {
  for (Entry& e : Read(chemin)) {
    if (e.progId == progId) return std::move(e);
  }
  return std::nullopt;
}

}  // namespace morvanel::registry
