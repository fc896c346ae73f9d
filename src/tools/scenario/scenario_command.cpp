// Parsing of scenario lines into commands. Scenario runner (no Qt).
#include "scenario_command.h"

#include <cctype>
#include <charconv>

#include "forms/control.h"

namespace scenario {
namespace {

using forms::MsgAnswer;

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

std::string_view Trim(std::string_view s) {
  s = TrimLeft(s);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Takes the next blank-separated word off `rest`.
std::string_view NextWord(std::string_view& rest) {
  rest = TrimLeft(rest);
  const std::size_t end = rest.find_first_of(" \t");
  std::string_view word = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end);
  return word;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

int ParseNumber(std::string_view word, const char* what) {
  int n = 0;
  const char* end = word.data() + word.size();
  const auto [ptr, ec] = std::from_chars(word.data(), end, n);
  if (word.empty() || ec != std::errc() || ptr != end) {
    throw ParseError(std::string(what) + " must be a whole number, not \"" + std::string(word) +
                     "\"");
  }
  return n;
}

std::string RequireWord(std::string_view& rest, const char* what) {
  std::string_view word = NextWord(rest);
  if (word.empty()) throw ParseError(std::string("missing ") + what);
  return std::string(word);
}

void RequireEnd(std::string_view rest, std::string_view verb) {
  if (!Trim(rest).empty()) {
    throw ParseError("unexpected \"" + std::string(Trim(rest)) + "\" after " + std::string(verb));
  }
}

// "TEXT" in double quotes (inner quotes kept), or the bare rest.
std::string Quoted(std::string_view rest, const char* what) {
  rest = Trim(rest);
  if (rest.empty()) throw ParseError(std::string("missing ") + what);
  if (rest.front() != '"') return std::string(rest);
  if (rest.size() < 2 || rest.back() != '"')
    throw ParseError(std::string("unclosed quote in ") + what);
  return std::string(rest.substr(1, rest.size() - 2));
}

// After "= " the rest of the line is the value, possibly empty.
std::string ValueAfterEquals(std::string_view rest) {
  rest = TrimLeft(rest);
  if (rest.empty() || rest.front() != '=') throw ParseError("missing \"= VALUE\"");
  rest.remove_prefix(1);
  if (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  return std::string(rest);
}

int ParseKey(std::string_view token) {
  struct Named {
    std::string_view name;
    int code;
  };
  static constexpr Named kKeys[] = {{"{ENTER}", forms::kKeyEnter},
                                    {"{BACKSPACE}", forms::kKeyBackspace},
                                    {"{BS}", forms::kKeyBackspace},
                                    {"{TAB}", forms::kKeyTab},
                                    {"{ESC}", forms::kKeyEscape},
                                    {"{ESCAPE}", forms::kKeyEscape},
                                    {"{DELETE}", kKeyDelete},
                                    {"{DEL}", kKeyDelete},
                                    {"{F1}", kKeyHelp},
                                    {"{UP}", kKeyUp},
                                    {"{DOWN}", kKeyDown},
                                    {"{PGUP}", kKeyPageUp},
                                    {"{PGDN}", kKeyPageDown},
                                    {"{HOME}", kKeyHome},
                                    {"{END}", kKeyEnd}};
  for (const Named& k : kKeys) {
    if (EqualsNoCase(token, k.name)) return k.code;
  }
  if (token.size() == 1) return static_cast<unsigned char>(token[0]);
  throw ParseError("unknown key \"" + std::string(token) +
                   "\" (use {ENTER}, {BACKSPACE}, {TAB}, {ESC}, {DELETE}, {F1}, {UP}, {DOWN}, "
                   "{PGUP}, {PGDN}, {HOME}, {END} or one character)");
}

void ParseProperty(std::string_view word, Command& c) {
  static constexpr Prop kProps[] = {
      Prop::Text,  Prop::Enabled, Prop::Visible, Prop::ReadOnly, Prop::ListCount, Prop::ListIndex,
      Prop::Value, Prop::Max,     Prop::Focused, Prop::TopIndex, Prop::Fits,      Prop::FocusShown};
  if (EqualsNoCase(word, "Caption")) {
    c.property = Prop::Text;
    return;
  }
  for (Prop p : kProps) {
    if (EqualsNoCase(word, PropName(p))) {
      c.property = p;
      return;
    }
  }
  if (word.size() > 6 && EqualsNoCase(word.substr(0, 5), "List(") && word.back() == ')') {
    c.property = Prop::List;
    c.number = ParseNumber(word.substr(5, word.size() - 6), "the index of List(i)");
    return;
  }
  throw ParseError(
      "unknown property \"" + std::string(word) +
      "\" (Text, Enabled, Visible, ReadOnly, ListCount, ListIndex, Value, Max, List(i), Focused, "
      "TopIndex, Fits, FocusShown)");
}

void ParseExpect(std::string_view rest, Command& c) {
  const std::string lhs = RequireWord(rest, "CONTROL.PROPERTY");
  if (EqualsNoCase(lhs, "W_Sortir")) {
    c.verb = Verb::ExpectSortir;
    c.text = ValueAfterEquals(rest);
    c.number = ParseNumber(Trim(c.text), "W_Sortir");
    return;
  }
  const std::size_t dot = lhs.rfind('.');
  if (dot == std::string::npos || dot == 0 || dot + 1 == lhs.size()) {
    throw ParseError("expect needs CONTROL.PROPERTY, not \"" + lhs + "\"");
  }
  c.verb = Verb::Expect;
  c.name = lhs.substr(0, dot);
  ParseProperty(std::string_view(lhs).substr(dot + 1), c);
  c.text = ValueAfterEquals(rest);
}

// A record key: one word, or a double-quoted text.
std::string RecordKey(std::string_view& rest) {
  rest = TrimLeft(rest);
  if (!rest.empty() && rest.front() == '"') {
    const std::size_t close = rest.find('"', 1);
    if (close == std::string_view::npos) throw ParseError("unclosed quote in the record key");
    std::string key(rest.substr(1, close - 1));
    rest.remove_prefix(close + 1);
    return key;
  }
  return RequireWord(rest, "the record key");
}

void ParseExpectRecord(std::string_view rest, Command& c) {
  c.name = RequireWord(rest, "the file name");
  c.text = RecordKey(rest);
  const std::string where = RequireWord(rest, "the attribute (A, A.V, A.V.S or *)");
  if (where != "*") {
    std::string_view w = where;
    while (true) {
      const std::size_t dot = w.find('.');
      const int n = ParseNumber(w.substr(0, dot), "an attribute, value or subvalue number");
      if (n < 1 && !(n == 0 && c.position.empty() && dot == std::string_view::npos)) {
        throw ParseError("attribute, value and subvalue numbers start at 1 (0 is the key)");
      }
      c.position.push_back(n);
      if (dot == std::string_view::npos) break;
      w.remove_prefix(dot + 1);
    }
    if (c.position.size() > 3) throw ParseError("at most attribute.value.subvalue");
  }
  c.value = ValueAfterEquals(rest);
}

// db-write FILE KEY TEXT: one blank after the key, the rest (possibly
// empty) is the text; db-delete FILE KEY.
void ParseOtherWorkstation(std::string_view rest, Command& c) {
  c.name = RequireWord(rest, "the file name");
  c.text = RecordKey(rest);
  if (c.verb == Verb::DbDelete) {
    RequireEnd(rest, "db-delete");
    return;
  }
  if (rest.empty()) throw ParseError("db-write needs a text after the key");
  if (rest.front() != ' ' && rest.front() != '\t') {
    throw ParseError("db-write needs a blank between the key and the text");
  }
  c.value = std::string(rest.substr(1));
}

// type CONTROL TEXT: exactly one blank after the control; the rest is typed.
void ParseType(std::string_view rest, Command& c) {
  c.name = RequireWord(rest, "the control");
  if (rest.empty()) throw ParseError("type needs a text after the control");
  c.text = std::string(rest.substr(1));
  if (c.text.empty()) throw ParseError("type needs a text after the control");
}

}  // namespace

const char* PropName(Prop property) {
  switch (property) {
    case Prop::Text: return "Text";
    case Prop::Enabled: return "Enabled";
    case Prop::Visible: return "Visible";
    case Prop::ReadOnly: return "ReadOnly";
    case Prop::ListCount: return "ListCount";
    case Prop::ListIndex: return "ListIndex";
    case Prop::Value: return "Value";
    case Prop::Max: return "Max";
    case Prop::List: return "List";
    case Prop::Focused: return "Focused";
    case Prop::TopIndex: return "TopIndex";
    case Prop::Fits: return "Fits";
    case Prop::FocusShown: return "FocusShown";
  }
  return "?";
}

std::optional<MsgAnswer> ParseAnswer(std::string_view word) {
  if (EqualsNoCase(word, "Oui") || EqualsNoCase(word, "Yes")) return MsgAnswer::Yes;
  if (EqualsNoCase(word, "Non") || EqualsNoCase(word, "No")) return MsgAnswer::No;
  if (EqualsNoCase(word, "Annuler") || EqualsNoCase(word, "Cancel")) return MsgAnswer::Cancel;
  if (EqualsNoCase(word, "OK")) return MsgAnswer::OK;
  return std::nullopt;
}

bool Command::IsExpectation() const {
  switch (verb) {
    case Verb::Expect:
    case Verb::ExpectSortir:
    case Verb::ExpectMsg:
    case Verb::ExpectNoMsg:
    case Verb::ExpectRecord:
    case Verb::ExpectHelp:
    case Verb::ExpectPopup: return true;
    default: return false;
  }
}

bool Command::IsAction() const {
  switch (verb) {
    case Verb::Type:
    case Verb::Key:
    case Verb::Focus:
    case Verb::Click:
    case Verb::DblClick:
    case Verb::RightClick:
    case Verb::Pick:
    case Verb::Scroll:
    case Verb::Wheel:
    case Verb::CloseWindow: return true;
    default: return false;
  }
}

std::optional<Command> ParseLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::string_view rest = TrimLeft(line);
  if (Trim(rest).empty() || rest.front() == '#') return std::nullopt;

  const std::string verb(NextWord(rest));
  Command c;
  if (verb == "user") {
    c.verb = Verb::User;
    c.name = RequireWord(rest, "the user name");
    RequireEnd(rest, verb);
  } else if (verb == "niveau") {
    c.verb = Verb::Niveau;
    c.number = ParseNumber(RequireWord(rest, "the level"), "the level");
    RequireEnd(rest, verb);
  } else if (verb == "init") {
    c.verb = Verb::Init;
    RequireEnd(rest, verb);
  } else if (verb == "type") {
    c.verb = Verb::Type;
    ParseType(rest, c);
  } else if (verb == "key") {
    c.verb = Verb::Key;
    c.name = RequireWord(rest, "the control");
    c.text = RequireWord(rest, "the key");
    c.number = ParseKey(c.text);
    RequireEnd(rest, verb);
  } else if (verb == "focus" || verb == "click" || verb == "rightclick") {
    c.verb = verb == "focus" ? Verb::Focus : verb == "click" ? Verb::Click : Verb::RightClick;
    c.name = RequireWord(rest, "the control");
    RequireEnd(rest, verb);
  } else if (verb == "dblclick") {
    c.verb = Verb::DblClick;
    c.name = RequireWord(rest, "the control");
    const std::string_view index = NextWord(rest);
    if (!index.empty()) c.number = ParseNumber(index, "the line index");
    RequireEnd(rest, verb);
  } else if (verb == "pick" || verb == "scroll") {
    c.verb = verb == "pick" ? Verb::Pick : Verb::Scroll;
    c.name = RequireWord(rest, "the control");
    c.number = ParseNumber(RequireWord(rest, verb == "pick" ? "the index" : "the value"),
                           verb == "pick" ? "the index" : "the value");
    RequireEnd(rest, verb);
  } else if (verb == "wheel") {
    c.verb = Verb::Wheel;
    c.name = RequireWord(rest, "the control");
    c.number = ParseNumber(RequireWord(rest, "the steps"), "the steps");
    RequireEnd(rest, verb);
  } else if (verb == "close-window") {
    c.verb = Verb::CloseWindow;
    RequireEnd(rest, verb);
  } else if (verb == "answer") {
    c.verb = Verb::Answer;
    c.text = RequireWord(rest, "the answer");
    c.answerDefault = EqualsNoCase(c.text, "{ENTER}");
    const auto answer = c.answerDefault ? std::optional(MsgAnswer::OK) : ParseAnswer(c.text);
    if (!answer)
      throw ParseError("unknown answer \"" + c.text + "\" (Oui, Non, Annuler, OK or {ENTER})");
    c.answer = *answer;
    RequireEnd(rest, verb);
  } else if (verb == "expect") {
    ParseExpect(rest, c);
  } else if (verb == "expect-msg") {
    c.verb = Verb::ExpectMsg;
    c.text = Quoted(rest, "the message text");
  } else if (verb == "expect-no-msg") {
    c.verb = Verb::ExpectNoMsg;
    RequireEnd(rest, verb);
  } else if (verb == "expect-record") {
    c.verb = Verb::ExpectRecord;
    ParseExpectRecord(rest, c);
  } else if (verb == "expect-help") {
    c.verb = Verb::ExpectHelp;
    c.text = Quoted(rest, "the help page");
  } else if (verb == "expect-popup") {
    c.verb = Verb::ExpectPopup;
    c.name = RequireWord(rest, "the menu");
    RequireEnd(rest, verb);
  } else if (verb == "db-write" || verb == "db-delete") {
    c.verb = verb == "db-write" ? Verb::DbWrite : Verb::DbDelete;
    ParseOtherWorkstation(rest, c);
  } else if (verb == "db-drop-session") {
    c.verb = Verb::DbDropSession;
    RequireEnd(rest, verb);
  } else if (verb == "dump") {
    c.verb = Verb::Dump;
    c.name = std::string(NextWord(rest));
    RequireEnd(rest, verb);
  } else {
    throw ParseError("unknown command \"" + verb + "\"");
  }
  return c;
}

}  // namespace scenario
