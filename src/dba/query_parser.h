// Query sentences turned into a selection: the file, the conditions and the
// sort keys. Pure text work, no storage. Database layer.
//
// Grammar (keywords in any letter case; French and English words alike):
//   sentence  := ("SELECT" | "SSELECT") file clause*
//   clause    := ("AVEC" | "WITH") condition
//              | ("ET" | "AND" | "OU" | "OR") ["AVEC" | "WITH"] condition
//              | ("PAR" | "BY" | "PAR-DSND" | "BY-DSND") attribute
//   condition := attribute operator quoted-value
//   attribute := a number, "0" or "@ID" being the key
//   operator  := "=" "#" "<>" "<" ">" "<=" ">=" or EQ NE LT GT LE GE
// Operators may be glued to their neighbours ("12=" and "12=\"M\"").
// Values are quoted with " or '. ET binds tighter than OU; two selection
// clauses with no word between them are joined by ET.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dba/citem.h"

namespace dba::query {

// The highest attribute number a sentence can name; an index on a higher one
// could never be used, so CreateIndex refuses it too.
inline constexpr int kMaxAttribute = CItem::kMaxPosition;

enum class Op { kEq, kNe, kLt, kGt, kLe, kGe };

// How an "=" or "#" value compares: a "]" closing the value matches the
// values that begin with it, a "[" opening it those that end with it, both
// those that contain it. Ordering operators take the value literally.
enum class Match { kExact, kStartsWith, kEndsWith, kContains };

struct Condition {
  int attribute = 0;
  Op op = Op::kEq;
  Match match = Match::kExact;
  std::string value;  // without its wildcard brackets
};

struct SortKey {
  int attribute = 0;
  bool descending = false;
};

struct Query {
  bool sorted = false;  // SSELECT: sorted by key when no sort clause is given
  std::string file;
  std::vector<std::vector<Condition>> anyOf;  // OR of groups of AND-ed conditions
  std::vector<SortKey> sortKeys;
};

// Throws DbaError kErrQuerySyntax naming the problem.
Query Parse(std::string_view sentence);

// The requested columns ("0 1"): attribute numbers separated by blanks,
// "@ID" accepted for the key; "" means the key alone.
std::vector<int> ParseColumns(std::string_view columns);

}  // namespace dba::query
