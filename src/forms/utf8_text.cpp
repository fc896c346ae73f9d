// UTF-8 measuring, decoding and encoding for the named-controls layer.
// Named-controls layer (src/forms), toolkit-independent.
#include "forms/utf8_text.h"

namespace forms::utf8 {

namespace {
bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }
}  // namespace

std::size_t SequenceLength(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return 0;
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  const unsigned char c = at(0);
  if (c < 0x80) return 1;
  std::size_t len = 0;
  char32_t cp = 0;
  if (c >= 0xC2 && c <= 0xDF) {
    len = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3;
    cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4;
    cp = c & 0x07;
  } else
    return 0;
  if (pos + len > text.size()) return 0;
  for (std::size_t i = 1; i < len; ++i) {
    if (!IsContinuation(at(i))) return 0;
    cp = (cp << 6) | (at(i) & 0x3F);
  }
  if (len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) return 0;
  if (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) return 0;
  return len;
}

int CharCount(std::string_view text) {
  int count = 0;
  for (std::size_t pos = 0; pos < text.size(); ++count) {
    const std::size_t len = SequenceLength(text, pos);
    pos += len == 0 ? 1 : len;
  }
  return count;
}

std::size_t ByteOffset(std::string_view text, int index) {
  std::size_t pos = 0;
  for (int i = 0; i < index && pos < text.size(); ++i) {
    const std::size_t len = SequenceLength(text, pos);
    pos += len == 0 ? 1 : len;
  }
  return pos;
}

std::vector<char32_t> Decode(std::string_view text) {
  std::vector<char32_t> out;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t len = SequenceLength(text, pos);
    if (len == 0) {
      out.push_back(0xFFFD);
      ++pos;
      continue;
    }
    const auto c = static_cast<unsigned char>(text[pos]);
    char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
    for (std::size_t i = 1; i < len; ++i)
      cp = (cp << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
    out.push_back(cp);
    pos += len;
  }
  return out;
}

std::string Encode(char32_t cp) {
  std::string out;
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

}  // namespace forms::utf8
