// CItem: the record object of the multivalue database component.
// Part of the database layer (src/dba, no Qt).
//
// A record is text in which the byte 0xFE separates attributes, 0xFD values
// and 0xFC subvalues (these bytes never occur in UTF-8). Attributes, values
// and subvalues count from 1; attribute 0 is the record's key.
//
//   dba::CItem r;
//   r.setItem(1, "URSSAF PARIS");        // attribute 1
//   r.setItem(20, -1, "20454");          // append a value to attribute 20
//   r.Item(20, 1);                       // "20454"
//   r.Item();                            // the whole text
//
// Edge rules (those of multivalue systems):
// - Reading past the end gives "".
// - Writing "" past the end does not grow the record, so a record read,
//   shown and written back unchanged keeps its whole text to the byte.
// - Writing a non-empty text past the end pads with marks.
// - DCount of an empty text is 0, otherwise the number of marks plus one.
// - Insert past the end pads with marks; Delete of a position that does not
//   exist changes nothing.
// - Value position -1 appends after the last value (an empty attribute gets
//   the text as its first value); subvalue -1 does the same inside a value.
//   Appending "" to an empty attribute changes nothing: an empty attribute and
//   an attribute holding one empty value are the same text.
// - Position 0 reads or writes the enclosing level: Item(a, 0) is attribute a,
//   Item(a, v, 0) is value v. Other negative positions read "".
// - Item(0) reads the key; writing attribute 0 (or a negative attribute),
//   inserting at a value below 1 other than -1, or writing a position above
//   kMaxPosition throws DbaError kErrBadArgument. Delete of a position below
//   1 changes nothing.
// - Insert of "" past the end changes nothing, as writing does.
// - Values(a) of an empty attribute is an empty list; setValues(a, {}) empties
//   the attribute.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dba {

inline constexpr char kAttributeMark = '\xFE';
inline constexpr char kValueMark = '\xFD';
inline constexpr char kSubvalueMark = '\xFC';

struct FileBinding;  // the file a record was read from or created for

class CItem {
 public:
  // Highest attribute, value or subvalue position a write accepts: a higher
  // one is a caller's fault that would otherwise pad the record with marks.
  static constexpr int kMaxPosition = 1000000;

  CItem() = default;
  explicit CItem(std::string wholeText);

  // Item with 0 to 3 indexes. Item(0) is the key ("" for an unbound record).
  [[nodiscard]] const std::string& Item() const { return text_; }
  [[nodiscard]] std::string Item(int attribute) const;
  [[nodiscard]] std::string Item(int attribute, int value) const;
  [[nodiscard]] std::string Item(int attribute, int value, int subvalue) const;

  void setItem(std::string wholeText);
  void setItem(int attribute, std::string_view text);
  void setItem(int attribute, int value, std::string_view text);  // value -1 appends
  void setItem(int attribute, int value, int subvalue, std::string_view text);

  // Number of attributes; number of values of one attribute.
  [[nodiscard]] int DCount() const;
  [[nodiscard]] int DCount(int attribute) const;

  // Inserts text as value `value` of `attribute`; later values move down.
  void Insert(int attribute, int value, std::string_view text);
  // Removes value `value` of `attribute`; later values move up.
  void Delete(int attribute, int value);

  // Bulk access for long multivalued attributes (a rate history may hold
  // 32767 values): one pass instead of one scan per value.
  [[nodiscard]] std::vector<std::string> Values(int attribute) const;

  // One attribute seen from a walk over the record; valid while the record
  // lives unchanged.
  class AttributeView {
   public:
    explicit AttributeView(std::string_view text) : text_(text) {}
    // Value `value` (from 1; 0 the whole attribute), "" past the end, as
    // Item(a, value) reads it.
    [[nodiscard]] std::string Value(int value) const;
    [[nodiscard]] std::string_view Text() const { return text_; }

   private:
    std::string_view text_;
  };
  // Attribute `attribute` as it stands in the record (0: the key), read in
  // place: a long history is walked value by value without copying it.
  [[nodiscard]] AttributeView Attribute(int attribute) const;
  class AttributeRange;
  // The attributes from 1 to DCount() in one pass (none for an empty record):
  // reading Item(i, v) for each i rescans the record from its start, so a
  // long result record is walked this way.
  //   for (const dba::CItem::AttributeView line : result.Attributes()) line.Value(2);
  [[nodiscard]] AttributeRange Attributes() const;
  void setValues(int attribute, const std::vector<std::string>& values);

  // Writes the record to the file it is bound to, under its key.
  // Throws DbaError (kErrNotBound) for a record that has no file.
  void DBWrite() const;

  [[nodiscard]] const std::string& Key() const { return key_; }
  [[nodiscard]] bool IsBound() const { return static_cast<bool>(file_); }

 private:
  friend class DBFile;
  CItem(std::shared_ptr<FileBinding> file, std::string key, std::string text);

  std::string text_;
  std::string key_;
  std::shared_ptr<FileBinding> file_;
};

class CItem::AttributeRange {
 public:
  class iterator {
   public:
    using value_type = AttributeView;
    using difference_type = std::ptrdiff_t;
    iterator() = default;
    iterator(std::string_view text, std::size_t start) : text_(text), start_(start) { Find(); }
    AttributeView operator*() const { return AttributeView(text_.substr(start_, end_ - start_)); }
    iterator& operator++() {
      start_ = end_ == std::string_view::npos ? end_ : end_ + 1;
      Find();
      return *this;
    }
    iterator operator++(int) {
      iterator before = *this;
      ++*this;
      return before;
    }
    bool operator==(const iterator& other) const { return start_ == other.start_; }

   private:
    void Find() {
      end_ = start_ == std::string_view::npos ? start_ : text_.find(kAttributeMark, start_);
    }
    std::string_view text_;
    std::size_t start_ = std::string_view::npos;
    std::size_t end_ = std::string_view::npos;
  };
  explicit AttributeRange(std::string_view text) : text_(text) {}
  [[nodiscard]] iterator begin() const {
    return iterator(text_, text_.empty() ? std::string_view::npos : 0);
  }
  [[nodiscard]] iterator end() const { return iterator(text_, std::string_view::npos); }

 private:
  std::string_view text_;
};

inline CItem::AttributeRange CItem::Attributes() const { return AttributeRange(text_); }

}  // namespace dba
