// The clerk's repertoire of actions and the seeded random pick among them.
// Random clerk sessions (src/tools/monkey, no Qt).
#include "actions.h"

#include <array>

namespace monkey {

using forms::Control;
using forms::Form;
using forms::Kind;
using forms::MsgAnswer;
using forms::MsgButtons;

namespace {

const std::array<const char*, 6> kKeys = {"{ENTER}",     "{TAB}",    "{ESC}",
                                          "{BACKSPACE}", "{DELETE}", "{F1}"};

bool IsText(Kind k) { return k == Kind::TextBox || k == Kind::ComboBox; }
bool IsList(Kind k) { return k == Kind::ListBox || k == Kind::ComboBox; }

// A made-up text never ends a line early: no line end, no trailing return.
std::string Clean(std::string s) {
  for (char& c : s) {
    if (c == '\n' || c == '\r' || c == '\0') c = '_';
  }
  return s;
}

}  // namespace

std::string ScenarioName(const Form& form, const Control& control, bool surface) {
  return surface ? control.Path() : form.Name() + "." + control.Path();
}

const std::vector<std::string>& TypedSamples() {
  static const std::vector<std::string> samples = {
      "01",
      "07",
      "7",
      "99",
      "08",
      "0",
      "AB",  // centre codes
      "001",
      "125",
      "2",
      "001002",  // entity, establishment
      "01/01/2024",
      "010124",
      "31/02/2023",
      "00/00/0000",  // dates
      "12,5",
      "6.9",
      "-3",
      "99999",
      "1e5",  // amounts and rates
      "123456789",
      "URSSAF BRETAGNE",  // SNV2, a sigle
      "zz'\"%;*",
      "Île-de-France é à ç",
      std::string(70, 'W'),  // junk, accents, long
      std::string("x\xFE"
                  "y\xFD"
                  "z\xFC"),  // the record's own marks
      "FR76 3000 1001 6900 0876 5432 177",
      "BDFEFRPPXXX",  // bank details
  };
  return samples;
}

std::vector<std::string> ActionsOnSurface() {
  return {"click UserControl", "rightclick UserControl"};
}

std::vector<std::string> ActionsOn(const Control& control, const std::string& name) {
  std::vector<std::string> out;
  const Kind k = control.kind();
  auto add = [&](std::string s) { out.push_back(std::move(s)); };
  switch (k) {
    case Kind::Label:
    case Kind::Menu:
    case Kind::MenuItem: add("click " + name); break;
    case Kind::Frame:
      add("click " + name);
      add("rightclick " + name);
      break;
    case Kind::Embedded:
      add("focus " + name);
      add("click " + name);
      add("rightclick " + name);
      break;
    case Kind::Button:
    case Kind::CheckBox:
      add("click " + name);
      add("focus " + name);
      for (const char* key : kKeys) add("key " + name + " " + key);
      break;
    case Kind::VScrollBar:
      add("focus " + name);
      for (int v = 0; v <= control.Max() + 1; ++v) add("scroll " + name + " " + std::to_string(v));
      break;
    case Kind::TextBox:
    case Kind::ComboBox:
    case Kind::ListBox:
      add("focus " + name);
      add("click " + name);
      for (const char* key : kKeys) add("key " + name + " " + key);
      break;
  }
  if (IsText(k)) {
    for (const std::string& t : TypedSamples()) add("type " + name + " " + t);
  }
  if (IsList(k)) {
    for (int i = 0; i < control.ListCount(); ++i) add("pick " + name + " " + std::to_string(i));
  }
  if (k == Kind::ListBox) {
    for (int i = 0; i < control.ListCount(); ++i) {
      add("dblclick " + name + " " + std::to_string(i));
    }
  }
  return out;
}

std::string Generator::Text() {
  switch (Below(8)) {
    case 0: {  // a centre code, often an existing one
      const int n = static_cast<int>(Below(12));
      return n < 10 ? "0" + std::to_string(n) : std::to_string(Below(100));
    }
    case 1: {  // a date, valid or not
      const auto two = [&](std::uint64_t m) {
        const std::string s = std::to_string(Below(m));
        return s.size() < 2 ? "0" + s : s;
      };
      return two(33) + (Below(3) ? "/" : "") + two(14) + (Below(3) ? "/" : "") +
             (Below(2) ? std::to_string(1990 + Below(50)) : two(100));
    }
    case 2: {  // an amount or a rate
      std::string s = std::to_string(Below(Below(2) ? 100 : 100000));
      if (Below(2)) s += (Below(2) ? "," : ".") + std::to_string(Below(1000));
      if (Below(8) == 0) s = "-" + s;
      return s;
    }
    case 3: {  // junk, the record's marks included now and then
      static const std::string chars = "abcXYZ019 ,.;:/-_'\"%*]^\\~[@#&()!?<>{}|\t";
      std::string s;
      const std::uint64_t n = 1 + Below(8);
      for (std::uint64_t i = 0; i < n; ++i) s += chars[Below(chars.size())];
      if (Below(10) == 0) s += static_cast<char>(0xFC + Below(3));
      return s;
    }
    case 4: {  // accents
      static const std::array<const char*, 8> accents = {"é", "È", "à", "ç", "Ô", "ü", "œ", "€"};
      std::string s;
      const std::uint64_t n = 1 + Below(5);
      for (std::uint64_t i = 0; i < n; ++i) s += accents[Below(accents.size())];
      return s;
    }
    case 5: return std::string(40 + Below(300), static_cast<char>('A' + Below(26)));  // long
    case 6: return " ";
    default: return TypedSamples()[Below(TypedSamples().size())];
  }
}

std::string Generator::FieldText(const std::string& control) {
  // What a clerk would type there, so that saves and rate lines get through.
  static const std::vector<std::pair<const char*, std::vector<std::string>>> fields = {
      {"Txt_CodCtrUrssaf", {"01", "02", "03", "04", "05", "06", "07", "08", "1", "9"}},
      {"Txt_SigleCtrUrssaf", {"URSSAF TEST", "U", "URSSAF CENTRE"}},
      {"Txt_NomCtrUrssaf", {"Urssaf du Centre", "N"}},
      {"Txt_CodOrgCtrUrssaf", {"117", "1", "999"}},
      {"Txt_CodeEntite", {"001", "002", "125", "1", "999"}},
      {"Txt_CodeEtab", {"001", "002", "003", "1"}},
      {"Txt_CodeSNV2", {"751170001", "12345"}},
      {"Txt_MontForfait", {"1,50", "2", "0,29"}},
      {"Txt_Date", {"01/01/2025", "010126", "15/06/2019", "01/01/2024"}},
      {"Txt_Valeur", {"6,9", "7", "0,5", "12,345"}},
      {"Txt_CentreSuppr", {"01", "02", "03", "07", "08", "99"}},
      {"Txt_Titulaire", {"URSSAF TEST"}},
      {"Txt_Iban", {"FR76 3000 1001 6900 0876 5432 177", "FR7630001008230001234567892"}},
      {"Txt_Bic", {"BDFEFRPPCCT"}},
  };
  for (const auto& [name, samples] : fields) {
    if (control == name) return samples[Below(samples.size())];
  }
  return Text();
}

std::string Generator::Action(const Control& control, const std::string& name) {
  const Kind k = control.kind();
  const std::uint64_t roll = Below(100);
  if (IsText(k) && roll < 25) return "type " + name + " " + Clean(FieldText(control.Name()));
  if (IsText(k) && roll < 45) return "type " + name + " " + Clean(Text());
  if (IsList(k) && control.ListCount() > 0 && roll < 75) {
    const std::string index = std::to_string(Below(control.ListCount()));
    if (k == Kind::ListBox && Below(3) == 0) return "dblclick " + name + " " + index;
    return "pick " + name + " " + index;
  }
  if (k == Kind::VScrollBar && roll < 80) {
    return "scroll " + name + " " + std::to_string(Below(control.Max() + 2));
  }
  if ((k == Kind::Button || k == Kind::CheckBox) && roll < 70) return "click " + name;
  const std::vector<std::string> all = ActionsOn(control, name);
  return all[Below(all.size())];
}

std::string Generator::Next(const std::vector<Form*>& forms) {
  const Form& form = *forms.back();
  const bool surface = forms.size() == 1;
  if (surface && Below(60) == 0) {
    const std::vector<std::string> s = ActionsOnSurface();
    return s[Below(s.size())];
  }
  // Mostly controls that take input: a disabled one does nothing.
  std::vector<const Control*> usable, other;
  for (const auto& c : form.AllControls()) (c->IsUsable() ? usable : other).push_back(c.get());
  const std::vector<const Control*>& pool =
      !usable.empty() && (other.empty() || Below(10) != 0) ? usable : other;
  // Labels do little and "Sortir" ends the session: both come up less.
  const Control* c = pool[Below(pool.size())];
  for (int i = 0; i < 3 && (c->kind() == Kind::Label || c->Name() == "Cmd_Sortir"); ++i) {
    c = pool[Below(pool.size())];
  }
  return Action(*c, ScenarioName(form, *c, surface));
}

std::string Generator::Closing(const Form& form) {
  std::vector<std::string> buttons;
  for (const auto& c : form.AllControls()) {
    if (c->kind() == Kind::Button && c->Owner() == nullptr) {
      buttons.push_back("click " + ScenarioName(form, *c, false));
    }
  }
  if (buttons.empty()) return "click " + form.Name();
  return buttons[Below(buttons.size())];
}

MsgAnswer Generator::Answer(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::OK: return MsgAnswer::OK;
    case MsgButtons::YesNo: return Below(2) ? MsgAnswer::Yes : MsgAnswer::No;
    case MsgButtons::YesNoCancel: {
      const std::uint64_t r = Below(3);
      return r == 0 ? MsgAnswer::Yes : r == 1 ? MsgAnswer::No : MsgAnswer::Cancel;
    }
  }
  return MsgAnswer::OK;
}

std::pair<std::string, int> Generator::Rights() {
  switch (Below(6)) {
    case 0: return {"user clerk", 2};
    case 1: return {"user consult", 1};
    case 2: return {"niveau 1", 1};
    case 3: return {"niveau 2", 2};
    case 4: return {"user admin", 2};
    default: return {"", 2};
  }
}

}  // namespace monkey
