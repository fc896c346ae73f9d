// The centre record to the screen and back: the byte-exact round trip of an
// unchanged centre, amounts the boxes cannot read, a new centre's rate
// history, and the conversions of the stored numbers.
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

// Whatever the record holds, a centre nobody changed is copied back from the
// screen byte for byte, so that "Sortir" sees no change: the demo's centres,
// and stored texts the boxes would not give back as they are (what the
// boxes show of these: the fields_stored_texts scenario).
TEST_F(CentreRecordTest, AnUnchangedCentreIsWrittenBackByteForByte) {
  const Attributs stockes[] = {{{17, "oui"}},
                               {},
                               {{17, "1"}},
                               {{22, "12.5"}},
                               {{25, "001"}},
                               {{22, "12345"}},
                               {{22, "0125"}},
                               {{22, "abc"}},
                               {{1, "URSSAF DES PAYS DE LA LOIRE ET DU CENTRE-VAL"}},
                               {{2, "Union de recouvrement des cotisations, Île-de-France"}},
                               {{16, "1170"}},
                               {{24, "7511700012"}},
                               {{25, "0010021"}}};
  std::vector<std::string> codes = {"01", "02", "03", "04", "05", "06", "07"};
  for (Attributs a : stockes) {
    a.try_emplace(1, "URSSAF ESSAI");
    a.try_emplace(2, "Urssaf d'essai");
    codes.push_back(std::to_string(10 + codes.size()));
    base.Ecrire("CENTREURSSAF", codes.back(), a);
  }
  for (const std::string& code : codes) {
    auto p = Montrer(code);
    ASSERT_FALSE(p->etat().ArticleInitial.empty()) << code;
    p->ctl->Ecrire_Donnees();
    EXPECT_EQ(p->etat().Art_CentreUrssaf->Item(), p->etat().ArticleInitial) << code;
  }
}

TEST_F(CentreRecordTest, AnEmptyOrUnreadableAmountBoxStoresNoAmount) {
  auto p = Montrer("01");
  for (const char* saisi : {"", "abc", ","}) {
    (*p)["Txt_MontForfait"].SetText(saisi);
    p->ctl->Ecrire_Donnees();
    EXPECT_EQ(p->etat().Art_CentreUrssaf->Item(22), "") << saisi;
  }
}

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
