// Character-level helpers for the entry fields: lengths and slices counted in
// characters (UTF-8 code points, not bytes) and upper-casing of French text.
// Field entry subsystem; pure functions, no screen.
#pragma once

#include <string>
#include <string_view>

namespace morvanel::fields {

// Number of characters of a UTF-8 text (a stray continuation byte counts as
// part of the character before it).
[[nodiscard]] int CharacterCount(std::string_view utf8);

// The first / last `n` characters (the whole text when it is shorter).
[[nodiscard]] std::string FirstCharacters(std::string_view utf8, int n);
[[nodiscard]] std::string LastCharacters(std::string_view utf8, int n);

// `texte` preceded by as many "0" as it lacks to reach `longueur` characters.
[[nodiscard]] std::string PadWithZeros(std::string_view texte, int longueur);

// Upper case of ASCII and Latin letters (é -> É, œ -> Œ, ÿ -> Ÿ); every other
// character, and bytes that are not valid UTF-8, are kept as they are.
[[nodiscard]] std::string Uppercase(std::string_view utf8);

[[nodiscard]] inline bool EstChiffre(int keyAscii) { return keyAscii >= '0' && keyAscii <= '9'; }

}  // namespace morvanel::fields
