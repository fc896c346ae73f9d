// The key of a new centre from the counter. Editing workflow subsystem.
#include "morvanel/workflow/key_allocation.h"

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
  long n = 0;
  for (char c : t) {
    if (c < '0' || c > '9') return std::nullopt;
    // Past the last key the exact value no longer matters.
    if (n <= kDerniereCle) n = n * 10 + (c - '0');
  }
  return n;
}

Allocation ProchaineCle(std::string_view compteur,
                        const std::function<bool(const std::string&)>& prise) {
  const std::optional<long> dernier = LireCompteur(compteur);
  if (!dernier) return {"", kMsgCompteurIllisible};
  for (long n = *dernier + 1; n <= kDerniereCle; ++n) {
    std::string cle = TwoDigits(n);
    if (!prise(cle)) return {std::move(cle), nullptr};
  }
  return {"", kMsgPlusDeCle};
}

}  // namespace morvanel::workflow
