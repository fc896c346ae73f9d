// The numbers of a centre record in their stored and shown forms: the
// check-box flag (attribute 17), the flat amount in hundredths (attribute
// 22), the trigger of record "999" (attribute 45). Centre data subsystem.
//
// Stored text that is not a number is read as 0, or as no amount: a record
// damaged elsewhere is shown, never a crash.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace utilitaires {
class Utilitaires;
}

namespace morvanel::data {

// A stored whole number ("1", " 2 "); 0 when the text is not a number.
[[nodiscard]] std::int64_t LireEntier(std::string_view stocke);

// The check box's value for attribute 17: 0 for "0" or no number, else 1.
[[nodiscard]] int ValeurCoche(std::string_view stocke);

// The amount as shown ("1250" -> "12,50"); nullopt when attribute 22 is
// empty or not a whole number (the box is then left as it is).
[[nodiscard]] std::optional<std::string> MontantAffiche(const utilitaires::Utilitaires& u,
                                                        std::string_view stocke);

// The amount typed as stored ("12,5" -> "1250", rounded half away from zero);
// "" for an empty box; nullopt when the text is not a number.
[[nodiscard]] std::optional<std::string> MontantStocke(std::string_view saisi);

}  // namespace morvanel::data
