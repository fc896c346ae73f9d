// Mark scanning over record text (see record_text.h). Database layer.
#include "dba/record_text.h"

namespace dba::text {

namespace {
// memchr that accepts the null pointer of an empty view.
const char* FindMark(const char* p, std::size_t n, char mark) {
  return n == 0 ? nullptr : static_cast<const char*>(std::memchr(p, mark, n));
}
}  // namespace

Range FindField(std::string_view s, char mark, int index) {
  Range r;
  if (index < 1) return r;
  std::size_t pos = 0;
  for (int i = 1; i < index; ++i) {
    const char* hit = FindMark(s.data() + pos, s.size() - pos, mark);
    if (hit == nullptr) return r;
    pos = static_cast<std::size_t>(hit - s.data()) + 1;
  }
  const char* next = FindMark(s.data() + pos, s.size() - pos, mark);
  r.begin = pos;
  r.end = next ? static_cast<std::size_t>(next - s.data()) : s.size();
  r.found = true;
  return r;
}

std::string_view Field(std::string_view s, char mark, int index) {
  const Range r = FindField(s, mark, index);
  if (!r.found) return {};
  return s.substr(r.begin, r.end - r.begin);
}

int CountFields(std::string_view s, char mark) {
  if (s.empty()) return 0;
  int count = 1;
  const char* p = s.data();
  const char* const end = p + s.size();
  while ((p = FindMark(p, static_cast<std::size_t>(end - p), mark))) {
    ++count;
    ++p;
  }
  return count;
}

void ReplaceField(std::string& s, char mark, int index, std::string_view text) {
  const Range r = FindField(s, mark, index);
  if (r.found) {
    s.replace(r.begin, r.end - r.begin, text);
    return;
  }
  if (text.empty() || index < 1) return;  // "" past the end never grows the text
  const int have = CountFields(s, mark);
  s.append(static_cast<std::size_t>(index - (have < 1 ? 1 : have)), mark);
  s.append(text);
}

void InsertField(std::string& s, char mark, int index, std::string_view text) {
  const Range r = FindField(s, mark, index);
  if (!r.found) {
    ReplaceField(s, mark, index, text);
    return;
  }
  if (s.empty()) {
    s.assign(text);
    return;
  }
  std::string piece(text);
  piece.push_back(mark);
  s.insert(r.begin, piece);
}

void DeleteField(std::string& s, char mark, int index) {
  const Range r = FindField(s, mark, index);
  if (!r.found) return;
  if (r.end < s.size()) {
    s.erase(r.begin, r.end - r.begin + 1);  // the field and the mark after it
  } else if (r.begin > 0) {
    s.erase(r.begin - 1);  // the last field and the mark before it
  } else {
    s.clear();
  }
}

}  // namespace dba::text
