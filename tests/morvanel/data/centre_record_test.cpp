// The centre record to the screen and back: scaled amounts, the attachment
// codes, stored text that is not a number, and the byte-exact round trip of
// an unchanged centre.
#include "demo/demo_seed.h"
#include "morvanel/data/nombres_stockes.h"
#include "poste_controle.h"
#include "utilitaires/utilitaires.h"

namespace morvanel::testing {
namespace {

// The demo database, with the centre under test shown on the screen.
class CentreRecordTest : public ::testing::Test {
 protected:
  CentreRecordTest() { demo::SeedDemo(*base.db()); }

  std::unique_ptr<Poste> Montrer(const std::string& code) {
    auto p = std::make_unique<Poste>(base.db());
    p->ctl->Init();
    p->saisie.Type((*p)["Txt_CodCtrUrssaf"], code);
    EXPECT_TRUE(p->services.messages().empty()) << code;
    return p;
  }
  BaseTemporaire base{false};
};

class AllerRetourTest : public CentreRecordTest,
                        public ::testing::WithParamInterface<const char*> {};

TEST_P(AllerRetourTest, AnUnchangedCentreIsWrittenBackByteForByte) {
  auto p = Montrer(GetParam());
  ASSERT_FALSE(p->etat().ArticleInitial.empty());
  p->ctl->Ecrire_Donnees();
  EXPECT_EQ(p->etat().Art_CentreUrssaf->Item(), p->etat().ArticleInitial);
}

INSTANTIATE_TEST_SUITE_P(Demo, AllerRetourTest,
                         ::testing::Values("01", "02", "03", "04", "05", "06", "07"),
                         [](const auto& cas) { return "Centre" + std::string(cas.param); });

TEST_F(CentreRecordTest, AnEmptyOrUnreadableAmountBoxStoresNoAmount) {
  auto p = Montrer("01");
  for (const char* saisi : {"", "abc", ","}) {
    (*p)["Txt_MontForfait"].SetText(saisi);
    p->ctl->Ecrire_Donnees();
    EXPECT_EQ(p->etat().Art_CentreUrssaf->Item(22), "") << saisi;
  }
}

struct CasIllisible {
  const char* nom;
  Attributs attributs;
  int coche;
  const char* montant;
  const char* entite;
  const char* etab;
  friend void PrintTo(const CasIllisible& c, std::ostream* os) { *os << c.nom; }
};

class ValeursIllisiblesTest : public CentreRecordTest,
                              public ::testing::WithParamInterface<CasIllisible> {};

TEST_P(ValeursIllisiblesTest, AreShownAsZeroOrNothingWithoutACrash) {
  const CasIllisible& c = GetParam();
  Attributs a = c.attributs;
  a[1] = "URSSAF ESSAI";
  a[2] = "Urssaf d'essai";
  base.Ecrire("CENTREURSSAF", "09", a);
  auto p = Montrer("09");
  EXPECT_EQ((*p)["Cac_DntJPCtrUrssaf"].Value(), c.coche);
  EXPECT_EQ((*p)["Txt_MontForfait"].Text(), c.montant);
  EXPECT_EQ((*p)["Txt_CodeEntite"].Text(), c.entite);
  EXPECT_EQ((*p)["Txt_CodeEtab"].Text(), c.etab);
  // And the flag the user did not change is written back as it was.
  p->ctl->Ecrire_Donnees();
  EXPECT_EQ(p->etat().Art_CentreUrssaf->Item(17), dba::CItem(p->etat().ArticleInitial).Item(17));
}

INSTANTIATE_TEST_SUITE_P(
    Stockage, ValeursIllisiblesTest,
    ::testing::Values(CasIllisible{"DrapeauTexte", {{17, "oui"}}, 0, "", "", ""},
                      CasIllisible{"DrapeauVide", {}, 0, "", "", ""},
                      CasIllisible{"DrapeauUn", {{17, "1"}}, 1, "", "", ""},
                      CasIllisible{"MontantDecimal", {{17, "0"}, {22, "12.5"}}, 0, "", "", ""},
                      CasIllisible{"EntiteSeule", {{17, "0"}, {25, "001"}}, 0, "", "001", ""}),
    [](const auto& cas) { return std::string(cas.param.nom); });

// Stored texts the boxes' limits or the amount's form would not give back:
// shown whole, and an unchanged centre left with "Sortir" asks nothing and
// writes nothing.
struct CasTexteLong {
  const char* nom;
  Attributs attributs;
  const char* controle;  // a box that must show its attribute whole
  const char* affiche;
  friend void PrintTo(const CasTexteLong& c, std::ostream* os) { *os << c.nom; }
};

class TextesLongsTest : public CentreRecordTest,
                        public ::testing::WithParamInterface<CasTexteLong> {};

TEST_P(TextesLongsTest, AreShownWholeAndAnUnchangedCentreIsWrittenBackAsRead) {
  const CasTexteLong& c = GetParam();
  Attributs a = {{1, "URSSAF ESSAI"}, {2, "Urssaf d'essai"}, {17, "0"}};
  for (const auto& [n, texte] : c.attributs) a[n] = texte;
  base.Ecrire("CENTREURSSAF", "09", a);
  const std::string lu = base.Lire("CENTREURSSAF", "09");
  // GIVEN the centre shown
  auto p = Montrer("09");
  EXPECT_EQ((*p)[c.controle].Text(), c.affiche);
  // WHEN the screen is copied back THEN the record is as read, byte for byte
  p->ctl->Ecrire_Donnees();
  EXPECT_EQ(p->etat().Art_CentreUrssaf->Item(), lu);
  // AND leaving asks nothing, writes nothing
  p->saisie.Click((*p)["Cmd_Sortir"]);
  EXPECT_TRUE(p->services.messages().empty());
  EXPECT_EQ(p->ctl->W_Sortir(), 1);
  EXPECT_EQ(base.Lire("CENTREURSSAF", "09"), lu);
}

INSTANTIATE_TEST_SUITE_P(
    Stockage, TextesLongsTest,
    ::testing::Values(
        CasTexteLong{"Montant5Chiffres", {{22, "12345"}}, "Txt_MontForfait", "123,45"},
        CasTexteLong{"MontantZerosEnTete", {{22, "0125"}}, "Txt_MontForfait", "1,25"},
        CasTexteLong{"MontantIllisible", {{22, "abc"}}, "Txt_MontForfait", ""},
        CasTexteLong{"SigleLong",
                     {{1, "URSSAF DES PAYS DE LA LOIRE ET DU CENTRE-VAL"}},
                     "Txt_SigleCtrUrssaf",
                     "URSSAF DES PAYS DE LA LOIRE ET DU CENTRE-VAL"},
        CasTexteLong{
            "NomLongAccentue",
            {{2, "Union de recouvrement des cotisations de sécurité sociale, Île-de-France"}},
            "Txt_NomCtrUrssaf",
            "Union de recouvrement des cotisations de sécurité sociale, Île-de-France"},
        CasTexteLong{"CodeOrganismeLong", {{16, "1170"}}, "Txt_CodOrgCtrUrssaf", "1170"},
        CasTexteLong{"CodeSNV2Long", {{24, "7511700012"}}, "Txt_CodeSNV2", "7511700012"},
        CasTexteLong{"RattachementLong", {{25, "0010021"}}, "Txt_CodeEntite", "001"}),
    [](const auto& cas) { return std::string(cas.param.nom); });

TEST_F(CentreRecordTest, ANewCentreTakesTheRateHistoryTypedBeforeItExisted) {
  auto p = Montrer("02");
  p->ctl->Vider_Donnees();
  p->etat().ModeAjout = true;
  p->etat().ItemTemp->setItem(20, "20455");
  p->etat().ItemTemp->setItem(21, "6900");
  p->etat().Art_CentreUrssaf =
      std::make_unique<dba::CItem>(base.db()->DBOpen("CENTREURSSAF").DBNew("08"));
  p->ctl->Ecrire_Donnees();
  const dba::CItem& art = *p->etat().Art_CentreUrssaf;
  EXPECT_EQ(art.Item(20), "20455");
  EXPECT_EQ(art.Item(21), "6900");
  EXPECT_EQ(art.Item(17), "0") << "a centre written by the control has its flag";
  EXPECT_EQ(art.Item(22), "");
}

TEST(NombresStockesTest, ConversionsOfTheStoredNumbers) {
  const utilitaires::Utilitaires u;
  EXPECT_EQ(data::MontantAffiche(u, "1250"), "12,50");
  EXPECT_EQ(data::MontantAffiche(u, "29"), "0,29");
  EXPECT_EQ(data::MontantAffiche(u, ""), std::nullopt);
  EXPECT_EQ(data::MontantAffiche(u, "12.5"), std::nullopt);
  EXPECT_EQ(data::MontantStocke("12,5"), "1250");
  EXPECT_EQ(data::MontantStocke("0,125"), "13");
  EXPECT_EQ(data::MontantStocke(""), "");
  EXPECT_EQ(data::MontantStocke("1 000"), std::nullopt);
  EXPECT_EQ(data::LireEntier(" 2 "), 2);
  EXPECT_EQ(data::LireEntier("abc"), 0);
  EXPECT_EQ(data::ValeurCoche("-1"), 1);
}

}  // namespace
}  // namespace morvanel::testing
