// Reading control properties as text and comparing them with expected
// values. Scenario runner (no Qt).
#include "scenario_values.h"

#include <cctype>
#include <charconv>

#include "forms/headless/headless_services.h"

namespace scenario {
namespace {

std::string Lower(std::string_view text) {
  std::string s(text);
  for (char& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return s;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

ValueKind KindOf(Prop property) {
  switch (property) {
    case Prop::Enabled:
    case Prop::Visible:
    case Prop::ReadOnly:
    case Prop::Focused:
    case Prop::Fits:
    case Prop::FocusShown: return ValueKind::Boolean;
    case Prop::TopIndex:
    case Prop::ListCount:
    case Prop::ListIndex:
    case Prop::Value:
    case Prop::Max: return ValueKind::Number;
    case Prop::Text:
    case Prop::List: return ValueKind::Text;
  }
  return ValueKind::Text;
}

Observed Read(const forms::Control& control, Prop property, int index) {
  const ValueKind kind = KindOf(property);
  switch (property) {
    case Prop::Text: return {kind, control.Text()};
    case Prop::List: return {kind, control.List(index)};
    case Prop::Enabled: return {kind, ShowBool(control.Enabled())};
    case Prop::Visible: return {kind, ShowBool(control.Visible())};
    case Prop::ReadOnly: return {kind, ShowBool(control.ReadOnly())};
    case Prop::Focused: return {kind, ShowBool(control.Focused())};
    case Prop::ListCount: return {kind, std::to_string(control.ListCount())};
    case Prop::ListIndex: return {kind, std::to_string(control.ListIndex())};
    case Prop::Value: return {kind, std::to_string(control.Value())};
    case Prop::Max: return {kind, std::to_string(control.Max())};
    case Prop::TopIndex:
    case Prop::Fits:
    case Prop::FocusShown: break;  // drawn properties: the screen reads them
  }
  return {};
}

std::optional<bool> ParseBool(std::string_view text) {
  const std::string word = Lower(Trim(text));
  if (word == "true" || word == "vrai" || word == "-1" || word == "1") return true;
  if (word == "false" || word == "faux" || word == "0") return false;
  return std::nullopt;
}

std::optional<long> ParseWhole(std::string_view text) {
  text = Trim(text);
  long n = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, n);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return n;
}

std::string ShowBool(bool value) { return value ? "True" : "False"; }

bool Matches(const Observed& actual, std::string_view expected) {
  switch (actual.kind) {
    case ValueKind::Text: return actual.shown == expected;
    case ValueKind::Boolean: {
      const auto want = ParseBool(expected);
      return want && ShowBool(*want) == actual.shown;
    }
    case ValueKind::Number: {
      const auto want = ParseWhole(expected);
      return want && ParseWhole(actual.shown) == want;
    }
  }
  return false;
}

std::string DescribeBox(forms::MsgIcon icon, forms::MsgButtons buttons, std::string_view title) {
  using namespace forms::headless;
  return std::string(IconName(icon)) + ", " + ButtonsName(buttons) + ", \"" + std::string(title) +
         "\"";
}

}  // namespace scenario
