// Mark scanning over record text: the one place that knows how attributes,
// values and subvalues are delimited. Internal to the database layer.
// Positions count from 1; every scan is a memchr pass, never a copy.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "dba/citem.h"

namespace dba::text {

struct Range {
  std::size_t begin = 0;
  std::size_t end = 0;
  bool found = false;
};

// Where field `index` of `s` (fields separated by `mark`) lies. An empty
// text has one empty field, so index 1 is always found.
Range FindField(std::string_view s, char mark, int index);

// Field `index` of `s`; "" past the end or for an index below 1.
std::string_view Field(std::string_view s, char mark, int index);

// 0 for an empty text, otherwise the number of marks plus one.
int CountFields(std::string_view s, char mark);

// Replaces field `index`; past the end, pads with marks unless `text` is
// empty (then nothing changes).
void ReplaceField(std::string& s, char mark, int index, std::string_view text);

// Inserts `text` as field `index`; later fields move one place on. Past the
// end behaves as ReplaceField.
void InsertField(std::string& s, char mark, int index, std::string_view text);

// Removes field `index` with its separator; nothing when it does not exist.
void DeleteField(std::string& s, char mark, int index);

// Calls f(piece) for every value and subvalue of an attribute: the pieces a
// selection compares and an index stores. An empty attribute is one "" piece.
template <class F>
void ForEachPiece(std::string_view field, F&& f) {
  const char* p = field.data();
  const char* const end = p + field.size();
  const char* start = p;
  for (; p != end; ++p) {
    if (*p == kValueMark || *p == kSubvalueMark) {
      f(std::string_view(start, static_cast<std::size_t>(p - start)));
      start = p + 1;
    }
  }
  f(std::string_view(start, static_cast<std::size_t>(end - start)));
}

}  // namespace dba::text
