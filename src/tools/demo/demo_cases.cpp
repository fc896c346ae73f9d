// Case records (ELTSPARTEMP) of the demo database: persons attached to a
// centre through attribute 1. Tools layer (src/tools/demo, no Qt).
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "demo/demo_data.h"

namespace demo {
namespace {

constexpr std::array<const char*, 24> kSurnames = {
    "MARTIN",   "BERNARD", "DUBOIS",  "THOMAS",   "ROBERT",   "RICHARD", "PETIT",  "DURAND",
    "LEROY",    "MOREAU",  "SIMON",   "LAURENT",  "LEFEBVRE", "MICHEL",  "GARCIA", "DAVID",
    "BERTRAND", "ROUX",    "VINCENT", "FOURNIER", "MOREL",    "GIRARD",  "ANDRÉ",  "MERCIER"};
constexpr std::array<const char*, 20> kFirstNames = {
    "Jean",    "Marie",  "Françoise", "Michel", "Monique", "Hélène",    "Pierre",
    "Cécile",  "André",  "Jérôme",    "Élodie", "Noël",    "Joséphine", "René",
    "Thérèse", "Gaëlle", "François",  "Zoé",    "Loïc",    "Anaïs"};
constexpr std::array<const char*, 7> kTowns = {"PARIS", "LYON",     "MARSEILLE", "RENNES",
                                               "LILLE", "BORDEAUX", "NANTES"};

// Share of the case records per centre "01".."07", in percent: uneven, as in
// a real payroll database, so selections of one centre vary in size.
constexpr std::array<int, 7> kCentreShare = {30, 22, 15, 12, 10, 6, 5};

// A small fixed generator: the same records on every platform.
struct Lcg {
  std::uint64_t state = 0x2545F4914F6CDD1DULL;
  std::uint32_t Next() {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state >> 33);
  }
};

int CentreOf(std::uint32_t draw) {
  int slot = static_cast<int>(draw % 100);
  for (std::size_t c = 0; c < kCentreShare.size(); ++c) {
    if (slot < kCentreShare[c]) return static_cast<int>(c);
    slot -= kCentreShare[c];
  }
  return 0;
}

std::string PaddedKey(int n, std::size_t width) {
  std::string s = std::to_string(n);
  return s.size() >= width ? s : std::string(width - s.size(), '0') + s;
}

}  // namespace

int CaseCount(int scale) { return 300 * (scale < 1 ? 1 : scale); }

std::vector<DemoRecord> DemoCases(int scale) {
  const int count = CaseCount(scale);
  const std::size_t width = std::max<std::size_t>(6, std::to_string(count).size());
  std::vector<DemoRecord> out;
  out.reserve(static_cast<std::size_t>(count));
  Lcg rng;
  for (int i = 1; i <= count; ++i) {
    const int centre = CentreOf(rng.Next());
    const std::string surname = kSurnames[rng.Next() % kSurnames.size()];
    const std::string first = kFirstNames[rng.Next() % kFirstNames.size()];
    const int born =
        DayNumber(1930 + static_cast<int>(rng.Next() % 70), 1 + static_cast<int>(rng.Next() % 12),
                  1 + static_cast<int>(rng.Next() % 28));
    const std::string centreCode = "0" + std::to_string(centre + 1);
    out.push_back({PaddedKey(i, width),
                   JoinAttributes({centreCode, surname + " " + first, std::to_string(born),
                                   kTowns[static_cast<std::size_t>(centre)]})});
  }
  return out;
}

}  // namespace demo
