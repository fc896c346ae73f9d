// What a clerk types into the rate editor, turned into what the history
// stores. Rate history subsystem; pure functions, no screen.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvanel::ratehistory {

// The lists and their positions are 16-bit: a history holds at most this
// many lines.
inline constexpr int kLignesMax = 32767;

// The typed percentage as stored, in thousandths ("6,85" -> "6850",
// "1,005" -> "1005"), computed on the decimal digits: a double would store
// 6,85 as 6849. nullopt when the text is not a number (",", "12abc") or is
// too large to store.
[[nodiscard]] std::optional<std::string> TauxStocke(std::string_view saisi);

// The date box's key filter: digits and control keys (Backspace, Tab) pass,
// any other key is a separator and becomes "/".
[[nodiscard]] int FiltreDate(int keyAscii);

}  // namespace morvanel::ratehistory
