// Request records and the quoting of values. Database layer.
#include "dba/requete.h"

#include <algorithm>

#include "dba/database.h"

namespace dba {

std::string Requete::Texte() const {
  CItem requete;
  requete.setItem(1, phrase);
  requete.setItem(2, fichier);
  requete.setItem(3, colonnes);
  return requete.Item();
}

bool Citable(std::string_view value) {
  return std::none_of(value.begin(), value.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    // 0xF8 and above never occur in UTF-8 and hold the record marks.
    return c == '"' || c == '[' || c == ']' || b < 0x20 || b == 0x7F || b >= 0xF8;
  });
}

namespace {
// Appending into one string, rather than "\"" + std::string(value), also
// keeps GCC 12's -Wrestrict false alarm out of optimised builds.
std::string Quoted(std::string_view value, std::string_view closing) {
  std::string quoted;
  quoted.reserve(value.size() + closing.size() + 1);
  quoted.append(1, '"').append(value).append(closing);
  return quoted;
}
}  // namespace

std::optional<std::string> Citer(std::string_view value) {
  if (!Citable(value)) return std::nullopt;
  return Quoted(value, "\"");
}

std::optional<std::string> CiterDebut(std::string_view value) {
  if (!Citable(value)) return std::nullopt;
  return Quoted(value, "]\"");
}

CItem DBSelect(Database& db, const Requete& requete) { return db.DBSelect(requete.Texte()); }

std::vector<CItem> DBSelectMany(Database& db, const std::vector<Requete>& requetes) {
  std::vector<std::string> textes;
  for (const Requete& r : requetes) textes.push_back(r.Texte());
  return db.DBSelectMany(textes);
}

}  // namespace dba
