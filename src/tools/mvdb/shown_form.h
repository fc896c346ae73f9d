// The shown form of record text used by mvdb on its command line and in
// export files: marks become printable characters and every other byte that
// could be mistaken for one is escaped, so that text -> shown -> text gives
// back the same bytes. Tools layer (src/tools/mvdb, no Qt).
//
//   stored byte            shown as
//   0xFE attribute mark    ^
//   0xFD value mark        ]
//   0xFC subvalue mark     \          (a backslash)
//   literal ^ ] \ ~        ~^ ~] ~\ ~~
//   control byte (< 0x20 except tab, and 0x7F)   ~xHH (two hex digits)
//   a byte that is part of no UTF-8 character     ~xHH
//
// Shown text is UTF-8: a raw byte that is not part of a well-formed UTF-8
// character (a Windows-1252 "ü" is 0xFC, the subvalue mark) is refused
// rather than taken for a mark or stored as it is.
//
// A tilde escapes rather than a doubled mark because a doubled mark cannot
// be read back: "^^^" would be both a mark then a literal and the reverse.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace mvdb {

class ShownFormError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

[[nodiscard]] std::string ToShown(std::string_view stored);
// Throws ShownFormError for a "~" not followed by ^ ] \ ~ or xHH, and for
// text that is not UTF-8, naming the character.
[[nodiscard]] std::string FromShown(std::string_view shown);

}  // namespace mvdb
