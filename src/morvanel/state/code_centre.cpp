// What makes a centre key one the screen can hold.
#include "morvanel/state/code_centre.h"

#include "forms/utf8_text.h"
#include "morvanel/state/record_vocabulary.h"

namespace morvanel::state {

namespace {
constexpr int kLongueurCodeCentre = records::centre::kLongueurCle;
}  // namespace

bool CodeCentreAffichable(std::string_view code) {
  return forms::utf8::CharCount(code) == kLongueurCodeCentre;
}

}  // namespace morvanel::state
