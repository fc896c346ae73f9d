// CItem: reading and editing record text by attribute, value and subvalue
// position (edge rules in citem.h). Database layer; DBWrite is in dbfile.cpp.
#include "dba/citem.h"

#include <string>

#include "dba/dba_error.h"
#include "dba/record_text.h"

namespace dba {

namespace {

void CheckPosition(int position, const char* what) {
  if (position > CItem::kMaxPosition) {
    throw DbaError(kErrBadArgument, std::string("Position d'") + what +
                                        " trop grande : " + std::to_string(position) + ".");
  }
}

void CheckWritableAttribute(int attribute) {
  if (attribute < 1) {
    throw DbaError(kErrBadArgument, "L'attribut " + std::to_string(attribute) +
                                        " ne peut pas être écrit (la clé est l'attribut 0).");
  }
  CheckPosition(attribute, "attribut");
}

void CheckWritableValue(int value, const char* what) {
  if (value < -1) {
    throw DbaError(kErrBadArgument, std::string("Position de ") + what +
                                        " invalide : " + std::to_string(value) + ".");
  }
  CheckPosition(value, what);
}

void AppendPiece(std::string& field, char mark, std::string_view text) {
  if (field.empty()) {
    field.assign(text);
    return;
  }
  field.push_back(mark);
  field.append(text);
}

}  // namespace

CItem::CItem(std::string wholeText) : text_(std::move(wholeText)) {}

CItem::CItem(std::shared_ptr<FileBinding> file, std::string key, std::string text)
    : text_(std::move(text)), key_(std::move(key)), file_(std::move(file)) {}

std::string CItem::Item(int attribute) const {
  if (attribute == 0) return key_;
  return std::string(text::Field(text_, kAttributeMark, attribute));
}

std::string CItem::Item(int attribute, int value) const {
  if (value == 0) return Item(attribute);
  const std::string_view field =
      attribute == 0 ? std::string_view(key_) : text::Field(text_, kAttributeMark, attribute);
  return std::string(text::Field(field, kValueMark, value));
}

std::string CItem::Item(int attribute, int value, int subvalue) const {
  if (subvalue == 0) return Item(attribute, value);
  return std::string(text::Field(Item(attribute, value), kSubvalueMark, subvalue));
}

void CItem::setItem(std::string wholeText) { text_ = std::move(wholeText); }

void CItem::setItem(int attribute, std::string_view text) {
  CheckWritableAttribute(attribute);
  text::ReplaceField(text_, kAttributeMark, attribute, text);
}

void CItem::setItem(int attribute, int value, std::string_view text) {
  if (value == 0) {
    setItem(attribute, text);
    return;
  }
  CheckWritableAttribute(attribute);
  CheckWritableValue(value, "valeur");
  std::string field(text::Field(text_, kAttributeMark, attribute));
  if (value == -1) {
    AppendPiece(field, kValueMark, text);
  } else {
    text::ReplaceField(field, kValueMark, value, text);
  }
  setItem(attribute, field);
}

void CItem::setItem(int attribute, int value, int subvalue, std::string_view text) {
  if (subvalue == 0) {
    setItem(attribute, value, text);
    return;
  }
  if (value == -1) {  // a new value whose first subvalue is the text
    setItem(attribute, -1, text);
    return;
  }
  CheckWritableAttribute(attribute);
  CheckWritableValue(value < 1 ? -2 : value, "valeur");
  CheckWritableValue(subvalue, "sous-valeur");
  std::string current = Item(attribute, value);
  if (subvalue == -1) {
    AppendPiece(current, kSubvalueMark, text);
  } else {
    text::ReplaceField(current, kSubvalueMark, subvalue, text);
  }
  setItem(attribute, value, current);
}

int CItem::DCount() const { return text::CountFields(text_, kAttributeMark); }

int CItem::DCount(int attribute) const {
  if (attribute == 0) return key_.empty() ? 0 : 1;
  return text::CountFields(text::Field(text_, kAttributeMark, attribute), kValueMark);
}

void CItem::Insert(int attribute, int value, std::string_view text) {
  if (value == -1) {
    setItem(attribute, -1, text);
    return;
  }
  CheckWritableAttribute(attribute);
  CheckWritableValue(value < 1 ? -2 : value, "valeur");
  std::string field(text::Field(text_, kAttributeMark, attribute));
  text::InsertField(field, kValueMark, value, text);
  setItem(attribute, field);
}

void CItem::Delete(int attribute, int value) {
  if (attribute < 1 || value < 1) return;
  const text::Range r = text::FindField(text_, kAttributeMark, attribute);
  if (!r.found) return;
  std::string field = text_.substr(r.begin, r.end - r.begin);
  if (!text::FindField(field, kValueMark, value).found || field.empty()) return;
  text::DeleteField(field, kValueMark, value);
  text_.replace(r.begin, r.end - r.begin, field);
}

std::vector<std::string> CItem::Values(int attribute) const {
  std::vector<std::string> values;
  const std::string_view field =
      attribute == 0 ? std::string_view(key_) : text::Field(text_, kAttributeMark, attribute);
  if (field.empty()) return values;
  std::size_t start = 0;
  for (;;) {
    const std::size_t mark = field.find(kValueMark, start);
    values.emplace_back(field.substr(start, mark == std::string_view::npos ? mark : mark - start));
    if (mark == std::string_view::npos) break;
    start = mark + 1;
  }
  return values;
}

CItem::AttributeView CItem::Attribute(int attribute) const {
  return AttributeView(attribute == 0 ? std::string_view(key_)
                                      : text::Field(text_, kAttributeMark, attribute));
}

std::string CItem::AttributeView::Value(int value) const {
  if (value == 0) return std::string(text_);
  return std::string(text::Field(text_, kValueMark, value));
}

void CItem::setValues(int attribute, const std::vector<std::string>& values) {
  CheckWritableAttribute(attribute);
  std::size_t size = values.size();
  for (const std::string& v : values) size += v.size();
  std::string field;
  field.reserve(size);
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) field.push_back(kValueMark);
    field.append(values[i]);
  }
  setItem(attribute, field);
}

}  // namespace dba
