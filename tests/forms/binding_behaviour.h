// Shared behaviour cases of the named-controls layer, run against every
// binding so that the headless one and the Qt one cannot drift apart.
// Test support for src/forms.
//
// A binding takes part by providing a BindingDriver (what a user does, done
// its own way: UserInput calls for the headless binding, synthesised key and
// mouse events on real widgets for Qt) and instantiating the suite:
//
//   INSTANTIATE_TEST_SUITE_P(Qt, BindingBehaviour,
//       ::testing::Values(DriverParam{"Qt", [](Form& f) { return MakeQtDriver(f); }}),
//       DriverParamName);
//
// and by linking the object library `forms_behaviour_suite` (which holds the
// cases) into its test executable.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "forms/control.h"
#include "forms/form.h"

namespace forms::suite {

// One user at the keyboard and mouse. Every call is one complete user
// action: when it returns, the binding has delivered it and the layer has
// handled it (focus moves included); a Qt driver processes its events first.
// Input refused by the layer (disabled, hidden control) is simply lost, as
// it would be for a real user.
class BindingDriver {
 public:
  virtual ~BindingDriver() = default;
  // Click or Tab into the control.
  virtual void Focus(Control& control) = 0;
  // Types the text character by character into the control (focusing it
  // first when it has not the focus).
  virtual void Type(Control& control, std::string_view utf8Text) = 0;
  // One key: kKeyEnter, kKeyBackspace, kKeyTab, kKeyEscape or a character code,
  // pressed while `control` has the focus.
  virtual void Key(Control& control, int keyAscii) = 0;
  virtual void Paste(Control& control, std::string_view utf8Text) = 0;
  virtual void Click(Control& control) = 0;
  // Chooses entry `index` of a combo's drop-down or a list box.
  virtual void Pick(Control& control, int index) = 0;
  virtual void DblClick(Control& control, int index) = 0;
  // Drags a vertical scroll bar to `value`.
  virtual void Scroll(Control& control, int value) = 0;
  // Mouse button on a control, or on the form's surface (nullptr).
  virtual void MouseDown(Control* control, int button) = 0;
  // What the binding shows for the control, when it draws anything: lets the
  // cases check that the screen mirrors the model. nullopt: nothing drawn.
  virtual std::optional<std::string> ShownText(Control& /*control*/) { return std::nullopt; }
  virtual std::optional<bool> ShownEnabled(Control& /*control*/) { return std::nullopt; }
};

// Makes the driver for a form already built (all its controls exist; cases
// only set handlers and properties afterwards, and may add controls).
using DriverFactory = std::function<std::unique_ptr<BindingDriver>(Form& form)>;

struct DriverParam {
  std::string name;  // used in the test names: letters and digits only
  DriverFactory make;
  friend void PrintTo(const DriverParam& p, std::ostream* os) { *os << p.name; }
};

inline std::string DriverParamName(const ::testing::TestParamInfo<DriverParam>& info) {
  return info.param.name;
}

// The sample surface every case starts from (tab index in brackets):
//   Txt_Code [0] text box, MaxLength 3     Cbo_Nom [1] combo "Alpha","Beta","Gamma"
//   Txt_Nom  [2] text box                  Cdr_Cadre frame, holding:
//     Lst_Date [3], Lst_Valeur [4]: list boxes of 5 lines each ("L0".."L4", "V0".."V4")
//     Bdv_Date [5] scroll bar, Max 4       Txt_Date [6] text box
//   Cac_Option [7] check box "Option"      Cmd_OK [8] button "OK"
//   Etq_Code label "Code" (no tab stop)    Cmd_Sortir [9] button "Sortir"
// Surface 6000 x 4000 twips. No control has the focus at the start.
class BindingBehaviour : public ::testing::TestWithParam<DriverParam> {
 protected:
  void SetUp() override;

  Form& form() { return *form_; }
  BindingDriver& user() { return *driver_; }

  Control* code = nullptr;
  Control* combo = nullptr;
  Control* nom = nullptr;
  Control* frame = nullptr;
  Control* dates = nullptr;
  Control* values = nullptr;
  Control* bar = nullptr;
  Control* date = nullptr;
  Control* check = nullptr;
  Control* ok = nullptr;
  Control* label = nullptr;
  Control* sortir = nullptr;

 private:
  std::unique_ptr<Form> form_;
  std::unique_ptr<BindingDriver> driver_;
};

// Counts how often a handler ran, and what a text held each time.
struct EventLog {
  std::vector<std::string> events;  // "Txt_Code.Change", "Cmd_OK.GotFocus", ...
  int count(std::string_view event) const {
    int n = 0;
    for (const auto& e : events) n += (e == event) ? 1 : 0;
    return n;
  }
};

// Wires every handler of `control` to append "<Name>.<Event>" to `log`
// (KeyPress appends "<Name>.KeyPress:<code>"). Handlers set afterwards by a
// case replace these.
void LogAllEvents(Control& control, EventLog& log);

}  // namespace forms::suite
