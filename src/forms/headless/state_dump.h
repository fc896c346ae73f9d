// StateDump: the state of every control of a form as JSON text, for the
// scenario runner's dump and for test failure reports.
// Headless binding of the named-controls layer.
//
// {"form":"Ctr_Urssaf","caption":"","enabled":true,"unloaded":false,"focused":"Txt_Code",
//  "controls":[{"path":"Txt_Code","kind":"TextBox","text":"07","enabled":true,
//  "visible":true,"usable":true,"focused":true}, ...]}
// Lists add "items" and "listIndex", check boxes "value", scroll bars "value"
// and "max". Controls are in creation order, inner parts of embedded
// controls included (their path is "Owner.Inner").
#pragma once

#include <string>
#include <string_view>

#include "forms/control.h"
#include "forms/form.h"

namespace forms::headless {

[[nodiscard]] std::string StateDump(const Form& form);

// `text` as a JSON string literal, quotes included. Well-formed UTF-8 is
// kept as it is; a byte that is not (such as a lone 0xFE) is written as the
// character of the same number (\u00fe), so that the output is valid JSON.
[[nodiscard]] std::string JsonString(std::string_view text);

[[nodiscard]] const char* KindName(Kind kind);

}  // namespace forms::headless
