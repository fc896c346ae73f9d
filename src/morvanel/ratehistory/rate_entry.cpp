// Typed rate and date keys. Rate history subsystem.
#include "morvanel/ratehistory/rate_entry.h"

#include <cstdint>

#include "morvanel/state/record_vocabulary.h"
#include "utilitaires/utilitaires.h"

namespace morvanel::ratehistory {

namespace {
using records::centre::kPuissanceTaux;
constexpr int kSeparateur = '/';
}  // namespace

std::optional<std::string> TauxStocke(std::string_view saisi) {
  const std::optional<std::int64_t> millimes = utilitaires::VersStocke(saisi, kPuissanceTaux);
  if (!millimes) return std::nullopt;
  return std::to_string(*millimes);
}

int FiltreDate(int keyAscii) {
  // Backspace, Tab and the other control keys type no character: turning
  // them into "/" would write one.
  if (keyAscii < ' ') return keyAscii;
  if (keyAscii >= '0' && keyAscii <= '9') return keyAscii;
  return kSeparateur;
}

}  // namespace morvanel::ratehistory
