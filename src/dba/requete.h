// Requete: a request record (query sentence, file, columns) for DBSelect,
// and the one rule for putting a value between the quotes of a sentence.
// Part of the database layer (src/dba, no Qt).
//
//   const std::optional<std::string> code = dba::Citer(typed);   // "\"07\""
//   if (!code) return;                         // no record can hold such a value
//   dba::CItem found = dba::DBSelect(*db, {"SSELECT ELTSPARTEMP AVEC 1 = " + *code,
//                                          "ELTSPARTEMP", "0"});
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dba/citem.h"

namespace dba {

class Database;

struct Requete {
  std::string phrase;          // attribute 1: "SSELECT CENTREURSSAF PAR 1"
  std::string fichier;         // attribute 2: the sentence's file, or ""
  std::string colonnes = "0";  // attribute 3: attribute numbers, one blank apart; 0 the key

  // The request record's whole text, as DBSelect takes it.
  [[nodiscard]] std::string Texte() const;
};

// Whether `value` can stand between a sentence's quotes with its plain
// meaning: it holds no quote (which would end the value and let the rest
// be read as sentence), no "[" or "]" (which turn equality into ends-with or
// begins-with), no record mark (which would split the request record) and
// no other control byte.
[[nodiscard]] bool Citable(std::string_view value);

// `value` between quotes, ready for a sentence; nullopt when it is not
// Citable. CiterDebut asks for the values that begin with `value`.
[[nodiscard]] std::optional<std::string> Citer(std::string_view value);
[[nodiscard]] std::optional<std::string> CiterDebut(std::string_view value);

// Runs the request on `db` (see Database::DBSelect).
[[nodiscard]] CItem DBSelect(Database& db, const Requete& requete);
// Runs the requests together (see Database::DBSelectMany).
[[nodiscard]] std::vector<CItem> DBSelectMany(Database& db, const std::vector<Requete>& requetes);

}  // namespace dba
