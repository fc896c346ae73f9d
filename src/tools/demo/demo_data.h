// The demo database's records as plain key/text pairs, generated the same
// way every time, so the benchmark can load identical texts into its
// baseline. Tools layer (src/tools/demo, no Qt).
#pragma once

#include <string>
#include <vector>

namespace demo {

struct DemoRecord {
  std::string key;
  std::string text;  // the record's whole text, marks included
};

struct EntitySet {
  std::vector<DemoRecord> associations;    // ASSOCIATION
  std::vector<DemoRecord> activities;      // ACTIVITES
  std::vector<DemoRecord> establishments;  // ETABLISSEMENT
};

inline constexpr const char* kFileCentres = "CENTREURSSAF";
inline constexpr const char* kFileCounter = "COMPTEUR";
inline constexpr const char* kFileEntities = "ASSOCIATION";
inline constexpr const char* kFileActivities = "ACTIVITES";
inline constexpr const char* kFileEstablishments = "ETABLISSEMENT";
inline constexpr const char* kFileCases = "ELTSPARTEMP";
inline constexpr const char* kFileRights = "DROITS";
inline constexpr const char* kFileJournal = "JOURNAL";
inline constexpr const char* kCounterKey = "999";
inline constexpr const char* kRoutineName = "UNIPGCENTREURSSAF";

// Every file the demo database holds, in creation order.
[[nodiscard]] const std::vector<std::string>& DemoFiles();

// The seven centres "01".."07" and counter record "999".
[[nodiscard]] std::vector<DemoRecord> DemoCentres();
[[nodiscard]] DemoRecord DemoCounter();

// The case records: CaseCount(scale) records keyed "000001" on, spread
// unevenly over the centres ("01" holds the most, "07" the fewest).
[[nodiscard]] int CaseCount(int scale);
[[nodiscard]] std::vector<DemoRecord> DemoCases(int scale);

// The three named legal entities ("001", "002" with one establishment,
// "125"), then generated ones (codes from "200" on).
[[nodiscard]] EntitySet NamedEntities();
[[nodiscard]] EntitySet GeneratedEntities(int entities, int establishmentsPerEntity);
// How many generated entities SeedDemo adds at a scale (500 from 17 on).
[[nodiscard]] int GeneratedEntityCount(int scale);

// Users "admin", "consult" and "clerk" with their screen rights.
[[nodiscard]] std::vector<DemoRecord> DemoRights();

// Stored date of a calendar day: days since 31/12/1967 (01/01/2024 = 20455).
[[nodiscard]] int DayNumber(int year, int month, int day);

// A made-up French IBAN with correct check digits from its 23-character
// national part (bank 5, branch 5, account 11, RIB key 2).
[[nodiscard]] std::string FrenchIban(const std::string& bank, const std::string& branch,
                                     const std::string& account);
// The RIB key of bank, branch and account (digits only), two digits.
[[nodiscard]] std::string RibKey(const std::string& bank, const std::string& branch,
                                 const std::string& account);

// Joins attributes with the attribute mark (attribute 1 first).
[[nodiscard]] std::string JoinAttributes(const std::vector<std::string>& attributes);
// Joins values with the value mark.
[[nodiscard]] std::string JoinValues(const std::vector<std::string>& values);

}  // namespace demo
