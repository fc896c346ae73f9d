// How a stored attribute shows in a one-line text box.
#include "components/texte_affiche.h"

#include "dba/citem.h"

namespace components {

std::string TexteAffiche(std::string_view stocke) {
  std::string texte;
  texte.reserve(stocke.size());
  for (char c : stocke) {
    if (c == dba::kValueMark || c == dba::kSubvalueMark || c == dba::kAttributeMark) {
      texte += " / ";
    } else {
      texte += c;
    }
  }
  return texte;
}

}  // namespace components
