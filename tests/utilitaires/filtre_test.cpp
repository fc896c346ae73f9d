// Key filter of the number boxes: what gets typed and what is refused.
#include <gtest/gtest.h>

#include "utilitaires/utilitaires.h"

namespace {

using utilitaires::kBackspace;
using utilitaires::kTab;
using utilitaires::Utilitaires;

TEST(FiltrerNombre, DigitsAndControlKeysPassWhateverTheBoxHolds) {
  const Utilitaires u;
  for (const char* boite : {"", "12", "12,5"}) {
    for (int touche : {int{'0'}, int{'5'}, int{'9'}, kBackspace, kTab}) {
      int cle = touche;
      u.Filtrer_Nombre(boite, cle, 0);
      EXPECT_EQ(cle, touche) << boite << " / " << touche;
    }
  }
}

TEST(FiltrerNombre, OneDecimalSeparatorTypedAsComma) {
  const struct {
    const char* boite;
    int touche;
    int recue;
  } cas[] = {
      {"", '.', ','},   {"", ',', ','},   {"12", '.', ','}, {"12", ',', ','},
      {"12,5", ',', 0}, {"12,5", '.', 0}, {"12.5", ',', 0}, {"12,", '.', 0},
  };
  const Utilitaires u;
  for (const auto& c : cas) {
    int cle = c.touche;
    u.Filtrer_Nombre(c.boite, cle, 0);
    EXPECT_EQ(cle, c.recue) << c.boite << " / " << static_cast<char>(c.touche);
  }
}

TEST(FiltrerNombre, EverythingElseIsRefused) {
  const Utilitaires u;
  for (int touche :
       {int{'-'}, int{'+'}, int{'a'}, int{'e'}, int{' '}, int{'/'}, 13, 27, 0xE9, 127}) {
    int cle = touche;
    u.Filtrer_Nombre("12", cle, 0);
    EXPECT_EQ(cle, 0) << touche;
  }
}

}  // namespace
