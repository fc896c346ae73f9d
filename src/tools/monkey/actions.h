// The actions a clerk can take on the control's screen and its modal forms,
// written as scenario lines: every action on every control (for the rights
// audit) and a seeded random pick among them (for random sessions).
// Random clerk sessions (src/tools/monkey, no Qt).
//
//   monkey::Generator g(42);
//   std::string line = g.Next(session.Forms());   // "type Txt_NomCtrUrssaf é"
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "forms/control.h"
#include "forms/form.h"
#include "forms/services.h"

namespace monkey {

// The name a scenario gives `control` of `form`: its path on the control's
// surface (`surface` true), "FORM.PATH" on a modal form.
[[nodiscard]] std::string ScenarioName(const forms::Form& form, const forms::Control& control,
                                       bool surface);

// Every action of a fixed repertoire on one control, by its kind: clicks,
// focus, each key, typed samples (codes, dates, amounts, junk, accents, a
// long text), each entry picked or double-clicked, each scroll value.
[[nodiscard]] std::vector<std::string> ActionsOn(const forms::Control& control,
                                                 const std::string& name);
// The actions on a form's surface itself (the right-click menu of the control).
[[nodiscard]] std::vector<std::string> ActionsOnSurface();

// The texts the repertoire types; the random pick makes up others too.
[[nodiscard]] const std::vector<std::string>& TypedSamples();

class Generator {
 public:
  explicit Generator(std::uint64_t seed) : rng_(seed) {}

  // One action on the topmost form of `forms` (the surface first).
  [[nodiscard]] std::string Next(const std::vector<forms::Form*>& forms);
  // An action that may close the modal form on top ("Retour", "OK", ...).
  [[nodiscard]] std::string Closing(const forms::Form& form);
  // One of the box's buttons.
  [[nodiscard]] forms::MsgAnswer Answer(forms::MsgButtons buttons);
  // The rights line of a session ("user clerk", "niveau 1", ...) and its level.
  [[nodiscard]] std::pair<std::string, int> Rights();

  [[nodiscard]] std::uint64_t Below(std::uint64_t n) { return n == 0 ? 0 : rng_() % n; }

 private:
  [[nodiscard]] std::string Text();
  [[nodiscard]] std::string FieldText(const std::string& control);
  [[nodiscard]] std::string Action(const forms::Control& control, const std::string& name);

  std::mt19937_64 rng_;
};

}  // namespace monkey
