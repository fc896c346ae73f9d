// The key of a new centre from the counter. Editing workflow subsystem.
#include "morvanel/workflow/key_allocation.h"

#include <charconv>
#include <system_error>

namespace morvanel::workflow {
namespace {

std::string_view TrimBlanks(std::string_view t) {
  const auto debut = t.find_first_not_of(' ');
  if (debut == std::string_view::npos) return {};
  const auto fin = t.find_last_not_of(' ');
  return t.substr(debut, fin - debut + 1);
}

std::string TwoDigits(long n) {
  std::string cle = std::to_string(n);
  if (cle.size() < 2) cle.insert(0, 2 - cle.size(), '0');
  return cle;
}

}  // namespace

std::optional<long> LireCompteur(std::string_view texte) {
  const std::string_view t = TrimBlanks(texte);
  if (t.empty()) return 0;
  // A sign is junk to the counter, as anything but digits is.
  if (t.front() < '0' || t.front() > '9') return std::nullopt;
  long n = 0;
  const auto [fin, erreur] = std::from_chars(t.data(), t.data() + t.size(), n);
  if (fin != t.data() + t.size()) return std::nullopt;
  // Past the last key the exact value no longer matters.
  if (erreur == std::errc::result_out_of_range) return kDerniereCle + 1;
  return n;
}

const char* MessageRefus(RefusCle refus) {
  switch (refus) {
    case RefusCle::CompteurIllisible: return kMsgCompteurIllisible;
    case RefusCle::PlusDeCle: return kMsgPlusDeCle;
  }
  return kMsgCompteurIllisible;  // not reached: the switch names every refusal
}

Allocation ProchaineCle(std::string_view compteur,
                        const std::function<bool(const std::string&)>& prise) {
  const std::optional<long> dernier = LireCompteur(compteur);
  if (!dernier) return {"", RefusCle::CompteurIllisible};
  for (long n = *dernier + 1; n <= kDerniereCle; ++n) {
    std::string cle = TwoDigits(n);
    if (!prise(cle)) return {std::move(cle), std::nullopt};
  }
  return {"", RefusCle::PlusDeCle};
}

}  // namespace morvanel::workflow
