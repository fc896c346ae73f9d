// AdresseBancaireDeps: the few things the bank-details dialog works with,
// named once. Field entry subsystem.
//
// Built from the control's context in one place (AdresseBancaireDeps::From);
// the dialog and its opener use nothing else. Refers to everything, owns
// nothing.
#pragma once

#include <functional>
#include <memory>
#include "morvanel/state/state_fwd.h"

namespace dba {
class Database;
class DBFile;
}  // namespace dba
namespace components {
class Client;
}
namespace forms {
class Control;
class Services;
}  // namespace forms
namespace morvanel::fields {

struct AdresseBancaireDeps {
  // The screen's code box (read when the dialog opens) and the button that
  // opens it.
  forms::Control& Txt_CodCtrUrssaf;
  forms::Control& Cmd_AdresseBancaire;
  // Art_CentreUrssaf, ArticleInitial, ModeAjout and DroitsEcran.
  state::InstanceState& etat;
  forms::Services& services;
  // Given by the host, possibly after the control was built; handed on to
  // the bank-details control.
  const std::shared_ptr<dba::Database>& base;
  const std::shared_ptr<components::Client>& client;
  // Opened by Init: where the immediate save checks the centre stored.
  const dba::DBFile& F_CentreUrssaf;
  // The routine every write of a centre is followed by.
  std::function<void()> Lancer_UNIPG;

  [[nodiscard]] static AdresseBancaireDeps From(state::UrssafContext& ctx);
};

}  // namespace morvanel::fields
