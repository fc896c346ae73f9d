// From a typed centre code to its rate lists, in one place. Control shell.
#include "morvanel/shell/ctr_urssaf_private.h"

namespace morvanel::shell {

// Txt_CodCtrUrssaf.Change, the clerk's way to a centre. In order:
//   key     Enter in the code box, or leaving it, completes the code with
//           zeros (CodeSigleFields); the new text runs what follows. A
//           choice by sigle puts the centre's code in the box the same way.
//   code    only a two-character code goes further.
//   read    the record of that code; an unreadable one brings the search
//           back with a beep, an unknown one with "Ce centre URSSAF n'existe
//           pas.".
//   modes   Afficher: the screen enabled for one centre.
//   record  Afficher_Donnees: the fields, the pickers, the attachment codes,
//           the rate model, then the bars and buttons that follow its lists.
//   end     the code box locked and the sigle shown; a failure in modes or
//           record empties the screen back to the search instead.
void Ctr_Urssaf::Private::Txt_CodCtrUrssaf_Change() {
  if (!codeSigle.Lire_Centre()) return;
  codeSigle.Afficher_Centre([this] {
    modes.Afficher();
    Afficher_Donnees();
  });
}

// The pickers are filled before the attachment codes go into their boxes,
// which look the codes up in them; the bars are sized on the rate lists.
void Ctr_Urssaf::Private::Afficher_Donnees() {
  centre.Afficher_Champs();
  pickers.Remplir_Entite();
  pickers.Remplir_Etab();
  centre.Afficher_Rattachement();
  taux.Remplir_Valeur();
  centre.Afficher_Barres();
}

}  // namespace morvanel::shell
