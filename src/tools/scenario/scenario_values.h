// How the scenario runner reads a property of a control as text and compares
// it with the value a scenario expects. Scenario runner (no Qt).
//
// Booleans print as "True"/"False"; an expected Boolean may also be written
// -1/0, 1/0, Vrai/Faux, True/False, in any case. Numbers compare as numbers
// (blanks around them ignored); texts compare exactly.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "forms/control.h"
#include "forms/services.h"
#include "scenario_command.h"

namespace scenario {

enum class ValueKind { Text, Boolean, Number };

struct Observed {
  ValueKind kind = ValueKind::Text;
  std::string shown;  // as printed in a report
};

[[nodiscard]] ValueKind KindOf(Prop property);

// The property of `control`; `index` is i of List(i).
[[nodiscard]] Observed Read(const forms::Control& control, Prop property, int index);

[[nodiscard]] std::optional<bool> ParseBool(std::string_view text);
[[nodiscard]] std::optional<long> ParseWhole(std::string_view text);
[[nodiscard]] std::string ShowBool(bool value);

// True when `expected` denotes the observed value. An expected text that is
// no Boolean (or no number) where one is needed never matches.
[[nodiscard]] bool Matches(const Observed& actual, std::string_view expected);

// "Exclamation, OK, \"Message TARVELINE\"": a message box's look.
[[nodiscard]] std::string DescribeBox(forms::MsgIcon icon, forms::MsgButtons buttons,
                                      std::string_view title);

}  // namespace scenario
