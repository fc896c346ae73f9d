// What makes a centre key one the screen can hold. Shared by the centre list
// and the code and sigle fields.
#pragma once

#include <string_view>

namespace morvanel::state {

// A centre code the code box can hold and look up: two characters. A key of
// another length (a database imported from elsewhere) must not be put into
// the box, whose lookup would then find no centre, or another one.
[[nodiscard]] bool CodeCentreAffichable(std::string_view code);

}  // namespace morvanel::state
