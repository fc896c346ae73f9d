// "Sortir": leaving the screen, with the save question when the centre shown
// was changed. Editing workflow subsystem.
//
// Leaving sets W_Sortir to 1 and then asks the platform to unload the host
// form the control sits on; the host reads W_Sortir afterwards.
#pragma once

#include "morvanel/state/urssaf_context.h"

namespace morvanel::workflow {

class ExitCommand {
 public:
  explicit ExitCommand(shell::UrssafContext& ctx) : ctx_(ctx) {}
  // Installs the handler on Cmd_Sortir.
  void Attach();

  void Cmd_Sortir_Click();

 private:
  void Quitter();
  [[nodiscard]] bool PeutModifier() const;
  shell::UrssafContext& ctx_;
};

}  // namespace morvanel::workflow
