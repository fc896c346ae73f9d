// RIB: the bank-details control, a centre's bank account (holder, bank,
// IBAN, BIC, and for a French IBAN its RIB) as named fields inside an
// embedded control of a form. Outside components, bank-details control (no
// Qt: it builds named controls and shows its messages through the services).
//
//   components::RIB rib(form, form.Get("Ctr_RIB"), services);
//   rib.Lire_RIB(centre, 26);          // record -> screen
//   rib.Verifier_RIB();                // a message and the focus when refused
//   if (!rib.RIB_Invalide()) rib.Ecrire_RIB(centre, 26);  // screen -> record
//
// Attribute layout, from the first attribute P given to Lire/Ecrire (the
// centre record uses P = 26, so attributes 26 to 31):
//
//   P+0 (26)  titulaire: the account holder
//   P+1 (27)  domiciliation: the bank
//   P+2 (28)  IBAN, without blanks, in capitals
//   P+3 (29)  BIC, in capitals
//   P+4 (30)  code banque followed by code guichet (10 digits), from a
//             French or Monaco IBAN; empty for any other
//   P+5 (31)  clé RIB (2 digits), from a French or Monaco IBAN; empty for
//             any other
//
// Round trip: Lire_RIB then Ecrire_RIB with no change by the user leaves the
// holder and the bank exactly as they were, byte for byte (marks and all);
// a field the user changed is written as its text. The IBAN and the BIC are
// always written normalised and P+4, P+5 derived from the IBAN.
//
// Fields: Txt_Titulaire, Txt_Domiciliation, Txt_Iban (typed with or without
// blanks, any case; shown in groups of four once left), Txt_Bic (capitals),
// and the read-only Txt_Banque, Txt_Guichet, Txt_Compte, Txt_CleRib, filled
// from a French IBAN as it is typed (out of the tab order, reached by a
// click). When the embedded control (or its form) is disabled, the
// named-controls layer refuses every field any input; LectureSeule_RIB
// instead leaves the details readable and copyable, and refuses edits.
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
class Services;
}  // namespace forms

namespace components {

class Client;

inline constexpr int kAttributsRib = 6;  // attributes P to P+5

class RIB {
 public:
  // Creates the labels and text boxes inside `conteneur` (owner and
  // container of every inner control). Does not take ownership of `form`,
  // `conteneur` or `services`; all three must outlive this object.
  RIB(forms::Form& form, forms::Control& conteneur, forms::Services& services);
  ~RIB();
  RIB(const RIB&) = delete;
  RIB& operator=(const RIB&) = delete;

  // The host's database and client. Kept for lookups of the bank-details
  // control; the fields make none today.
  void Base_RIB(std::shared_ptr<dba::Database> base);
  void Client_RIB(std::shared_ptr<Client> client);

  // True: the four entry fields refuse every edit of the user (the details
  // are shown, selectable and copyable, as they are); false: they take
  // entry again.
  void LectureSeule_RIB(bool lectureSeule);

  // Shows the bank details held in `record` from attribute `premierAttribut`
  // on, and forgets what was typed before. Returns "" or an error text (an
  // attribute number below 1: nothing done).
  std::string Lire_RIB(dba::CItem& record, int premierAttribut);
  // Checks the details typed. Refused: the field's message ("Message
  // TARVELINE", exclamation, OK), the focus on the field, RIB_Invalide True.
  void Verifier_RIB();
  // True when the last Verifier_RIB refused the details; False before any.
  [[nodiscard]] bool RIB_Invalide() const;
  // True when an entry field no longer holds what Lire_RIB showed.
  [[nodiscard]] bool RIB_Modifie() const;
  // Puts the details on screen into `record`, attributes P to P+5.
  std::string Ecrire_RIB(dba::CItem& record, int premierAttribut);

 private:
  struct Private;
  std::unique_ptr<Private> const d;
};

}  // namespace components
