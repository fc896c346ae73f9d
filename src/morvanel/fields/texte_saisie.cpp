// Character-level helpers for the entry fields (UTF-8 lengths, slices,
// padding, upper case). Field entry subsystem; pure functions, no screen.
#include "morvanel/fields/texte_saisie.h"

#include <cstdint>

namespace morvanel::fields {

namespace {

bool EstSuite(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length in bytes of the character starting at `pos`: its lead byte's length
// when the continuation bytes are there, else 1 (the byte is taken alone).
std::size_t LongueurCaractere(std::string_view s, std::size_t pos) {
  const auto c = static_cast<unsigned char>(s[pos]);
  std::size_t n = 1;
  if (c >= 0xC2 && c <= 0xDF)
    n = 2;
  else if (c >= 0xE0 && c <= 0xEF)
    n = 3;
  else if (c >= 0xF0 && c <= 0xF4)
    n = 4;
  if (pos + n > s.size()) return 1;
  for (std::size_t k = 1; k < n; ++k) {
    if (!EstSuite(static_cast<unsigned char>(s[pos + k]))) return 1;
  }
  return n;
}

// Byte offset at which character number `n` (from 0) starts.
std::size_t DebutCaractere(std::string_view s, int n) {
  std::size_t pos = 0;
  for (int i = 0; i < n && pos < s.size(); ++i) pos += LongueurCaractere(s, pos);
  return pos;
}

std::uint32_t Decoder(std::string_view s, std::size_t pos, std::size_t n) {
  const auto c = static_cast<unsigned char>(s[pos]);
  if (n == 1) return c;
  std::uint32_t cp = c & (0xFF >> (n + 1));
  for (std::size_t k = 1; k < n; ++k)
    cp = (cp << 6) | (static_cast<unsigned char>(s[pos + k]) & 0x3F);
  return cp;
}

void Encoder(std::uint32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    // Only the Latin ranges are ever re-encoded here; they fit in 3 bytes.
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::uint32_t Majuscule(std::uint32_t cp) {
  if (cp >= 'a' && cp <= 'z') return cp - 0x20;
  if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) return cp - 0x20;  // à..þ but ÷
  if (cp == 0xFF) return 0x178;                                  // ÿ
  if (cp == 0x131) return 'I';                                   // dotless i
  if (cp == 0x17F) return 'S';                                   // long s
  const bool impair = (cp % 2) == 1;
  if (cp >= 0x100 && cp <= 0x137 && impair) return cp - 1;
  if (cp >= 0x139 && cp <= 0x148 && !impair) return cp - 1;
  if (cp >= 0x14A && cp <= 0x177 && impair) return cp - 1;  // œ included
  if (cp >= 0x179 && cp <= 0x17E && !impair) return cp - 1;
  return cp;
}

}  // namespace

int CharacterCount(std::string_view utf8) {
  int n = 0;
  for (std::size_t pos = 0; pos < utf8.size(); pos += LongueurCaractere(utf8, pos)) ++n;
  return n;
}

std::string FirstCharacters(std::string_view utf8, int n) {
  if (n <= 0) return {};
  return std::string(utf8.substr(0, DebutCaractere(utf8, n)));
}

std::string LastCharacters(std::string_view utf8, int n) {
  const int total = CharacterCount(utf8);
  if (n >= total) return std::string(utf8);
  if (n <= 0) return {};
  return std::string(utf8.substr(DebutCaractere(utf8, total - n)));
}

std::string PadWithZeros(std::string_view texte, int longueur) {
  const int manque = longueur - CharacterCount(texte);
  std::string out;
  if (manque > 0) out.assign(static_cast<std::size_t>(manque), '0');
  out += texte;
  return out;
}

std::string Uppercase(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t n = LongueurCaractere(utf8, pos);
    const auto lead = static_cast<unsigned char>(utf8[pos]);
    if (n == 1 && lead >= 0x80) {
      out += utf8[pos];  // not valid UTF-8: kept as is
    } else {
      const std::uint32_t cp = Decoder(utf8, pos, n);
      const std::uint32_t up = Majuscule(cp);
      if (up == cp)
        out.append(utf8.substr(pos, n));
      else
        Encoder(up, out);
    }
    pos += n;
  }
  return out;
}

}  // namespace morvanel::fields
