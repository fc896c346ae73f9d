// Properties set from code and the events they raise: once when the value
// changes, never when it is the value already held.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "forms/control.h"
#include "forms/form.h"
#include "forms/headless/headless_services.h"
#include "forms/user_input.h"

namespace forms {
namespace {

struct Counts {
  int change = 0, click = 0;
};

void Count(Control& c, Counts& n) {
  c.Change = [&n] { ++n.change; };
  c.Click = [&n] { ++n.click; };
}

class ControlTest : public ::testing::Test {
 protected:
  Form form{"Frm_Essai", 6000, 4000};
  headless::HeadlessServices services;
  UserInput user{form, services};
};

// Only the kinds a user types into raise Change; captions raise nothing.
TEST_F(ControlTest, SetTextRaisesChangeOnceOnEditableKindsAndNothingWhenEqual) {
  for (Kind kind : {Kind::TextBox, Kind::ComboBox, Kind::Label, Kind::Button, Kind::Frame,
                    Kind::Menu, Kind::MenuItem, Kind::CheckBox}) {
    Control& c = form.Add(kind, "C" + std::to_string(static_cast<int>(kind)), {});
    const bool editable = kind == Kind::TextBox || kind == Kind::ComboBox;
    Counts n;
    Count(c, n);
    c.SetText("Code");
    c.SetText("Code");
    EXPECT_EQ(c.Text(), "Code");
    EXPECT_EQ(n.change, editable ? 1 : 0) << "kind " << static_cast<int>(kind);
    EXPECT_EQ(n.click, 0);
    if (editable) {
      EXPECT_EQ(c.SelStart(), 4);  // the cursor goes to the end
    }
  }
}

// A pick from code clicks once when it moves, and gives a combo its entry's
// text without Change; a combo's text from code picks its first equal entry
// without Click.
TEST_F(ControlTest, ListIndexAndComboTextFollowEachOtherRaisingOnlyTheirOwnEvent) {
  Control& combo = form.Add(Kind::ComboBox, "Cbo", {});
  Control& list = form.Add(Kind::ListBox, "Lst", {});
  for (const char* s : {"Un", "Deux", "Deux"}) {
    combo.AddItem(s);
    list.AddItem(s);
  }
  Counts nc, nl;
  Count(combo, nc);
  Count(list, nl);
  combo.SetListIndex(1);
  combo.SetListIndex(1);
  list.SetListIndex(0);
  list.SetListIndex(0);
  combo.SetListIndex(3);  // out of range: ignored
  list.SetListIndex(-2);
  EXPECT_EQ(combo.Text(), "Deux");
  EXPECT_EQ(list.Text(), "Un");
  EXPECT_EQ(list.ListIndex(), 0);
  EXPECT_EQ(nc.click, 1);
  EXPECT_EQ(nc.change, 0);
  EXPECT_EQ(nl.click, 1);
  combo.SetText("Z");
  EXPECT_EQ(combo.ListIndex(), -1);
  combo.SetText("Deux");
  EXPECT_EQ(combo.ListIndex(), 1);  // the first equal entry
  EXPECT_EQ(nc.change, 2);
  EXPECT_EQ(nc.click, 1);
}

TEST_F(ControlTest, ClearEmptiesAListOrComboWithoutClick) {
  for (Kind kind : {Kind::ComboBox, Kind::ListBox}) {
    Control& c = form.Add(kind, "C" + std::to_string(static_cast<int>(kind)), {});
    c.AddItem("Un");
    c.SetListIndex(0);
    Counts n;
    Count(c, n);
    c.Clear();
    c.Clear();
    EXPECT_EQ(c.Text(), "");
    EXPECT_EQ(c.ListIndex(), -1);
    EXPECT_EQ(c.ListCount(), 0);
    EXPECT_EQ(n.change, kind == Kind::ComboBox ? 1 : 0);
    EXPECT_EQ(n.click, 0);
  }
}

TEST_F(ControlTest, RemoveItemKeepsTheSelectedEntrySelected) {
  Control& list = form.Add(Kind::ListBox, "Lst", {});
  for (const char* s : {"a", "b", "c"}) list.AddItem(s);
  list.SetListIndex(2);
  Counts n;
  Count(list, n);
  list.RemoveItem(1);  // the one just before it
  EXPECT_EQ(list.Text(), "c");
  list.RemoveItem(1);  // the selected one
  EXPECT_EQ(list.ListIndex(), -1);
  list.RemoveItem(7);  // nothing there
  EXPECT_EQ(list.ListCount(), 1);
  EXPECT_EQ(n.click, 0);
}

TEST_F(ControlTest, CheckBoxValueClicksWhenChangedAndTakesTrueAsTicked) {
  Control& check = form.Add(Kind::CheckBox, "Cac", {});
  Counts n;
  Count(check, n);
  check.SetValue(-1);  // True as the logic keeps it
  EXPECT_EQ(check.Value(), 1);
  check.SetValue(1);
  check.SetValue(0);
  EXPECT_EQ(n.click, 2);
  EXPECT_EQ(n.change, 0);
}

TEST_F(ControlTest, ScrollBarValueIsClampedAndSetMaxDragsItAlong) {
  Control& bar = form.Add(Kind::VScrollBar, "Bdv", {});
  bar.SetMax(5);
  Counts n;
  Count(bar, n);
  bar.SetValue(9);
  EXPECT_EQ(bar.Value(), 5);
  bar.SetValue(5);
  EXPECT_EQ(n.change, 1);
  bar.SetMax(8);  // the value stays: no Change
  EXPECT_EQ(n.change, 1);
  bar.SetMax(2);
  EXPECT_EQ(bar.Value(), 2);
  EXPECT_EQ(n.change, 2);
  bar.SetMax(-1);  // an empty list's count minus one
  bar.SetValue(-3);
  EXPECT_EQ(bar.Value(), -1);
  EXPECT_EQ(n.change, 4);
  EXPECT_EQ(n.click, 0);
}

TEST_F(ControlTest, TypingReplacesTheSelection) {
  Control& box = form.Add(Kind::TextBox, "Txt", {});
  box.TabIndex = 0;
  box.SetText("abcdef");
  box.SetSelection(1, 3);
  user.Type(box, "X");
  EXPECT_EQ(box.Text(), "aXef");
  EXPECT_EQ(box.SelStart(), 2);
  EXPECT_EQ(box.SelLength(), 0);
  box.SetSelection(0, 2);
  user.Key(box, kKeyBackspace);
  EXPECT_EQ(box.Text(), "ef");
  box.SetSelection(0, 0);
  user.Delete(box);  // the Delete key: the one character after the cursor
  EXPECT_EQ(box.Text(), "f");
  // A full box still takes a character that replaces a selection.
  box.MaxLength = 2;
  box.SetText("12");
  box.SetSelection(1, 1);
  user.Type(box, "9");
  EXPECT_EQ(box.Text(), "19");
}

// --- handlers calling back into the layer ----------------------------------------

TEST_F(ControlTest, HandlersRewritingTheirOwnTextOrReplacingThemselvesEnd) {
  Control& box = form.Add(Kind::TextBox, "Txt", {});
  std::vector<std::string> seen;
  box.Change = [&] {
    seen.push_back(box.Text());
    if (box.Text().size() == 1) box.SetText("0" + box.Text());  // leading zero
  };
  box.SetText("7");
  EXPECT_EQ(box.Text(), "07");
  EXPECT_EQ(seen, (std::vector<std::string>{"7", "07"}));
  Control& button = form.Add(Kind::Button, "Cmd", {});
  int first = 0, second = 0;
  button.Click = [&] {
    ++first;
    button.Click = [&] { ++second; };
  };
  user.Click(button);
  user.Click(button);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 1);
}

class Recorder : public ControlObserver {
 public:
  explicit Recorder(Control* other = nullptr) : other_(other) {}
  void controlChanged(Control& c, Property) override {
    ++calls;
    if (other_ != nullptr) {
      c.RemoveObserver(this);
      other_->RemoveObserver(next);
    }
  }
  int calls = 0;
  ControlObserver* next = nullptr;

 private:
  Control* other_;
};

TEST_F(ControlTest, ObserversRemovedWhileBeingToldAreNotCalledAgain) {
  Control& box = form.Add(Kind::TextBox, "Txt", {});
  Recorder remover(&box), removed;
  remover.next = &removed;
  box.AddObserver(&remover);
  box.AddObserver(&removed);
  box.SetText("a");
  box.SetText("b");
  EXPECT_EQ(remover.calls, 1);
  EXPECT_EQ(removed.calls, 0);
}

// A long list handed over whole reaches a screen as one change, not one
// per entry, and raises no event.
TEST_F(ControlTest, AddItemsAppendsInOrderAndTellsObserversOnce) {
  Control& list = form.Add(Kind::ListBox, "Lst", {});
  list.AddItem("a");
  list.SetListIndex(0);
  Recorder recorder;
  list.AddObserver(&recorder);
  Counts n;
  Count(list, n);
  list.AddItems({"b", "", "c"});
  list.AddItems({});
  list.AddItems(2, [](std::size_t i, std::string& entry) { entry = "d" + std::to_string(i); });
  list.AddItems(0, [](std::size_t, std::string&) { FAIL() << "nothing to write"; });
  EXPECT_EQ(list.Items(), (std::vector<std::string>{"a", "b", "", "c", "d0", "d1"}));
  EXPECT_EQ(list.ListIndex(), 0);
  EXPECT_EQ(recorder.calls, 2);
  EXPECT_EQ(n.click + n.change, 0);
  list.RemoveObserver(&recorder);
}

TEST_F(ControlTest, AnErrorInAHandlerLeavesTheFormUsable) {
  Control& a = form.Add(Kind::TextBox, "Txt_A", {});
  Control& b = form.Add(Kind::TextBox, "Txt_B", {});
  a.TabIndex = 0;
  b.TabIndex = 1;
  a.KeyPress = [&](int&) {
    b.SetFocus();
    throw std::runtime_error("database gone");
  };
  EXPECT_THROW(user.Type(a, "x"), std::runtime_error);
  EXPECT_FALSE(form.InAction());
  EXPECT_TRUE(a.Focused());  // the failed action's focus move is dropped
  a.KeyPress = nullptr;
  EXPECT_TRUE(user.Type(a, "y"));
  EXPECT_EQ(a.Text(), "y");
}

}  // namespace
}  // namespace forms
