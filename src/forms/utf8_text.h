// UTF-8 helpers of the named-controls layer: texts are stored as UTF-8 and
// measured in characters (MaxLength, cursor), as the user counts them.
// Named-controls layer (src/forms), toolkit-independent.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace forms::utf8 {

// Length in bytes of the well-formed sequence starting at `pos`, or 0 when
// the byte there does not start one (stray continuation byte, overlong form,
// surrogate, beyond U+10FFFF, cut short).
[[nodiscard]] std::size_t SequenceLength(std::string_view text, std::size_t pos);

// Characters of `text`; a byte that starts no well-formed sequence counts
// as one character of its own, so that every byte belongs to a character.
[[nodiscard]] int CharCount(std::string_view text);
// Byte offset of character `index` (clamped to 0..CharCount).
[[nodiscard]] std::size_t ByteOffset(std::string_view text, int index);

// Code points of `text`; an ill-formed byte becomes U+FFFD.
[[nodiscard]] std::vector<char32_t> Decode(std::string_view text);
[[nodiscard]] std::string Encode(char32_t codePoint);

}  // namespace forms::utf8
