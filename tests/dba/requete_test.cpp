// Request records, the quoting of values into sentences, and the walk over a
// record's attributes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dba/citem.h"
#include "dba/database.h"
#include "dba/requete.h"
#include "test_database.h"

namespace dba {
namespace {

using testing::Marks;

struct Cas {
  const char* nom;
  std::string valeur;
  bool citable;
};

TEST(CiterTest, OnlyValuesThatKeepTheirPlainMeaningAreQuoted) {
  const std::vector<Cas> cas = {
      {"code", "07", true},
      {"empty", "", true},
      {"accents and apostrophe", "URSSAF d'Île-de-France", true},
      {"blank", "A B", true},
      {"quote ends the value", "07\" OU 1 # \"", false},
      {"closing bracket means begins-with", "07]", false},
      {"opening bracket means ends-with", "[07", false},
      {"attribute mark",
       "0\xFE"
       "7",
       false},
      {"value mark",
       "0\xFD"
       "7",
       false},
      {"subvalue mark",
       "0\xFC"
       "7",
       false},
      {"tab", "0\t7", false},
      {"delete byte", "0\x7F", false},
  };
  for (const Cas& c : cas) {
    EXPECT_EQ(Citable(c.valeur), c.citable) << c.nom;
    EXPECT_EQ(Citer(c.valeur).has_value(), c.citable) << c.nom;
    EXPECT_EQ(CiterDebut(c.valeur).has_value(), c.citable) << c.nom;
  }
  EXPECT_EQ(Citer("07"), "\"07\"");
  EXPECT_EQ(CiterDebut("001"), "\"001]\"");
}

class RequeteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db_ = scratch_.Open();
    db_->CreateFile("ETAB");
    DBFile f = db_->DBOpen("ETAB");
    for (const auto& [cle, nom] : std::vector<std::pair<std::string, std::string>>{
             {"001002", "Lyon"}, {"001", "Siège"}, {"0011", "Autre"}, {"002001", "Brest"}}) {
      CItem r = f.DBNew(cle);
      r.setItem(1, nom);
      r.DBWrite();
    }
  }
  std::vector<std::string> Cles(const CItem& resultat) {
    std::vector<std::string> cles;
    for (const CItem::AttributeView ligne : resultat.Attributes()) cles.push_back(ligne.Value(1));
    return cles;
  }
  testing::ScratchDatabase scratch_;
  std::shared_ptr<Database> db_;
};

TEST_F(RequeteTest, AQuotedValueIsMatchedExactlyAndABeginningAsABeginning) {
  const CItem egal = DBSelect(*db_, {"SSELECT ETAB AVEC @ID = " + *Citer("001"), "ETAB", "0 1"});
  EXPECT_EQ(egal.Item(), Marks("001]Siège"));
  const CItem debut =
      DBSelect(*db_, {"SSELECT ETAB AVEC @ID = " + *CiterDebut("001") + " PAR @ID", "ETAB"});
  EXPECT_EQ(Cles(debut), (std::vector<std::string>{"001", "001002", "0011"}));
}

TEST_F(RequeteTest, TheRequestRecordKeepsSentenceFileAndColumnsApart) {
  const Requete r{"SSELECT ETAB PAR 1", "ETAB", "1 0"};
  EXPECT_EQ(r.Texte(), Marks("SSELECT ETAB PAR 1^ETAB^1 0"));
  EXPECT_EQ(DBSelect(*db_, r).Item(1), Marks("Autre]0011"));
  // Without columns, the keys alone.
  EXPECT_EQ(DBSelect(*db_, {"SSELECT ETAB PAR 1", "ETAB"}).Item(1), "0011");
}

TEST(AttributesTest, TheWalkReadsWhatItemReads) {
  for (const std::string& texte : {Marks("01]BRETAGNE^02]NORD^^04]SUD"), Marks("01^"), Marks("^^x"),
                                   Marks("seul]a\\b]c"), std::string()}) {
    const CItem r(texte);
    int i = 0;
    for (const CItem::AttributeView ligne : r.Attributes()) {
      ++i;
      for (int v = 0; v <= 3; ++v) EXPECT_EQ(ligne.Value(v), r.Item(i, v)) << texte << " " << i;
    }
    EXPECT_EQ(i, r.DCount()) << texte;
  }
}

}  // namespace
}  // namespace dba
