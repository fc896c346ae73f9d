// What makes a centre key one the screen can hold.
#include "morvanel/state/code_centre.h"

#include "forms/utf8_text.h"

namespace morvanel::shell {

namespace {
constexpr int kLongueurCodeCentre = 2;
}  // namespace

bool CodeCentreAffichable(std::string_view code) {
  return view::utf8::CharCount(code) == kLongueurCodeCentre;
}

}  // namespace morvanel::shell
