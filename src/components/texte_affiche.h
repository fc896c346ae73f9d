// How a stored attribute shows in a one-line text box. Shared by the address
// and bank-details components.
#pragma once

#include <string>
#include <string_view>

namespace components {

// Marks cannot be typed or shown in a text box: values and subvalues are
// shown side by side, separated by " / ".
[[nodiscard]] std::string TexteAffiche(std::string_view stocke);

}  // namespace components
