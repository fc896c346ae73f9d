// Conversion between stored record text and its shown form.
// Tools layer (src/tools/mvdb, no Qt).
#include "shown_form.h"

#include "dba/citem.h"

namespace mvdb {
namespace {

constexpr char kEscape = '~';

bool IsControl(unsigned char c) { return (c < 0x20 && c != '\t') || c == 0x7F; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The length of the well-formed UTF-8 sequence starting at `i` (no overlong
// form, no surrogate, nothing above U+10FFFF), or 0 when there is none.
std::size_t Utf8Length(std::string_view s, std::size_t i) {
  const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b = at(i);
  if (b < 0x80) return 1;
  std::size_t n = 0;
  unsigned char lo = 0x80, hi = 0xBF;  // the range of the second byte
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3;
    if (b == 0xE0) lo = 0xA0;
    if (b == 0xED) hi = 0x9F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4;
    if (b == 0xF0) lo = 0x90;
    if (b == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (i + n > s.size() || at(i + 1) < lo || at(i + 1) > hi) return 0;
  for (std::size_t k = 2; k < n; ++k) {
    if (at(i + k) < 0x80 || at(i + k) > 0xBF) return 0;
  }
  return n;
}

void AppendHex(std::string& out, unsigned char u) {
  static const char* const kHex = "0123456789ABCDEF";
  out += kEscape;
  out += 'x';
  out += kHex[u >> 4];
  out += kHex[u & 0x0F];
}

}  // namespace

std::string ToShown(std::string_view stored) {
  std::string out;
  out.reserve(stored.size() + stored.size() / 8);
  for (std::size_t i = 0; i < stored.size(); ++i) {
    const char c = stored[i];
    const auto u = static_cast<unsigned char>(c);
    if (c == dba::kAttributeMark) {
      out += '^';
    } else if (c == dba::kValueMark) {
      out += ']';
    } else if (c == dba::kSubvalueMark) {
      out += '\\';
    } else if (c == '^' || c == ']' || c == '\\' || c == kEscape) {
      out += kEscape;
      out += c;
    } else if (IsControl(u)) {
      AppendHex(out, u);
    } else if (const std::size_t n = Utf8Length(stored, i); n == 0) {
      AppendHex(out, u);  // a byte of no character: shown text stays UTF-8
    } else {
      out.append(stored.substr(i, n));
      i += n - 1;
    }
  }
  return out;
}

std::string FromShown(std::string_view shown) {
  std::string out;
  out.reserve(shown.size());
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const char c = shown[i];
    if (c == '^') {
      out += dba::kAttributeMark;
    } else if (c == ']') {
      out += dba::kValueMark;
    } else if (c == '\\') {
      out += dba::kSubvalueMark;
    } else if (static_cast<unsigned char>(c) >= 0x80) {
      const std::size_t n = Utf8Length(shown, i);
      if (n == 0) {
        std::string hex;
        AppendHex(hex, static_cast<unsigned char>(c));
        throw ShownFormError("byte 0x" + hex.substr(2) + " at position " + std::to_string(i + 1) +
                             " is not UTF-8 text (write it " + hex + ")");
      }
      out.append(shown.substr(i, n));
      i += n - 1;
    } else if (c != kEscape) {
      out += c;
    } else if (i + 1 < shown.size() && (shown[i + 1] == '^' || shown[i + 1] == ']' ||
                                        shown[i + 1] == '\\' || shown[i + 1] == kEscape)) {
      out += shown[++i];
    } else if (i + 3 < shown.size() && shown[i + 1] == 'x' && HexDigit(shown[i + 2]) >= 0 &&
               HexDigit(shown[i + 3]) >= 0) {
      out += static_cast<char>(HexDigit(shown[i + 2]) * 16 + HexDigit(shown[i + 3]));
      i += 3;
    } else {
      throw ShownFormError("bad escape at character " + std::to_string(i + 1) +
                           ": write ~^ ~] ~\\ ~~ or ~xHH");
    }
  }
  return out;
}

}  // namespace mvdb
