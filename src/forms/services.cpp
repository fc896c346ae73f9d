// The default button of message boxes, shared by every binding.
#include "forms/services.h"

#include <array>

namespace forms {

MsgAnswer DefaultAnswer(std::string_view text, MsgButtons buttons) {
  static constexpr std::array<std::string_view, 2> kDestructive = {
      "Etes-vous sûr de vouloir supprimer cet article ?",
      "Etes-vous sûr de vouloir quitter cette création ?"};
  if (buttons == MsgButtons::OK) return MsgAnswer::OK;
  for (std::string_view question : kDestructive) {
    if (text == question) return MsgAnswer::No;
  }
  return MsgAnswer::Yes;
}

}  // namespace forms
