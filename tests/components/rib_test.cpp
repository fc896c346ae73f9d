// The bank-details control on a form: what it writes back of details left
// alone, and of an IBAN and a BIC typed loosely.
#include <gtest/gtest.h>

#include <string>

#include "components/rib/rib.h"
#include "dba/citem.h"
#include "forms/control.h"
#include "forms/form.h"
#include "forms/headless/headless_services.h"
#include "forms/user_input.h"

namespace {

using components::RIB;

constexpr int kP = 26;

// One screen per test: the dialog's form with the embedded control.
struct Ecran {
  forms::Form form{"Frm_AdresseBancaire", 5760, 2640};
  forms::Control& conteneur = form.Add(forms::Kind::Embedded, "Ctr_RIB", {120, 0, 5655, 2055});
  forms::headless::HeadlessServices services;  // a message box nobody expects throws
  RIB rib{form, conteneur, services};
  forms::UserInput input{form, services};

  forms::Control& operator[](const std::string& nom) const { return form.Get("Ctr_RIB." + nom); }
  // Empties a field as the user would (select all, Delete).
  void Effacer(const std::string& nom) {
    forms::Control& c = (*this)[nom];
    input.Focus(c);
    c.SetSelection(0, 99);
    input.Delete(c);
  }
};

dba::CItem Centre(const std::string& titulaire, const std::string& iban, const std::string& bic,
                  const std::string& banqueGuichet, const std::string& cle) {
  dba::CItem r;
  r.setItem(1, "URSSAF NORD");
  r.setItem(kP, titulaire);
  r.setItem(kP + 1, "BANQUE DE FRANCE LILLE");
  r.setItem(kP + 2, iban);
  r.setItem(kP + 3, bic);
  r.setItem(kP + 4, banqueGuichet);
  r.setItem(kP + 5, cle);
  return r;
}

TEST(Rib, UnchangedDetailsComeBackInTheirStoredForm) {
  const std::string vm(1, dba::kValueMark);
  struct Cas {
    const char* quoi;
    std::string texte;  // the whole record
    std::string ecrit;  // what Ecrire_RIB gives back; "" when the same
  };
  const std::string demo =
      Centre("URSSAF NORD", "FR7630006000011234567890189", "BDFEFRPP", "3000600001", "89").Item();
  const Cas cas[] = {
      {"demo layout", demo, ""},
      {"IBAN stored loosely, RIB not derived, marks in the holder",
       Centre("A" + vm + "B", "fr76 3000 6000 0112 3456 7890 189", "bdfefrpp", "", "").Item(),
       Centre("A" + vm + "B", "FR7630006000011234567890189", "BDFEFRPP", "3000600001", "89")
           .Item()},
      {"German IBAN with a French RIB left over",
       Centre("URSSAF NORD", "DE89370400440532013000", "DEUTDEFF", "3000600001", "89").Item(),
       Centre("URSSAF NORD", "DE89370400440532013000", "DEUTDEFF", "", "").Item()},
      {"Monaco IBAN", Centre("URSSAF NORD", "MC5811222000010123456789030", "", "", "").Item(),
       Centre("URSSAF NORD", "MC5811222000010123456789030", "", "1122200001", "30").Item()},
      {"no bank details, record shorter",
       dba::CItem("URSSAF\xFE"
                  "Centre")
           .Item(),
       ""},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.quoi);
    Ecran e;
    dba::CItem r(c.texte);
    e.rib.Lire_RIB(r, kP);
    e.input.Focus(e["Txt_Iban"]);  // passing through the IBAN regroups it
    e.input.Focus(e["Txt_Bic"]);
    EXPECT_FALSE(e.rib.RIB_Modifie());
    e.rib.Ecrire_RIB(r, kP);
    if (c.ecrit.empty()) {
      EXPECT_EQ(r.Item(), c.texte);
      continue;
    }
    const dba::CItem attendu(c.ecrit);
    for (int a = 1; a < kP + 6; ++a) EXPECT_EQ(r.Item(a), attendu.Item(a)) << "attribute " << a;
  }
}

TEST(Rib, AnIbanTypedLooselyIsStoredInCapitalsWithItsRib) {
  Ecran e;
  dba::CItem r = Centre("URSSAF NORD", "DE89370400440532013000", "DEUTDEFF", "", "");
  e.rib.Lire_RIB(r, kP);
  e.Effacer("Txt_Iban");
  e.input.Type(e["Txt_Iban"], "fr14 2004-1010 0505 0001 3m02 606é");
  EXPECT_EQ(e["Txt_Iban"].Text(), "FR14 20041010 0505 0001 3M02 606");
  EXPECT_EQ(e["Txt_Compte"].Text(), "0500013M026");  // filled as it is typed
  e.input.Focus(e["Txt_Bic"]);
  EXPECT_EQ(e["Txt_Iban"].Text(), "FR14 2004 1010 0505 0001 3M02 606");
  e.Effacer("Txt_Bic");
  e.input.Type(e["Txt_Bic"], "psst frpp-lil");
  EXPECT_EQ(e["Txt_Bic"].Text(), "PSSTFRPPLIL");

  e.rib.Ecrire_RIB(r, kP);
  EXPECT_EQ(r.Item(kP + 2), "FR1420041010050500013M02606");
  EXPECT_EQ(r.Item(kP + 3), "PSSTFRPPLIL");
  EXPECT_EQ(r.Item(kP + 4), "2004101005");
  EXPECT_EQ(r.Item(kP + 5), "06");
  EXPECT_EQ(r.Item(kP), "URSSAF NORD");
  EXPECT_EQ(r.Item(1), "URSSAF NORD") << "only the six attributes are written";

  // WHEN the IBAN becomes a foreign one, THEN the French RIB goes
  e.Effacer("Txt_Iban");
  e.input.Type(e["Txt_Iban"], "BE68539007547034");
  e.rib.Ecrire_RIB(r, kP);
  EXPECT_EQ(r.Item(kP + 2), "BE68539007547034");
  EXPECT_EQ(r.Item(kP + 4), "");
  EXPECT_EQ(r.Item(kP + 5), "");
}

}  // namespace
