// Legal entities (ASSOCIATION), their activities (ACTIVITES) and their
// establishments (ETABLISSEMENT) of the demo database.
// Tools layer (src/tools/demo, no Qt).
#include <algorithm>
#include <array>
#include <string>

#include "dba/dba_error.h"
#include "demo/demo_data.h"

namespace demo {
namespace {

std::string Code3(int n) {
  std::string s = std::to_string(n);
  return std::string(3 - std::min<std::size_t>(3, s.size()), '0') + s;
}

// Attribute 1 = label, attribute 12 = "M" when the activity counts for the
// entity list, "X" otherwise.
DemoRecord Activity(const std::string& key, const std::string& label, const char* counted) {
  std::vector<std::string> a(12);
  a[0] = label;
  a[11] = counted;
  return {key, JoinAttributes(a)};
}

constexpr std::array<const char*, 12> kTowns = {
    "LYON",    "VILLEURBANNE",    "GRENOBLE", "SAINT-ETIENNE", "ANNECY",    "CHAMBERY",
    "VALENCE", "BOURG-EN-BRESSE", "ROANNE",   "VIENNE",        "ANNEMASSE", "MONTELIMAR"};
constexpr std::array<const char*, 8> kPurposes = {"ASSOCIATION D'AIDE A DOMICILE DE",
                                                  "SERVICE DE SOINS INFIRMIERS DE",
                                                  "ASSOCIATION FAMILIALE DE",
                                                  "FOYER DE VIE DE",
                                                  "CENTRE SOCIAL DE",
                                                  "ASSOCIATION D'AIDE AUX PERSONNES AGEES DE",
                                                  "MAISON DES JEUNES DE",
                                                  "ASSOCIATION D'INSERTION DE"};

}  // namespace

EntitySet NamedEntities() {
  EntitySet s;
  s.associations = {{"001", "ASSOCIATION D'AIDE A DOMICILE DU RHONE"},
                    {"002", "SERVICE D'AIDE AUX FAMILLES DE BRETAGNE"},
                    {"125", "ASSOCIATION MEDITERRANEENNE D'ACCOMPAGNEMENT"}};
  s.activities = {Activity("001AD", "Aide à domicile", "M"),
                  Activity("001FO", "Formation des intervenants", "X"),
                  Activity("001SS", "Soins infirmiers à domicile", "M"),
                  Activity("002AD", "Aide aux familles", "M"),
                  Activity("125AD", "Accompagnement des personnes âgées", "M"),
                  Activity("125PO", "Portage de repas", "X")};
  s.establishments = {{"001001", "SIEGE DE LYON"},
                      {"001002", "ANTENNE DE VILLEURBANNE"},
                      {"001003", "ANTENNE DE VENISSIEUX"},
                      {"001004", "AGENCE DE GIVORS"},
                      {"002001", "ETABLISSEMENT UNIQUE DE RENNES"},
                      {"125001", "SIEGE DE MARSEILLE"},
                      {"125002", "AGENCE D'AUBAGNE"},
                      {"125003", "AGENCE DE LA CIOTAT"}};
  return s;
}

EntitySet GeneratedEntities(int entities, int establishmentsPerEntity) {
  if (entities < 0 || entities > 800 || establishmentsPerEntity < 0 ||
      establishmentsPerEntity > 999) {
    throw dba::DbaError(dba::kErrBadArgument,
                        "generated entities: at most 800 entities of at most 999 establishments");
  }
  EntitySet s;
  for (int i = 0; i < entities; ++i) {
    const std::string code = Code3(200 + i);
    const std::string town = kTowns[static_cast<std::size_t>(i) % kTowns.size()];
    const std::string purpose = kPurposes[static_cast<std::size_t>(i / 12) % kPurposes.size()];
    s.associations.push_back({code, purpose + " " + town + " " + code});
    s.activities.push_back(Activity(code + "AD", "Activité principale", "M"));
    if (i % 5 == 4) s.activities.push_back(Activity(code + "SS", "Activité annexe", "X"));
    for (int e = 1; e <= establishmentsPerEntity; ++e) {
      const std::string name =
          e == 1 ? "SIEGE DE " + town : "ANTENNE " + std::to_string(e) + " DE " + town;
      s.establishments.push_back({code + Code3(e), name});
    }
  }
  return s;
}

int GeneratedEntityCount(int scale) {
  if (scale <= 1) return 0;
  return std::min(500, 30 * scale);
}

}  // namespace demo
