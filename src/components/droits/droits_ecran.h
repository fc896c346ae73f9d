// DroitsEcran: one user's rights on one screen, as an access level.
// Outside components, rights (no Qt).
#pragma once

#include <cstdint>

namespace components {

// Access levels. Only kNiveauComplet lets a user create, change or delete;
// every other level means consultation only.
inline constexpr std::int32_t kNiveauAucun = 0;  // screen not granted
inline constexpr std::int32_t kNiveauConsultation = 1;
inline constexpr std::int32_t kNiveauComplet = 2;

class DroitsEcran {
 public:
  explicit DroitsEcran(std::int32_t niveau) : niveau_(niveau) {}
  [[nodiscard]] std::int32_t Niveau() const { return niveau_; }

 private:
  std::int32_t niveau_;
};

}  // namespace components
