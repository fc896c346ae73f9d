// Query sentences turned into a selection (grammar in query_parser.h).
// Database layer.
#include "dba/query_parser.h"

#include <cstddef>

#include "dba/citem.h"
#include "dba/dba_error.h"

namespace dba::query {

namespace {

enum class Kind { kWord, kQuoted, kOperator };

struct Token {
  Kind kind;
  std::string text;
};

[[noreturn]] void Fail(const std::string& what) {
  throw DbaError(kErrQuerySyntax, "Phrase de requête invalide : " + what + ".");
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsOperatorChar(char c) { return c == '=' || c == '#' || c == '<' || c == '>'; }
bool IsQuote(char c) { return c == '"' || c == '\''; }

std::vector<Token> Tokenize(std::string_view s) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (IsBlank(c)) {
      ++i;
    } else if (IsQuote(c)) {
      const std::size_t close = s.find(c, i + 1);
      if (close == std::string_view::npos) Fail("guillemet non fermé");
      tokens.push_back({Kind::kQuoted, std::string(s.substr(i + 1, close - i - 1))});
      i = close + 1;
    } else if (IsOperatorChar(c)) {
      std::size_t len = 1;
      if (i + 1 < s.size() &&
          ((c == '<' && (s[i + 1] == '=' || s[i + 1] == '>')) || (c == '>' && s[i + 1] == '='))) {
        len = 2;
      }
      tokens.push_back({Kind::kOperator, std::string(s.substr(i, len))});
      i += len;
    } else {
      std::size_t end = i;
      while (end < s.size() && !IsBlank(s[end]) && !IsQuote(s[end]) && !IsOperatorChar(s[end]))
        ++end;
      tokens.push_back({Kind::kWord, std::string(s.substr(i, end - i))});
      i = end;
    }
  }
  return tokens;
}

std::string Upper(std::string_view word) {
  std::string up(word);
  for (char& c : up) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return up;
}

bool IsWord(const Token& t, std::initializer_list<const char*> words) {
  if (t.kind != Kind::kWord) return false;
  const std::string up = Upper(t.text);
  for (const char* w : words) {
    if (up == w) return true;
  }
  return false;
}

// An attribute number, or -1 when the word is none.
int AttributeOf(std::string_view word) {
  if (Upper(word) == "@ID") return 0;
  if (word.empty() || word.size() > 7) return -1;
  int n = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n <= kMaxAttribute ? n : -1;
}

class Parser {
 public:
  explicit Parser(std::vector<Token> tokens) : t_(std::move(tokens)) {}

  Query Run() {
    Query q;
    if (AtEnd() || !IsWord(t_[0], {"SELECT", "SSELECT"})) {
      Fail("la phrase doit commencer par SELECT ou SSELECT");
    }
    q.sorted = Upper(t_[0].text) == "SSELECT";
    i_ = 1;
    if (AtEnd() || t_[i_].kind != Kind::kWord)
      Fail("nom de fichier manquant après " + Upper(t_[0].text));
    q.file = t_[i_++].text;
    while (!AtEnd()) Clause(q);
    return q;
  }

 private:
  bool AtEnd() const { return i_ >= t_.size(); }

  void Clause(Query& q) {
    const Token& t = t_[i_];
    if (IsWord(t, {"AVEC", "WITH"})) {
      ++i_;
      if (q.anyOf.empty()) q.anyOf.emplace_back();
      q.anyOf.back().push_back(ParseCondition(t.text));
    } else if (IsWord(t, {"ET", "AND", "OU", "OR"})) {
      if (q.anyOf.empty()) Fail("« " + t.text + " » sans condition avant lui");
      ++i_;
      if (!AtEnd() && IsWord(t_[i_], {"AVEC", "WITH"})) ++i_;
      if (IsWord(t, {"OU", "OR"})) q.anyOf.emplace_back();
      q.anyOf.back().push_back(ParseCondition(t.text));
    } else if (IsWord(t, {"PAR", "BY", "PAR-DSND", "BY-DSND"})) {
      ++i_;
      const int attribute = AtEnd() || t_[i_].kind != Kind::kWord ? -1 : AttributeOf(t_[i_].text);
      if (attribute < 0) Fail("numéro d'attribut attendu après « " + t.text + " »");
      ++i_;
      q.sortKeys.push_back({attribute, Upper(t.text).ends_with("-DSND")});
    } else {
      Fail("mot inconnu « " + t.text + " »");
    }
  }

  Condition ParseCondition(const std::string& after) {
    Condition c;
    c.attribute = AtEnd() || t_[i_].kind != Kind::kWord ? -1 : AttributeOf(t_[i_].text);
    if (c.attribute < 0) Fail("numéro d'attribut attendu après « " + after + " »");
    const std::string attribute = t_[i_++].text;
    if (AtEnd() || !ParseOperator(t_[i_], c.op))
      Fail("opérateur attendu après l'attribut " + attribute);
    const std::string op = t_[i_++].text;
    if (AtEnd() || t_[i_].kind != Kind::kQuoted) {
      Fail("valeur entre guillemets attendue après « " + op + " »");
    }
    SetValue(c, t_[i_++].text);
    return c;
  }

  static bool ParseOperator(const Token& t, Op& op) {
    static const struct {
      const char* symbol;
      const char* word;
      Op op;
    } kOps[] = {{"=", "EQ", Op::kEq}, {"#", "NE", Op::kNe}, {"<>", "NE", Op::kNe},
                {"<", "LT", Op::kLt}, {">", "GT", Op::kGt}, {"<=", "LE", Op::kLe},
                {">=", "GE", Op::kGe}};
    for (const auto& o : kOps) {
      if ((t.kind == Kind::kOperator && t.text == o.symbol) ||
          (t.kind == Kind::kWord && Upper(t.text) == o.word)) {
        op = o.op;
        return true;
      }
    }
    return false;
  }

  static void SetValue(Condition& c, std::string value) {
    if (c.op == Op::kEq || c.op == Op::kNe) {
      const bool starts = !value.empty() && value.back() == ']';
      if (starts) value.pop_back();
      const bool ends = !value.empty() && value.front() == '[';
      if (ends) value.erase(0, 1);
      c.match = starts && ends ? Match::kContains
                : starts       ? Match::kStartsWith
                : ends         ? Match::kEndsWith
                               : Match::kExact;
    }
    c.value = std::move(value);
  }

  std::vector<Token> t_;
  std::size_t i_ = 0;
};

}  // namespace

Query Parse(std::string_view sentence) { return Parser(Tokenize(sentence)).Run(); }

std::vector<int> ParseColumns(std::string_view columns) {
  std::vector<int> result;
  std::size_t i = 0;
  while (i < columns.size()) {
    if (IsBlank(columns[i])) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < columns.size() && !IsBlank(columns[end])) ++end;
    const std::string_view word = columns.substr(i, end - i);
    const int attribute = AttributeOf(word);
    if (attribute < 0) {
      throw DbaError(kErrQuerySyntax,
                     "Colonne de requête invalide : « " + std::string(word) + " ».");
    }
    result.push_back(attribute);
    i = end;
  }
  if (result.empty()) result.push_back(0);
  return result;
}

}  // namespace dba::query
