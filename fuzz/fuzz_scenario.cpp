// Scenario files: any bytes read as a scenario, parsed only (nothing runs).
//
// Parsing returns one numbered line per line of the text, each with its
// command or none, or throws ScriptError naming the line; a line's command
// is the one that line alone parses to.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "scenario_command.h"
#include "scenario_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::istringstream in(input);
  std::vector<scenario::ScriptLine> lines;
  try {
    lines = scenario::ParseScript("fuzz.scenario", in);
  } catch (const scenario::ScriptError& e) {
    if (std::string(e.what()).rfind("fuzz.scenario:", 0) != 0)
      fuzz::Fail("a syntax error names no line", e.what());
    return 0;
  }
  const std::size_t newlines =
      static_cast<std::size_t>(std::count(input.begin(), input.end(), '\n'));
  const std::size_t expected = newlines + (input.empty() || input.back() == '\n' ? 0 : 1);
  if (lines.size() != expected) fuzz::Fail("lines lost or added", fuzz::Printable(input));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const scenario::ScriptLine& line = lines[i];
    if (line.number != static_cast<int>(i) + 1)
      fuzz::Fail("lines numbered out of order", fuzz::Printable(input));
    const auto alone = scenario::ParseLine(line.text);
    if (alone.has_value() != line.command.has_value() ||
        (alone &&
         (alone->verb != line.command->verb || alone->name != line.command->name ||
          alone->text != line.command->text || alone->value != line.command->value ||
          alone->number != line.command->number || alone->position != line.command->position))) {
      fuzz::Fail("a line parses differently inside a file", fuzz::Printable(line.text));
    }
    // close-window acts on the host's window, the only action without a
    // control.
    if (line.command && line.command->IsAction() && line.command->name.empty() &&
        line.command->verb != scenario::Verb::CloseWindow) {
      fuzz::Fail("an action names no control", fuzz::Printable(line.text));
    }
  }
  return 0;
}
