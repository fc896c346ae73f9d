// What every backend's selection shares: matching a record against the
// conditions, the kept rows with their sort fields and columns, the order
// and layout of the result, and the choice of how candidates are found.
// Internal to the database layer.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dba/citem.h"
#include "dba/query_parser.h"
#include "dba/record_text.h"

namespace dba::select {

using query::Condition;
using query::Match;
using query::Op;
using query::Query;

inline bool Like(const Condition& c, std::string_view piece) {
  switch (c.match) {
    case Match::kExact: return piece == c.value;
    case Match::kStartsWith: return piece.starts_with(c.value);
    case Match::kEndsWith: return piece.ends_with(c.value);
    case Match::kContains: return piece.find(c.value) != std::string_view::npos;
  }
  return false;
}

// Byte by byte, as a left-justified multivalue comparison.
inline bool PieceMatches(const Condition& c, std::string_view piece) {
  switch (c.op) {
    case Op::kEq: return Like(c, piece);
    case Op::kNe: return !Like(c, piece);
    case Op::kLt: return piece < c.value;
    case Op::kGt: return piece > c.value;
    case Op::kLe: return piece <= c.value;
    case Op::kGe: return piece >= c.value;
  }
  return false;
}

// A multivalued attribute satisfies a condition when any of its values or
// subvalues does ("#" included: some value differs).
inline bool ConditionMatches(const Condition& c, std::string_view key, std::string_view body) {
  if (c.attribute == 0) return PieceMatches(c, key);
  const std::string_view field = text::Field(body, kAttributeMark, c.attribute);
  std::size_t start = 0;
  for (std::size_t i = 0; i <= field.size(); ++i) {
    if (i == field.size() || field[i] == kValueMark || field[i] == kSubvalueMark) {
      if (PieceMatches(c, field.substr(start, i - start))) return true;
      start = i + 1;
    }
  }
  return false;
}

inline bool Matches(const Query& q, std::string_view key, std::string_view body) {
  if (q.anyOf.empty()) return true;
  for (const auto& group : q.anyOf) {
    bool all = true;
    for (const Condition& c : group) {
      if (!ConditionMatches(c, key, body)) {
        all = false;
        break;
      }
    }
    if (all) return true;
  }
  return false;
}

// Appends one column of a result row: marks inside it become subvalue
// marks, so the result keeps one attribute per row and one value per column.
inline void AppendColumn(std::string& out, std::string_view column) {
  const std::size_t from = out.size();
  out.append(column);
  for (std::size_t i = from; i < out.size(); ++i) {
    if (out[i] == kValueMark || out[i] == kAttributeMark) out[i] = kSubvalueMark;
  }
}

// The records kept, their sort fields and columns copied into one buffer:
// row r owns spans [r * stride, (r + 1) * stride): key, sort fields, columns.
class Rows {
 public:
  Rows(const Query& q, const std::vector<int>& columns) : q_(q), columns_(columns) {
    stride_ = 1 + q.sortKeys.size() + columns.size();
    for (const auto& group : q.anyOf) {
      for (const Condition& c : group) keyInConditions_ = keyInConditions_ || c.attribute == 0;
    }
  }

  void AddIfMatches(std::string_view key, std::string_view body) {
    if (Matches(q_, key, body)) Add(key, body);
  }

  // The same for a scanned row whose key `keyOf()` is fetched only when
  // needed: a scan keeps few of the rows it reads.
  template <class KeyOf>
  void AddIfMatchesLazy(KeyOf keyOf, std::string_view body) {
    if (keyInConditions_) {
      AddIfMatches(keyOf(), body);
    } else if (Matches(q_, {}, body)) {
      Add(keyOf(), body);
    }
  }

  // A record known to match; `body` may be empty when only keys are used.
  void Add(std::string_view key, std::string_view body) {
    Push(key);
    for (const auto& s : q_.sortKeys) Push(FieldOf(s.attribute, key, body));
    for (int c : columns_) Push(FieldOf(c, key, body));
  }

  [[nodiscard]] std::size_t size() const { return spans_.size() / stride_; }

  [[nodiscard]] std::string_view At(std::size_t row, std::size_t i) const {
    const Span& s = spans_[row * stride_ + i];
    return std::string_view(buffer_).substr(s.offset, s.length);
  }

  // Row order: the sort keys in turn, then the key, ascending. Rows come
  // in key order already, so only sort clauses need a sort.
  std::vector<std::uint32_t> Order() const {
    std::vector<std::uint32_t> order(size());
    for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
    if (q_.sortKeys.empty()) return order;
    std::stable_sort(order.begin(), order.end(), [this](std::uint32_t a, std::uint32_t b) {
      for (std::size_t k = 0; k < q_.sortKeys.size(); ++k) {
        const int cmp = At(a, 1 + k).compare(At(b, 1 + k));
        if (cmp != 0) return q_.sortKeys[k].descending ? cmp > 0 : cmp < 0;
      }
      return At(a, 0) < At(b, 0);
    });
    return order;
  }

  // Attribute i of the result is row i; value k its column k.
  std::string Layout(const std::vector<std::uint32_t>& order) const {
    std::string out;
    out.reserve(buffer_.size() + order.size() * (columns_.size() + 1));
    const std::size_t first = 1 + q_.sortKeys.size();
    for (std::size_t n = 0; n < order.size(); ++n) {
      if (n > 0) out.push_back(kAttributeMark);
      for (std::size_t k = 0; k < columns_.size(); ++k) {
        if (k > 0) out.push_back(kValueMark);
        AppendColumn(out, At(order[n], first + k));
      }
    }
    return out;
  }

 private:
  struct Span {
    std::size_t offset;
    std::size_t length;
  };

  static std::string_view FieldOf(int attribute, std::string_view key, std::string_view body) {
    return attribute == 0 ? key : text::Field(body, kAttributeMark, attribute);
  }

  void Push(std::string_view v) {
    spans_.push_back({buffer_.size(), v.size()});
    buffer_.append(v);
  }

  const Query& q_;
  const std::vector<int>& columns_;
  bool keyInConditions_ = false;
  std::size_t stride_;
  std::string buffer_;
  std::vector<Span> spans_;
};

// How candidates are found. Only a single group of AND-ed conditions can
// narrow the search: with OU every record may qualify through another group.
struct Plan {
  enum Kind { kScan, kKeyEqual, kKeyPrefix, kIndexEqual, kIndexPrefix } kind = kScan;
  const Condition* condition = nullptr;
  bool keysOnly = false;  // the records themselves need not be read
};

// An index holds every value and subvalue of its attribute, so each record
// it lists for an "=" value or prefix satisfies that condition. When that is
// the whole condition and only keys are shown or sorted on, the index
// answers the selection alone.
inline bool AnsweredByKeys(const Query& q, const Plan& plan, const std::vector<int>& columns) {
  if (plan.kind != Plan::kIndexEqual && plan.kind != Plan::kIndexPrefix) return false;
  if (q.anyOf.front().size() != 1) return false;
  return std::all_of(columns.begin(), columns.end(), [](int c) { return c == 0; }) &&
         std::all_of(q.sortKeys.begin(), q.sortKeys.end(),
                     [](const query::SortKey& s) { return s.attribute == 0; });
}

inline Plan Choose(const Query& q, const std::vector<int>& indexed) {
  Plan best;
  if (q.anyOf.size() != 1) return best;
  for (const Condition& c : q.anyOf.front()) {
    if (c.op != Op::kEq) continue;
    const bool exact = c.match == Match::kExact;
    if (!exact && (c.match != Match::kStartsWith || c.value.empty())) continue;
    Plan::Kind kind;
    if (c.attribute == 0) {
      kind = exact ? Plan::kKeyEqual : Plan::kKeyPrefix;
    } else if (std::find(indexed.begin(), indexed.end(), c.attribute) != indexed.end()) {
      kind = exact ? Plan::kIndexEqual : Plan::kIndexPrefix;
    } else {
      continue;
    }
    if (best.kind == Plan::kScan || kind < best.kind) best = {kind, &c};
  }
  return best;
}

}  // namespace dba::select
