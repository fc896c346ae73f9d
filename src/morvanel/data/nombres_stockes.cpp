// Stored and shown forms of the centre record's numbers. Centre data.
#include "morvanel/data/nombres_stockes.h"

#include "utilitaires/utilitaires.h"

namespace morvanel::data {

std::int64_t LireEntier(std::string_view stocke) {
  return utilitaires::VersStocke(stocke, 0).value_or(0);
}

int ValeurCoche(std::string_view stocke) { return LireEntier(stocke) == 0 ? 0 : 1; }

std::optional<std::string> MontantAffiche(const utilitaires::Utilitaires& u,
                                          std::string_view stocke) {
  if (stocke.empty()) return std::nullopt;
  const std::optional<std::string> nombre = utilitaires::DepuisStocke(stocke, 2);
  if (!nombre) return std::nullopt;
  return u.Formater_Nombre(*nombre, 2, 2, 0);
}

std::optional<std::string> MontantStocke(std::string_view saisi) {
  if (saisi.empty()) return std::string();
  const std::optional<std::int64_t> centiemes = utilitaires::VersStocke(saisi, 2);
  if (!centiemes) return std::nullopt;
  return std::to_string(*centiemes);
}

}  // namespace morvanel::data
