// Scenario files to lines, and the runner's routine set-up. Scenario runner.
#include "scenario_script.h"

#include <fstream>
#include <ostream>

#include "demo/demo_seed.h"

namespace scenario {

std::vector<ScriptLine> ParseScript(const std::string& name, std::istream& in) {
  std::vector<ScriptLine> lines;
  std::string text;
  int number = 0;
  while (std::getline(in, text)) {
    ++number;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    ScriptLine line;
    line.number = number;
    line.text = text;
    try {
      line.command = ParseLine(text);
    } catch (const ParseError& e) {
      throw ScriptError(name + ":" + std::to_string(number) + ": " + text +
                        "\n  syntax error: " + e.what());
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<ScriptLine> LoadScript(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ScriptError(path + ": cannot read the scenario file");
  return ParseScript(path, in);
}

}  // namespace scenario
