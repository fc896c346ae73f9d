// What a host does when the user closes its window (close box, "Quitter")
// while the control is on it: the control's own way out runs first, so an
// edit is never dropped without the question "Sortir" asks.
// Host side (link morvanel_hosting).
//
//   void MyWindow::closeEvent(QCloseEvent* e) {
//     if (morvanel::hosting::QueryClose(*control, services)) e->accept(); else e->ignore();
//   }
#pragma once

namespace forms {
class Services;
}

namespace morvanel {
class ICtrUrssaf;
}

namespace morvanel::hosting {

// Runs the control's exit path as if the user had left with "Sortir" (a
// creation is first left through "Annuler", which asks whether to quit
// it). True when the control agrees to go: its W_Sortir is then 1. False
// when the user answered "Annuler", refused to quit a creation, or the
// check before saving kept the window open.
[[nodiscard]] bool QueryClose(ICtrUrssaf& control, forms::Services& services);

}  // namespace morvanel::hosting
