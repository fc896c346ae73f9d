// Screen: what a run on real widgets adds to a headless run. The session
// stays toolkit-free; a binding's screen is plugged in through
// SessionOptions::screen and receives the user's actions as real input.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "forms/form.h"
#include "forms/services.h"
#include "scenario_command.h"
#include "scenario_names.h"
#include "scenario_values.h"

namespace scenario {

class Screen {
 public:
  virtual ~Screen() = default;

  // Delivers the user's action as real input to the widgets of `target`
  // (close-window: to the host window's close box). False when the control
  // took no input (disabled or hidden).
  virtual bool Perform(const Command& c, const Target& target) = 0;
  // A property only the screen knows (Fits, FocusShown, TopIndex);
  // nullopt for the others, which are read from the model.
  virtual std::optional<Observed> Read(const Target& target, Prop property) = 0;
  // Shows `form` in its window while `drive` runs the lines acting on it.
  virtual void ShowModal(forms::Form& form, const std::function<void()>& drive) = 0;
  // Shows the message box and presses `answer` on it (nullopt: Return).
  // Returns the button the box reports pressed.
  virtual forms::MsgAnswer Answer(std::string_view text, forms::MsgButtons buttons,
                                  forms::MsgIcon icon, std::string_view title,
                                  std::optional<forms::MsgAnswer> answer) = 0;
  // The control unloaded its host form ("Sortir"): the window goes.
  virtual void HostUnloaded() = 0;
  // Lets pending window events run.
  virtual void Settle() = 0;
  // Each list's first shown line, for the dump: "name": index pairs.
  virtual std::string TopIndexes(forms::Form& form) = 0;
};

}  // namespace scenario
