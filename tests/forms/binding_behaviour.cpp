// Behaviour cases shared by every binding of the named-controls layer: what
// the user does through the driver and which handlers run, in which order.
// Test support for src/forms.
#include "binding_behaviour.h"

#include <string>
#include <vector>

namespace forms::suite {

void BindingBehaviour::SetUp() {
  form_ = std::make_unique<Form>("Frm_Essai", 6000, 4000);
  Form& f = *form_;
  int tab = 0;
  const auto add = [&](Kind kind, const char* name, Rect at, Control* in = nullptr) {
    Control* c = &f.Add(kind, name, at, in);
    if (kind != Kind::Label && kind != Kind::Frame) c->TabIndex = tab++;
    return c;
  };
  label = add(Kind::Label, "Etq_Code", {120, 120, 1000, 255});
  label->SetText("Code");
  code = add(Kind::TextBox, "Txt_Code", {1200, 120, 600, 285});
  code->MaxLength = 3;
  combo = add(Kind::ComboBox, "Cbo_Nom", {1900, 120, 3000, 315});
  for (const char* item : {"Alpha", "Beta", "Gamma"}) combo->AddItem(item);
  nom = add(Kind::TextBox, "Txt_Nom", {1200, 600, 3000, 285});
  frame = add(Kind::Frame, "Cdr_Cadre", {0, 1000, 5800, 1800});
  frame->SetText("Cadre");
  dates = add(Kind::ListBox, "Lst_Date", {120, 240, 1500, 900}, frame);
  values = add(Kind::ListBox, "Lst_Valeur", {1800, 240, 1500, 900}, frame);
  for (int i = 0; i < 5; ++i) {
    dates->AddItem("L" + std::to_string(i));
    values->AddItem("V" + std::to_string(i));
  }
  bar = add(Kind::VScrollBar, "Bdv_Date", {1620, 240, 270, 900}, frame);
  bar->SetMax(4);
  date = add(Kind::TextBox, "Txt_Date", {120, 1300, 1500, 285}, frame);
  check = add(Kind::CheckBox, "Cac_Option", {120, 3000, 2000, 255});
  check->SetText("Option");
  ok = add(Kind::Button, "Cmd_OK", {3000, 3400, 855, 375});
  ok->SetText("OK");
  sortir = add(Kind::Button, "Cmd_Sortir", {4000, 3400, 855, 375});
  sortir->SetText("Sortir");
  driver_ = GetParam().make(f);
}

void LogAllEvents(Control& control, EventLog& log) {
  const std::string n = control.Name() + ".";
  control.Change = [&log, n] { log.events.push_back(n + "Change"); };
  control.Click = [&log, n] { log.events.push_back(n + "Click"); };
  control.DblClick = [&log, n] { log.events.push_back(n + "DblClick"); };
  control.GotFocus = [&log, n] { log.events.push_back(n + "GotFocus"); };
  control.LostFocus = [&log, n] { log.events.push_back(n + "LostFocus"); };
  control.KeyPress = [&log, n](int& k) {
    log.events.push_back(n + "KeyPress:" + std::to_string(k));
  };
  control.MouseDown = [&log, n](int b, int, float, float) {
    log.events.push_back(n + "MouseDown:" + std::to_string(b));
  };
}

namespace {
using Events = std::vector<std::string>;
}  // namespace

// --- typing ------------------------------------------------------------------

TEST_P(BindingBehaviour, TypedCharacterRaisesKeyPressThenChangeAndBackspaceDeletesUnlessRefused) {
  EventLog log;
  LogAllEvents(*nom, log);
  user().Type(*nom, "abc");
  EXPECT_EQ(nom->SelStart(), 3);
  if (auto shown = user().ShownText(*nom)) {
    EXPECT_EQ(*shown, "abc");
  }
  // Enter and Escape reach the filter but insert nothing and keep the focus.
  user().Key(*nom, kKeyEnter);
  user().Key(*nom, kKeyEscape);
  EXPECT_EQ(nom->Text(), "abc");
  EXPECT_EQ(log.events, (Events{"Txt_Nom.GotFocus", "Txt_Nom.KeyPress:97", "Txt_Nom.Change",
                                "Txt_Nom.KeyPress:98", "Txt_Nom.Change", "Txt_Nom.KeyPress:99",
                                "Txt_Nom.Change", "Txt_Nom.KeyPress:13", "Txt_Nom.KeyPress:27"}));
  EXPECT_TRUE(nom->Focused());
  int changes = 0;
  nom->Change = [&] { ++changes; };
  nom->KeyPress = [](int& k) {
    if (k == kKeyBackspace) k = 0;
  };
  user().Key(*nom, kKeyBackspace);
  EXPECT_EQ(nom->Text(), "abc");
  EXPECT_EQ(changes, 0);
  nom->KeyPress = nullptr;
  user().Key(*nom, kKeyBackspace);
  EXPECT_EQ(nom->Text(), "ab");
  // WHEN the box is emptied THEN a further Backspace changes nothing
  for (int i = 0; i < 3; ++i) user().Key(*nom, kKeyBackspace);
  EXPECT_EQ(nom->Text(), "");
  EXPECT_EQ(changes, 3);
}

namespace {
void SlashForNonDigits(int& k) {
  if (k != kKeyBackspace && (k < '0' || k > '9')) k = '/';
}
void CommaForDot(int& k) {
  if (k == '.') k = ',';
}
void DigitsOnly(int& k) {
  if (k < '0' || k > '9') k = 0;
}
}  // namespace

// Typed or pasted, every character goes to KeyPress one by one, which may
// keep it, turn it into another, or refuse it (no insertion, no Change).
TEST_P(BindingBehaviour, KeyPressKeepsRewritesOrRefusesEachCharacter) {
  struct Case {
    Control* box;
    bool paste;
    void (*filter)(int&);
    const char* input;
    const char* text;
  };
  const Case cases[] = {
      {date, false, SlashForNonDigits, "12.03-2024", "12/03/2024"},
      {nom, false, CommaForDot, "1.5", "1,5"},
      {nom, false, DigitsOnly, "1a2", "12"},
      {nom, true, DigitsOnly, "1a2b3c4", "1234"},
      {code, true, DigitsOnly, "9x8y7z6", "987"},  // MaxLength 3 drops the rest
  };
  // Outlive the loop: a box's handlers of one case still run when the next
  // case empties that box.
  int keyPresses = 0, changes = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    c.box->SetText("");
    keyPresses = changes = 0;
    c.box->KeyPress = [&](int& k) {
      ++keyPresses;
      c.filter(k);
    };
    c.box->Change = [&] { ++changes; };
    if (c.paste) {
      user().Paste(*c.box, c.input);
    } else {
      user().Type(*c.box, c.input);
      EXPECT_EQ(keyPresses, static_cast<int>(std::string(c.input).size()));
      EXPECT_EQ(changes, static_cast<int>(std::string(c.text).size()));
    }
    EXPECT_EQ(c.box->Text(), c.text);
  }
}

// The limit counts characters, not bytes, and binds the user, not the program.
TEST_P(BindingBehaviour, MaxLengthLimitsTheUsersCharactersNotTheProgram) {
  int changes = 0, keyPresses = 0;
  code->Change = [&] { ++changes; };
  code->KeyPress = [&](int&) { ++keyPresses; };
  user().Type(*code, "\xC3\xA9\xC3\xA8\xC3\xA0\xE2\x82\xAC");  // "éèà€"
  EXPECT_EQ(code->Text(), "\xC3\xA9\xC3\xA8\xC3\xA0");
  EXPECT_EQ(keyPresses, 4);  // the fourth key is seen, then not inserted
  EXPECT_EQ(changes, 3);
  // GIVEN a text longer than the limit set from code
  code->SetText("\xC3\xA9t\xC3\xA9s");  // "étés"
  if (auto shown = user().ShownText(*code)) {
    EXPECT_EQ(*shown, code->Text());
  }
  changes = 0;
  // WHEN the user types into it THEN nothing goes in
  user().Type(*code, "x");
  EXPECT_EQ(code->Text(), "\xC3\xA9t\xC3\xA9s");
  EXPECT_EQ(changes, 0);
  // AND deleting still works, down to the limit and below
  user().Key(*code, kKeyBackspace);
  user().Key(*code, kKeyBackspace);
  EXPECT_EQ(code->Text(), "\xC3\xA9t");
  EXPECT_EQ(changes, 2);
  user().Type(*code, "x");
  EXPECT_EQ(code->Text(), "\xC3\xA9tx");
}

// --- focus ---------------------------------------------------------------------

// The code box's KeyPress asks for the combo at its third key; its Change
// looks the code up once it holds three characters. The third character must
// still land in the box, and only then may the focus move.
TEST_P(BindingBehaviour, FocusAskedInKeyPressMovesAfterTheCharacterIsInserted) {
  EventLog log;
  LogAllEvents(*combo, log);
  code->KeyPress = [&](int&) {
    if (code->Text().size() == 2) combo->SetFocus();
  };
  std::vector<std::string> lookedUp;
  code->Change = [&] {
    if (code->Text().size() == 3) lookedUp.push_back(code->Text());
  };
  int codeLostFocus = 0;
  code->LostFocus = [&] { ++codeLostFocus; };

  user().Type(*code, "125");

  EXPECT_EQ(code->Text(), "125");
  EXPECT_EQ(lookedUp, (std::vector<std::string>{"125"}));
  EXPECT_TRUE(combo->Focused());
  EXPECT_EQ(codeLostFocus, 1);
  EXPECT_EQ(log.events, (Events{"Cbo_Nom.GotFocus"}));
  EXPECT_EQ(combo->Text(), "");  // nothing typed went to the combo
  // A Tab cancelled after asking for another control goes there, not on.
  user().Focus(*code);
  code->KeyPress = [&](int& k) {
    if (k == kKeyTab) {
      ok->SetFocus();
      k = 0;
    }
  };
  log.events.clear();
  user().Key(*code, kKeyTab);
  EXPECT_TRUE(ok->Focused());
  EXPECT_EQ(log.count("Cbo_Nom.GotFocus"), 0);
}

TEST_P(BindingBehaviour, LostFocusPuttingTheFocusBackWinsAndPingPongEnds) {
  // GIVEN a box that refuses to be left empty
  user().Focus(*code);
  code->LostFocus = [&] {
    if (code->Text().empty()) code->SetFocus();
  };
  int nomGot = 0, nomLost = 0;
  nom->GotFocus = [&] { ++nomGot; };
  nom->LostFocus = [&] { ++nomLost; };
  // WHEN the user clicks into another box
  user().Focus(*nom);
  // THEN the other box had the focus for a moment, and the focus is back
  EXPECT_TRUE(code->Focused());
  EXPECT_EQ(nomGot, 1);
  EXPECT_EQ(nomLost, 1);
  // Handlers sending the focus back and forth for ever still let the user on.
  code->LostFocus = nullptr;
  code->GotFocus = [&] { nom->SetFocus(); };
  nom->GotFocus = [&] { code->SetFocus(); };
  user().Focus(*sortir);
  user().Focus(*code);  // must return
  EXPECT_TRUE(code->Focused() || nom->Focused());
}

TEST_P(BindingBehaviour, TabFollowsTabIndexAmongUsableControls) {
  user().Focus(*code);
  EventLog log;
  LogAllEvents(*code, log);
  LogAllEvents(*combo, log);
  user().Key(*code, kKeyTab);
  EXPECT_EQ(log.events, (Events{"Txt_Code.KeyPress:9", "Txt_Code.LostFocus", "Cbo_Nom.GotFocus"}));
  // GIVEN the first list disabled THEN Tab from the name skips it
  dates->SetEnabled(false);
  user().Focus(*nom);
  user().Key(*nom, kKeyTab);
  EXPECT_TRUE(values->Focused());
  // AND Tab from the last control wraps to the first
  user().Focus(*sortir);
  user().Key(*sortir, kKeyTab);
  EXPECT_TRUE(code->Focused());
  EXPECT_EQ(code->Text(), "");  // Tab inserts nothing
  // Unusable controls refuse the focus from code; disabling the focused
  // one moves the focus on.
  nom->SetEnabled(false);
  nom->SetFocus();
  sortir->SetVisible(false);
  sortir->SetFocus();
  label->SetFocus();
  EXPECT_TRUE(code->Focused());
  int codeLost = 0;
  code->LostFocus = [&] { ++codeLost; };
  code->SetEnabled(false);
  EXPECT_TRUE(combo->Focused());
  EXPECT_EQ(codeLost, 1);
}

// LostFocus runs first and already sees where the focus goes.
TEST_P(BindingBehaviour, ClickOnAButtonRunsTheFocusHandlersFirst) {
  user().Type(*nom, "x");
  EventLog log;
  LogAllEvents(*ok, log);
  Control* activeInLostFocus = nullptr;
  nom->LostFocus = [&] {
    log.events.push_back("Txt_Nom.LostFocus");
    activeInLostFocus = form().ActiveControl();
  };
  user().Click(*ok);
  EXPECT_EQ(log.events, (Events{"Txt_Nom.LostFocus", "Cmd_OK.GotFocus", "Cmd_OK.Click"}));
  EXPECT_EQ(activeInLostFocus, ok);
  EXPECT_TRUE(ok->Focused());

  // GIVEN a box whose LostFocus keeps the focus (a date refused)
  int nomLeft = 0;
  nom->LostFocus = [&] {
    ++nomLeft;
    nom->SetFocus();
  };
  log.events.clear();
  for (Control* target : {ok, values}) {
    user().Focus(*nom);
    nomLeft = 0;
    // WHEN the user clicks a button or a line THEN the box is left once for
    // that click, not again when the mouse button comes up; the click counts
    if (target == ok) user().Click(*ok);
    if (target == values) user().Pick(*values, 1);
    EXPECT_EQ(nomLeft, 1) << target->Name();
    EXPECT_TRUE(nom->Focused()) << target->Name();
  }
  EXPECT_EQ(log.count("Cmd_OK.Click"), 1);
  EXPECT_EQ(values->ListIndex(), 1);
}

// The order the logic does things in must not matter: emptying a screen
// disables the focused button before or after it asks for the first box. A
// box asked for and greyed in the same click is as if never asked for.
TEST_P(BindingBehaviour, AFocusAskedForWinsOverTheFallbackOfAControlDisabledInTheSameAction) {
  EventLog log;
  for (const int order : {0, 1, 2}) {
    SCOPED_TRACE(order);  // 0: asked, then disabled; 1: disabled, then asked; 2: asked, greyed
    // GIVEN the focus on a button whose click empties the screen
    for (Control* c : {code, nom, ok}) c->SetEnabled(true);
    user().Focus(*ok);
    ok->Click = [&, order] {
      if (order != 1) (order == 0 ? code : nom)->SetFocus();
      ok->SetEnabled(false);
      nom->SetEnabled(false);
      if (order == 1) code->SetFocus();
    };
    for (Control* c : {code, nom, sortir}) LogAllEvents(*c, log);
    log.events.clear();
    ok->LostFocus = [&] { log.events.push_back("Cmd_OK.LostFocus"); };
    // WHEN the user clicks it
    user().Click(*ok);
    // THEN the focus is in the box asked for, and never went by the next
    // button; or, that box greyed, it goes on from the button
    Control* const landed = order == 2 ? sortir : code;
    EXPECT_TRUE(landed->Focused());
    EXPECT_EQ(log.events, (Events{"Cmd_OK.LostFocus", landed->Name() + ".GotFocus"}));
    if (auto shown = user().ShownEnabled(*ok)) {
      EXPECT_FALSE(*shown);
    }
  }
}

// --- buttons, check boxes, lists, scroll bars -------------------------------------

TEST_P(BindingBehaviour, ClickOrSpaceTogglesACheckBoxAndEnterOrSpaceClicksAButton) {
  std::vector<int> seen;
  check->Click = [&] { seen.push_back(check->Value()); };
  int okClicks = 0;
  ok->Click = [&] { ++okClicks; };
  user().Click(*check);
  user().Click(*check);
  user().Focus(*ok);
  user().Key(*ok, kKeyEnter);
  user().Key(*ok, ' ');
  user().Focus(*check);
  user().Key(*check, ' ');
  EXPECT_EQ(seen, (std::vector<int>{1, 0, 1}));
  EXPECT_EQ(okClicks, 2);
  EXPECT_EQ(check->Text(), "Option");  // the caption is not typed into
}

// A combo clicks when an entry is picked, not when clicked into; a double
// click on a list picks the line, then double-clicks.
TEST_P(BindingBehaviour, PickingAnEntryClicksAndADoubleClickPicksFirst) {
  EventLog log;
  LogAllEvents(*combo, log);
  LogAllEvents(*dates, log);
  std::string textInClick;
  int indexInClick = -2;
  combo->Click = [&] {
    log.events.push_back("Cbo_Nom.Click");
    textInClick = combo->Text();
    indexInClick = combo->ListIndex();
  };
  user().Click(*combo);
  EXPECT_TRUE(combo->Focused());
  user().Pick(*combo, 1);
  user().DblClick(*dates, 3);
  EXPECT_EQ(log.events, (Events{"Cbo_Nom.GotFocus", "Cbo_Nom.Click", "Cbo_Nom.LostFocus",
                                "Lst_Date.GotFocus", "Lst_Date.Click", "Lst_Date.DblClick"}));
  EXPECT_EQ(textInClick, "Beta");
  EXPECT_EQ(indexInClick, 1);
  EXPECT_EQ(dates->Text(), "L3");
}

// Two lists and a scroll bar that follow each other through their handlers,
// with no guard but "setting the value held raises nothing".
TEST_P(BindingBehaviour, ListsAndScrollBarFollowingEachOtherStopOnTheSameIndex) {
  int datesClicks = 0, valuesClicks = 0, barChanges = 0;
  dates->Click = [&] {
    ++datesClicks;
    values->SetListIndex(dates->ListIndex());
    if (dates->ListIndex() != -1) bar->SetValue(dates->ListIndex());
  };
  values->Click = [&] {
    ++valuesClicks;
    dates->SetListIndex(values->ListIndex());
  };
  bar->Change = [&] {
    ++barChanges;
    if (bar->Value() < values->ListCount()) {
      values->SetListIndex(bar->Value());
      dates->SetListIndex(bar->Value());
    }
  };

  user().Pick(*values, 2);
  EXPECT_EQ(dates->ListIndex(), 2);
  EXPECT_EQ(bar->Value(), 2);
  EXPECT_EQ(valuesClicks, 1);
  EXPECT_EQ(datesClicks, 1);
  EXPECT_EQ(barChanges, 1);

  user().Scroll(*bar, 4);
  EXPECT_EQ(values->ListIndex(), 4);
  EXPECT_EQ(dates->ListIndex(), 4);
  EXPECT_EQ(barChanges, 2);
  EXPECT_EQ(valuesClicks, 2);
  EXPECT_EQ(datesClicks, 2);
  // A scroll past the end stops at the end, which is held already: no Change.
  user().Scroll(*bar, 99);
  EXPECT_EQ(bar->Value(), 4);
  EXPECT_EQ(barChanges, 2);
}

TEST_P(BindingBehaviour, APressOnAGreyedControlReachesWhatLiesUnderIt) {
  EventLog log;
  for (Control* c : {frame, date, ok}) LogAllEvents(*c, log);
  struct Press {
    float x, y;
  };
  std::vector<Press> onSurface, onFrame;
  form().MouseDown = [&](int b, int, float x, float y) {
    log.events.push_back("Form.MouseDown:" + std::to_string(b));
    onSurface.push_back({x, y});
  };
  frame->MouseDown = [&](int b, int, float x, float y) {
    log.events.push_back("Cdr_Cadre.MouseDown:" + std::to_string(b));
    onFrame.push_back({x, y});
  };
  user().MouseDown(frame, kMouseRight);
  // GIVEN the frame greyed, as a search greys everything but a few controls
  frame->SetEnabled(false);
  user().MouseDown(frame, kMouseRight);
  user().MouseDown(date, kMouseRight);  // inside the greyed frame
  // GIVEN a greyed box in a usable frame, and a greyed button on the surface
  frame->SetEnabled(true);
  date->SetEnabled(false);
  ok->SetEnabled(false);
  user().MouseDown(date, kMouseRight);
  user().MouseDown(ok, kMouseLeft);

  EXPECT_EQ(log.events, (Events{"Cdr_Cadre.MouseDown:2", "Form.MouseDown:2", "Form.MouseDown:2",
                                "Cdr_Cadre.MouseDown:2", "Form.MouseDown:1"}));
  EXPECT_EQ(form().ActiveControl(), nullptr);
  // Each receiver gets the press in its own coordinates (a pixel's slack).
  constexpr float kSlack = 16;
  const auto inside = [&](Press p, Rect r) {
    return p.x >= r.left - kSlack && p.x <= r.left + r.width + kSlack && p.y >= r.top - kSlack &&
           p.y <= r.top + r.height + kSlack;
  };
  ASSERT_EQ(onSurface.size(), 3u);
  ASSERT_EQ(onFrame.size(), 2u);
  const Rect dateOnSurface{frame->geometry.left + date->geometry.left,
                           frame->geometry.top + date->geometry.top, date->geometry.width,
                           date->geometry.height};
  EXPECT_TRUE(inside(onSurface[0], frame->geometry)) << onSurface[0].x << "," << onSurface[0].y;
  EXPECT_TRUE(inside(onSurface[1], dateOnSurface)) << onSurface[1].x << "," << onSurface[1].y;
  EXPECT_TRUE(inside(onFrame[1], date->geometry)) << onFrame[1].x << "," << onFrame[1].y;
  EXPECT_TRUE(inside(onSurface[2], ok->geometry)) << onSurface[2].x << "," << onSurface[2].y;
}

// --- refused input ---------------------------------------------------------------

// Neither a greyed surface nor a disabled, hidden or contained control
// takes input.
TEST_P(BindingBehaviour, DisabledHiddenOrContainedControlsTakeNoInput) {
  user().Focus(*nom);
  EventLog log;
  for (Control* c : {code, nom, combo, dates, date, check, ok}) LogAllEvents(*c, log);
  int surfaceDowns = 0;
  form().MouseDown = [&](int, int, float, float) { ++surfaceDowns; };
  form().SetEnabled(false);
  user().Type(*nom, "a");
  user().Click(*check);
  user().Pick(*combo, 0);
  user().MouseDown(nullptr, kMouseRight);
  EXPECT_TRUE(log.events.empty());
  EXPECT_EQ(surfaceDowns, 0);
  EXPECT_EQ(check->Value(), 0);
  EXPECT_TRUE(nom->Focused());  // the focus waits for the surface to come back
  form().SetEnabled(true);
  user().Type(*nom, "a");
  EXPECT_EQ(nom->Text(), "a");

  user().Focus(*sortir);
  code->SetEnabled(false);
  nom->SetVisible(false);
  frame->SetEnabled(false);  // holds the lists and the date box
  ok->SetEnabled(false);
  log.events.clear();
  user().Type(*code, "1");
  user().Type(*nom, "a");
  user().Pick(*dates, 1);
  user().Type(*date, "2");
  user().Click(*ok);
  EXPECT_TRUE(log.events.empty());
  EXPECT_EQ(code->Text(), "");
  EXPECT_EQ(dates->ListIndex(), -1);
  EXPECT_EQ(form().ActiveControl(), sortir);
}

// A read-only box, combo or check box is drawn as usual and takes the
// focus and the keys that move on; nothing the user does changes it, and
// the keys that would edit never reach its handlers. Code still sets it.
TEST_P(BindingBehaviour, ReadOnlyControlsTakeTheFocusButNoChange) {
  nom->SetText("Nord");
  combo->SetListIndex(1);
  for (Control* c : {nom, combo, check}) c->SetReadOnly(true);
  EventLog log;
  for (Control* c : {nom, combo, check}) LogAllEvents(*c, log);

  user().Type(*nom, "ab");
  user().Key(*nom, kKeyBackspace);
  user().Paste(*nom, "cd");
  user().Key(*nom, kKeyTab);
  user().Pick(*combo, 2);
  user().Type(*combo, "x");
  user().Click(*check);
  user().Key(*check, ' ');

  EXPECT_EQ(nom->Text(), "Nord");
  EXPECT_EQ(combo->Text(), "Beta");
  EXPECT_EQ(check->Value(), 0);
  if (auto shown = user().ShownText(*nom)) {
    EXPECT_EQ(*shown, "Nord");
  }
  if (auto shown = user().ShownEnabled(*nom)) {
    EXPECT_TRUE(*shown) << "drawn as usual, not greyed";
  }
  // Tab went through KeyPress and moved on; no Change, no Click.
  EXPECT_EQ(log.count("Txt_Nom.KeyPress:9"), 1);
  EXPECT_EQ(log.count("Txt_Nom.KeyPress:97") + log.count("Txt_Nom.KeyPress:8"), 0);
  for (const char* event :
       {"Txt_Nom.Change", "Cbo_Nom.Change", "Cbo_Nom.Click", "Cac_Option.Click"}) {
    EXPECT_EQ(log.count(event), 0) << event;
  }
  EXPECT_TRUE(check->Focused());

  nom->SetText("Sud");  // from code
  check->SetValue(1);
  EXPECT_EQ(nom->Text(), "Sud");
  EXPECT_EQ(check->Value(), 1);
  nom->SetReadOnly(false);
  user().Type(*nom, "!");
  EXPECT_EQ(nom->Text(), "Sud!");
}

}  // namespace forms::suite
