// The per-user registry of controls, as a small text file. Creation by name;
// built into both the control library and the hosting helper.
#include "morvanel/hosting/registry.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

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

}  // namespace

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
