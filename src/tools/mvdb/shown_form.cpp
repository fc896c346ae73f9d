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

}  // namespace

std::string ToShown(std::string_view stored) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string out;
  out.reserve(stored.size() + stored.size() / 8);
  for (char c : stored) {
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
      out += kEscape;
      out += 'x';
      out += kHex[u >> 4];
      out += kHex[u & 0x0F];
    } else {
      out += c;
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
    } else if (c != kEscape) {
      out += c;
    } else if (i + 1 < shown.size() &&
               (shown[i + 1] == '^' || shown[i + 1] == ']' || shown[i + 1] == '\\' ||
                shown[i + 1] == kEscape)) {
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
