// The fields of the address control: names, captions, places and limits.
// Outside components, address control (no Qt).
#include "components/adresse/adresse_champs.h"

namespace components::adresse_detail {

namespace {

constexpr int kLigne = 310;     // one line of the control
constexpr int kHauteur = 285;   // a text box
constexpr int kHautEtq = 255;   // a label, 30 twips lower than its box
constexpr int kColonne = 1260;  // where the boxes of the first column start

constexpr forms::Rect Etq(int left, int ligne, int width) {
  return {left, ligne * kLigne + 30, width, kHautEtq};
}
constexpr forms::Rect Txt(int left, int ligne, int width) {
  return {left, ligne * kLigne, width, kHauteur};
}

}  // namespace

const std::array<DefinitionChamp, kChampsAffiches>& Champs() {
  using C = ChampAdresse;
  static const std::array<DefinitionChamp, kChampsAffiches> champs = {{
      {C::PointDeRemise, "Txt_PointRemise", "Etq_PointRemise", "Destinataire", Etq(0, 0, 1200),
       Txt(kColonne, 0, 4875), 38, Filtre::Aucun},
      {C::Complement, "Txt_Complement", "Etq_Complement", "Complément", Etq(0, 1, 1200),
       Txt(kColonne, 1, 4875), 38, Filtre::Aucun},
      {C::Voie, "Txt_Voie", "Etq_Voie", "N° et voie", Etq(0, 2, 1200), Txt(kColonne, 2, 4875), 38,
       Filtre::Aucun},
      {C::LieuDit, "Txt_LieuDit", "Etq_LieuDit", "Lieu-dit, BP", Etq(0, 3, 1200),
       Txt(kColonne, 3, 4875), 38, Filtre::Aucun},
      {C::CodePostal, "Txt_CodePostal", "Etq_CodePostal", "Code postal", Etq(0, 4, 1200),
       Txt(kColonne, 4, 615), kLongueurCodePostal, Filtre::CodePostal},
      {C::Ville, "Txt_Ville", "Etq_Ville", "Ville", Etq(1935, 4, 435), Txt(2430, 4, 2010), 32,
       Filtre::Majuscules},
      {C::Cedex, "Txt_Cedex", "Etq_Cedex", "Cedex", Etq(4500, 4, 495), Txt(5040, 4, 1095), 10,
       Filtre::Majuscules},
      {C::Pays, "Txt_Pays", "Etq_Pays", "Pays", Etq(0, 5, 1200), Txt(kColonne, 5, 1575), 32,
       Filtre::Majuscules},
      {C::Email, "Txt_Email", "Etq_Email", "E-mail", Etq(2940, 5, 555), Txt(3555, 5, 2580), 80,
       Filtre::Aucun},
      {C::Telephone, "Txt_Telephone", "Etq_Telephone", "Téléphone", Etq(0, 6, 1200),
       Txt(kColonne, 6, 1575), 20, Filtre::Telephone},
      {C::Telecopie, "Txt_Telecopie", "Etq_Telecopie", "Télécopie", Etq(2940, 6, 900),
       Txt(3900, 6, 1575), 20, Filtre::Telephone},
  }};
  return champs;
}

}  // namespace components::adresse_detail
