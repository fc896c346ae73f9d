// Adresse: the address control, a French postal address (AFNOR lines) as a
// group of named fields inside an embedded control of a form.
// Outside components, address control (no Qt: it builds named controls).
//
//   components::Adresse adresse(form, form.Get("Ctr_AdresseUrssaf"));
//   adresse.Base_Adresse(db);
//   adresse.Parametre4_Adresse(true);
//   adresse.Parametre3_Adresse(true);
//   adresse.Parametre5_Adresse(false);
//   adresse.Init_Adresse();
//   adresse.Lire_Adresse(centre, 3);    // record -> screen
//   adresse.Ecrire_Adresse(centre, 3);  // screen -> record
//
// Attribute layout, from the first attribute P given to Lire/Ecrire (the
// centre record uses P = 3, so attributes 3 to 14):
//
//   P+0  (3)  point de remise: recipient complement (service, person)
//   P+1  (4)  complément: bâtiment, résidence, étage
//   P+2  (5)  numéro et voie
//   P+3  (6)  lieu-dit ou boîte postale
//   P+4  (7)  code postal: 5 digits (free text in foreign mode)
//   P+5  (8)  ville (letters typed are put in capitals as they are typed)
//   P+6  (9)  mention CEDEX
//   P+7  (10) pays
//   P+8  (11) téléphone
//   P+9  (12) télécopie
//   P+10 (13) e-mail
//   P+11 (14) reserved: never shown, written back as it was read
//
// Round trip: Lire_Adresse then Ecrire_Adresse with no change by the user
// leaves the twelve attributes exactly as they were, byte for byte (value
// and subvalue marks, blanks, hidden fields, the reserved attribute, and
// attributes past the end of a short record included). A field the user
// changed is written as its text; a multivalued attribute is shown with its
// values joined by " / " and, once edited, is stored as one value.
//
// Settings (Boolean properties, False until set; applied by Init_Adresse;
// until then every field shows):
//   Parametre3_Adresse  True: show the country field (pays).
//   Parametre4_Adresse  True: show téléphone, télécopie and e-mail.
//   Parametre5_Adresse  True: foreign address: the postcode takes any
//                       character (up to 10) instead of 5 digits.
// A hidden field still shows and keeps what was read, so it is written back
// unchanged.
//
// Enabled state: the inner fields sit in the embedded control; when that
// control (or the form) is disabled, the named-controls layer refuses them
// any input. The inner fields' own Enabled is left alone.
#pragma once

#include <memory>
#include <string>

namespace dba {
class CItem;
class Database;
}  // namespace dba
namespace forms {
class Control;
class Form;
}  // namespace forms

namespace components {

// The fields, in attribute order (attribute = first attribute + the value).
enum class ChampAdresse {
  PointDeRemise,
  Complement,
  Voie,
  LieuDit,
  CodePostal,
  Ville,
  Cedex,
  Pays,
  Telephone,
  Telecopie,
  Email,
  Reserve
};
inline constexpr int kAttributsAdresse = 12;  // attributes P to P+11
inline constexpr int kChampsAffiches = 11;    // all but the reserved one

class Adresse {
 public:
  // Creates the labels and text boxes inside `conteneur` (owner and
  // container of every inner control). Neither is owned; both must outlive
  // this object.
  Adresse(forms::Form& form, forms::Control& conteneur);
  ~Adresse();
  Adresse(const Adresse&) = delete;
  Adresse& operator=(const Adresse&) = delete;

  // The host's database. Kept for lookups of the address control; the
  // fields make none today.
  void Base_Adresse(std::shared_ptr<dba::Database> base);

  void Parametre3_Adresse(bool afficherPays);
  [[nodiscard]] bool Parametre3_Adresse() const;
  void Parametre4_Adresse(bool afficherContacts);
  [[nodiscard]] bool Parametre4_Adresse() const;
  void Parametre5_Adresse(bool adresseEtrangere);
  [[nodiscard]] bool Parametre5_Adresse() const;

  // Applies the three settings (which fields show, the postcode's rule).
  void Init_Adresse();

  // Shows the address held in `record` from attribute `premierAttribut` on.
  // Returns "" or an error text (an attribute number below 1: nothing done).
  std::string Lire_Adresse(dba::CItem& record, int premierAttribut);
  // Puts the address on screen into `record` from `premierAttribut` on.
  std::string Ecrire_Adresse(dba::CItem& record, int premierAttribut);
  // Empties every field and forgets what was read.
  void Vider_Adresse();

  // The text box of a field (not for ChampAdresse::Reserve, which has none).
  [[nodiscard]] forms::Control& Zone(ChampAdresse champ) const;
  // The label in front of a field.
  [[nodiscard]] forms::Control& Etiquette(ChampAdresse champ) const;

 private:
  struct Private;
  std::unique_ptr<Private> const d;
};

}  // namespace components
