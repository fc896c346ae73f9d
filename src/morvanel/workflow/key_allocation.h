// The key of a new centre, handed out from the counter: attribute 12 of
// record "999" of COMPTEUR holds the last key handed out ("01" to "99").
// Editing workflow subsystem.
//
// Keys only grow. A key some centre already has (an import may have left
// the counter behind) is passed over, never overwritten. The caller reads
// the counter, the centres and writes both in one transaction, so two
// workstations never get the same key.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace morvanel::workflow {

inline constexpr int kDerniereCle = 99;  // the key has two digits

inline constexpr const char* kMsgPlusDeCle =
    "Le nombre maximal de centres URSSAF (99) est atteint : impossible d'en créer un autre.";
inline constexpr const char* kMsgCompteurIllisible =
    "Le compteur des centres URSSAF est illisible : impossible de créer un centre.";

// The counter's number: empty or blank text is 0; digits with blanks round
// them are their value; anything else is nullopt (unreadable).
[[nodiscard]] std::optional<long> LireCompteur(std::string_view texte);

enum class RefusCle { CompteurIllisible, PlusDeCle };

// What the clerk reads when no key is handed out.
[[nodiscard]] const char* MessageRefus(RefusCle refus);

struct Allocation {
  std::string cle;                // the key handed out, two digits; "" when refused
  std::optional<RefusCle> refus;  // why no key was handed out
};

// The first key above the counter that `prise` (does a centre have this
// key?) says is free. Refused when the counter is unreadable or no key is
// left up to 99.
[[nodiscard]] Allocation ProchaineCle(std::string_view compteur,
                                      const std::function<bool(const std::string&)>& prise);

}  // namespace morvanel::workflow
