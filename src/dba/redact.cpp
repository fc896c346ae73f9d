// Hiding passwords in messages (see redact.h). Database layer.
#include "dba/redact.h"

#include <cctype>

namespace dba {

namespace {

constexpr std::string_view kMask = "***";

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// The end of a URI's authority (user information, hosts and ports): the
// path, the query, the fragment, or whatever cannot be part of a URI.
std::size_t AuthorityEnd(std::string_view s, std::size_t from) {
  std::size_t i = from;
  while (i < s.size() && s[i] != '/' && s[i] != '?' && s[i] != '#' && !IsSpace(s[i]) &&
         s[i] != '"' && s[i] != '\'') {
    ++i;
  }
  return i;
}

// Hides "user:password@" after each "://".
std::string MaskUserInfo(std::string_view s) {
  std::string out;
  std::size_t done = 0;
  for (std::size_t at = s.find("://"); at != std::string_view::npos; at = s.find("://", at + 3)) {
    const std::size_t start = at + 3;
    const std::size_t end = AuthorityEnd(s, start);
    const std::size_t sign = s.rfind('@', end == 0 ? 0 : end - 1);
    if (sign == std::string_view::npos || sign < start || sign >= end) continue;
    const std::size_t colon = s.find(':', start);
    if (colon == std::string_view::npos || colon > sign) continue;
    out.append(s.substr(done, colon + 1 - done));
    out.append(kMask);
    done = sign;
  }
  out.append(s.substr(done));
  return out;
}

bool NoCaseEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
  }
  return true;
}

// Hides the value of every "password=" (and "sslpassword="): a URI's query
// parameter ends at '&', '#' or a blank; a key=value pair's value is one
// word or a quoted string with backslash escapes.
std::string MaskPasswordValues(const std::string& s) {
  constexpr std::string_view kKey = "password";
  std::string out;
  std::size_t done = 0;
  for (std::size_t i = 0; i + kKey.size() <= s.size(); ++i) {
    if (!NoCaseEqual(std::string_view(s).substr(i, kKey.size()), kKey)) continue;
    std::size_t j = i + kKey.size();
    while (j < s.size() && IsSpace(s[j])) ++j;
    if (j >= s.size() || s[j] != '=') continue;
    ++j;
    while (j < s.size() && IsSpace(s[j])) ++j;
    std::size_t end = j;
    if (end < s.size() && s[end] == '\'') {
      for (++end; end < s.size() && s[end] != '\''; ++end) {
        if (s[end] == '\\' && end + 1 < s.size()) ++end;
      }
      if (end < s.size()) ++end;  // the closing quote
    } else {
      while (end < s.size() && !IsSpace(s[end]) && s[end] != '&' && s[end] != '#') ++end;
    }
    out.append(s, done, j - done);
    out.append(kMask);
    done = end;
    i = end == 0 ? 0 : end - 1;
  }
  out.append(s, done);
  return out;
}

}  // namespace

std::string RedactSecrets(std::string_view text) { return MaskPasswordValues(MaskUserInfo(text)); }

}  // namespace dba
