// Control: one named control of a form (text box, combo, list, button, ...).
// Named-controls layer (src/forms): toolkit-independent; the logic
// only ever talks to these objects, and each binding (headless, Qt) draws
// them and turns its own input into UserInput calls.
//
// Two properties the logic relies on:
// - setting a text, a list selection, a check box or a scroll bar value from
//   code raises the same Change/Click handling as the user does;
// - setting the value a control already holds raises nothing.
// Handlers that follow each other have no other guard against endless chains.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace forms {

class Form;
class ControlObserver;

enum class Kind {
  TextBox,
  ComboBox,
  ListBox,
  Button,
  Label,
  Frame,
  CheckBox,
  VScrollBar,
  Menu,
  MenuItem,
  Embedded
};

// Position and size in twips (1440 per inch), relative to the container.
struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
};

struct Font {
  std::string name = "MS Sans Serif";
  double points = 8.25;
  bool bold = false;
};

// The kinds a user can give the focus to (an embedded control only when it
// has no focusable inner part).
[[nodiscard]] bool KindTakesFocus(Kind kind);

// Key codes as the handlers see them (KeyAscii). Printable characters are
// their Unicode code point.
inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyTab = 9;
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyEscape = 27;

inline constexpr int kMouseLeft = 1;
inline constexpr int kMouseRight = 2;
inline constexpr int kMouseMiddle = 4;

// What changed, for the bindings that mirror the model on screen.
enum class Property {
  Text,
  Enabled,
  Visible,
  ReadOnly,
  List,
  ListIndex,
  Value,
  Max,
  Focus,
  Selection
};

class Control {
 public:
  Control(Form& form, Kind kind, std::string name, Control* container, Control* owner);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // --- identity and design-time properties --------------------------------
  [[nodiscard]] const std::string& Name() const { return name_; }
  // "Ctr_AdresseUrssaf.Txt_Ville" for a control inside an embedded control.
  [[nodiscard]] std::string Path() const;
  [[nodiscard]] Kind kind() const { return kind_; }
  [[nodiscard]] Form& form() const { return form_; }
  // The frame (or embedded control) the control sits in; nullptr: the surface.
  [[nodiscard]] Control* Container() const { return container_; }
  // The embedded control whose inner part this is; nullptr: the form's own.
  [[nodiscard]] Control* Owner() const { return owner_; }

  Rect geometry;
  int TabIndex = -1;      // -1: not in the tab order
  int HelpContextID = 0;  // 0: no help topic
  // Characters the user may type or paste; 0: no limit. A text set from
  // code is kept whole, as a native edit box keeps it.
  int MaxLength = 0;
  std::string ToolTipText;
  std::string AccessibleName;  // what screen readers announce
  Font font;

  // --- runtime properties -------------------------------------------------
  // Text of a text box or of a combo's edit part, caption of the others,
  // text of the selected line of a list box.
  [[nodiscard]] const std::string& Text() const;
  // From code. Text box / combo: raises Change when the text differs (the
  // cursor goes to the end). Combo: ListIndex follows (the first entry equal
  // to the text, else -1) without raising Click. Caption kinds: no event.
  void SetText(std::string_view text);

  [[nodiscard]] bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  [[nodiscard]] bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // Read-only (text box, combo, check box; other kinds ignore it): the user
  // may still focus the control, select and copy its text, but no key, paste,
  // cut, pick or click of the user changes it, and the keys that would edit
  // are dropped before KeyPress. Code still sets its text, entry and value.
  // Unlike a disabled control, it is drawn as usual, so its text stays
  // readable.
  [[nodiscard]] bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);
  // Enabled and visible, and so are all its containers and the form: only
  // then does the control take user input or focus.
  [[nodiscard]] bool IsUsable() const;
  // The control can hold the focus at all: text boxes, combos, lists,
  // buttons, check boxes, scroll bars, and an embedded control without
  // focusable inner parts. Labels, frames and menus never do.
  [[nodiscard]] bool TakesFocus() const;

  // Lists (combo, list box). List(i) outside 0..ListCount()-1 is "".
  void AddItem(std::string_view text);
  // Inserts the entry before entry `index` (at the end from ListCount() on);
  // a ListIndex at or after it moves down with its entry.
  void AddItem(std::string_view text, int index);
  // Adds the texts in order as AddItem would, observers being told once: a
  // screen redraws a long list once, not once per entry.
  void AddItems(std::vector<std::string> texts);
  // Adds `count` entries as AddItems would, entry i written by `write(i, entry)`
  // into an empty string, in order. A list keeps its storage through Clear,
  // so refilling a long list this way allocates nothing per entry.
  void AddItems(std::size_t count, const std::function<void(std::size_t, std::string&)>& write);
  void RemoveItem(int index);
  // Removes every entry; ListIndex becomes -1. A combo's edit text is emptied
  // too (raising Change when it was not empty).
  void Clear();
  [[nodiscard]] int ListCount() const { return static_cast<int>(items_.size()); }
  [[nodiscard]] std::string List(int index) const;
  // Counts the changes of the entries; where the latest one inserted a single
  // entry before others (AddItem at an index), its place, else -1. A view
  // told of every change can then move its rows rather than redraw them all,
  // and tell a screen reader where the line went.
  [[nodiscard]] std::uint64_t ListChanges() const { return listChanges_; }
  [[nodiscard]] int LastInsertedAt() const { return lastInsertedAt_; }
  [[nodiscard]] int ListIndex() const { return listIndex_; }
  // From code: -1..ListCount()-1 (anything else is ignored). When different,
  // a combo's text becomes the entry's and Click is raised (list and combo).
  void SetListIndex(int index);

  // Check box (0/1, Click when changed) and scroll bar (0..Max, Change when
  // changed). SetMax clamps Value, raising Change when that moves it.
  [[nodiscard]] int Value() const { return value_; }
  void SetValue(int value);
  [[nodiscard]] int Max() const { return max_; }
  void SetMax(int max);

  // Asks for the focus. While a user action is being handled the move takes
  // effect when that action's handling is over (LostFocus then GotFocus);
  // otherwise at once. Ignored for a control that cannot take the focus.
  void SetFocus();
  [[nodiscard]] bool Focused() const;

  // Cursor and selection in a text box or combo edit part, in characters.
  [[nodiscard]] int SelStart() const { return selStart_; }
  [[nodiscard]] int SelLength() const { return selLength_; }
  void SetSelection(int start, int length = 0);

  // --- event handlers, set by the logic ------------------------------------
  std::function<void()> Change;
  std::function<void()> Click;
  std::function<void()> DblClick;
  std::function<void()> GotFocus;
  std::function<void()> LostFocus;
  // The key code goes by reference: a handler may rewrite it, or set it to 0
  // to refuse the key.
  std::function<void(int& keyAscii)> KeyPress;
  std::function<void(int button, int shift, float x, float y)> MouseDown;

  // --- for the layer and its bindings ---------------------------------------
  void AddObserver(ControlObserver* observer);
  void RemoveObserver(ControlObserver* observer);
  [[nodiscard]] const std::vector<std::string>& Items() const { return items_; }

 private:
  friend class Form;
  friend class UserInput;
  void notify(Property property);
  void raise(const std::function<void()>& handler);
  // User edits: replace the selection by `text` (insertion), or delete.
  bool insertTyped(std::string_view utf8Char);
  bool deleteBackward();
  void setTextRaising(std::string text);
  // An edit by the user: new text, cursor at `cursor` characters, Change.
  void setEditedText(std::string text, int cursor);
  [[nodiscard]] bool isEditable() const;
  // The combo's ListIndex follows its text (first equal entry, else -1).
  void followTextInList();
  // Leaves the focus when the control (or a container) became unusable.
  void giveUpFocusIfUnusable();
  // Every change of the entries goes through here before observers hear of it.
  void listChanged(int insertedAt = -1);

  Form& form_;
  Kind kind_;
  std::string name_;
  Control* container_;
  Control* owner_;

  std::string text_;
  bool enabled_ = true;
  bool visible_ = true;
  bool readOnly_ = false;
  std::vector<std::string> items_;
  std::uint64_t listChanges_ = 0;
  int lastInsertedAt_ = -1;
  int listIndex_ = -1;
  int value_ = 0;
  int max_ = 0;
  int selStart_ = 0;
  int selLength_ = 0;
  std::vector<ControlObserver*> observers_;
};

class ControlObserver {
 public:
  virtual ~ControlObserver() = default;
  virtual void controlChanged(Control& control, Property property) = 0;
};

}  // namespace forms
