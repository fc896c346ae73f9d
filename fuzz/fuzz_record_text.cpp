// Record text and mvdb's shown form.
//
// The input is read twice. As stored record text: shown then read back it
// is the same bytes, its shown form is printable UTF-8, and the record's
// attributes, values and the edits of one field agree with its whole text.
// As shown text: when it reads, showing what it gave and reading that again
// is stable.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dba/citem.h"
#include "dba/record_text.h"
#include "fuzz_support.h"
#include "shown_form.h"

namespace {

constexpr char FE = '\xFE';
constexpr char FD = '\xFD';

// Printable UTF-8 and tabs only; the marks are all above 0xF4, no lead byte.
bool IsShowable(std::string_view s) {
  for (unsigned char c : s) {
    if ((c < 0x20 && c != '\t') || c == 0x7F || c >= 0xF5 || c == 0xC0 || c == 0xC1) return false;
  }
  return true;
}

std::string JoinFields(const std::vector<std::string>& fields, char mark) {
  std::string out;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += mark;
    out += fields[i];
  }
  return out;
}

void CheckStored(std::string_view stored) {
  const std::string shown = mvdb::ToShown(stored);
  if (!IsShowable(shown))
    fuzz::Fail("the shown form holds an unprintable byte", fuzz::Printable(shown));
  std::string back;
  try {
    back = mvdb::FromShown(shown);
  } catch (const mvdb::ShownFormError& e) {
    fuzz::Fail("a shown form does not read back", fuzz::Printable(shown) + "\n" + e.what());
  }
  if (back != stored)
    fuzz::Fail("record -> shown -> record changed the bytes", fuzz::Printable(stored));
}

void CheckShown(std::string_view shown) {
  std::string stored;
  try {
    stored = mvdb::FromShown(shown);
  } catch (const mvdb::ShownFormError&) {
    return;
  }
  const std::string again = mvdb::ToShown(stored);
  std::string storedAgain;
  try {
    storedAgain = mvdb::FromShown(again);
  } catch (const mvdb::ShownFormError& e) {
    fuzz::Fail("shown -> record -> shown does not read back",
               fuzz::Printable(again) + "\n" + e.what());
  }
  if (storedAgain != stored || mvdb::ToShown(storedAgain) != again) {
    fuzz::Fail("shown -> record -> shown is not stable", fuzz::Printable(shown));
  }
}

// The record's views of its own text agree with one another.
void CheckRecord(const std::string& text, int where) {
  const dba::CItem record(text);
  const int count = record.DCount();
  std::vector<std::string> attributes;
  for (int a = 1; a <= count; ++a) attributes.push_back(record.Item(a));
  if (JoinFields(attributes, FE) != text)
    fuzz::Fail("the attributes do not make the record", fuzz::Printable(text));

  int walked = 0;
  for (const dba::CItem::AttributeView view : record.Attributes()) {
    ++walked;
    if (walked > count || view.Text() != attributes[static_cast<std::size_t>(walked - 1)]) {
      fuzz::Fail("the attribute walk and Item disagree", fuzz::Printable(text));
    }
  }
  if (walked != count) fuzz::Fail("the attribute walk misses attributes", fuzz::Printable(text));

  for (int a = 1; a <= count; ++a) {
    const std::vector<std::string> values = record.Values(a);
    if (JoinFields(values, FD) != attributes[static_cast<std::size_t>(a - 1)] ||
        static_cast<int>(values.size()) != record.DCount(a)) {
      fuzz::Fail("the values do not make their attribute", fuzz::Printable(text));
    }
  }

  // Writing a field back unchanged, or inserting one then deleting it, keeps
  // the text to the byte.
  const int index = 1 + where % (count + 2);
  std::string edited = text;
  dba::text::ReplaceField(edited, FE, index, dba::text::Field(text, FE, index));
  if (edited != text)
    fuzz::Fail("rewriting a field unchanged changed the record", fuzz::Printable(text));
  if (index <= count) {
    dba::text::InsertField(edited, FE, index, "inserted");
    if (dba::text::CountFields(edited, FE) != count + 1 ||
        dba::text::Field(edited, FE, index) != "inserted") {
      fuzz::Fail("an inserted field is not where it was put", fuzz::Printable(text));
    }
    dba::text::DeleteField(edited, FE, index);
    if (edited != text) fuzz::Fail("insert then delete changed the record", fuzz::Printable(text));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  CheckStored(input);
  CheckShown(input);
  CheckRecord(input, size > 0 ? data[0] : 0);
  try {
    CheckRecord(mvdb::FromShown(input), size > 1 ? data[1] : 0);
  } catch (const mvdb::ShownFormError&) {
  }
  return 0;
}
