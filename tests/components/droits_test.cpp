// Tests of the user rights: levels read from the rights file of a database,
// and the fixed table.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "components/droits/droits_utilisateur.h"
#include "dba/database.h"

namespace {

using components::DroitsUtilisateur;

const std::string VM(1, dba::kValueMark);
const std::string AM(1, dba::kAttributeMark);

class DroitsDepuisBase : public ::testing::Test {
 protected:
  void SetUp() override {
    chemin_ = std::filesystem::temp_directory_path() /
              ("droits_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".mvdb");
    std::filesystem::remove(chemin_);
    dba::OpenOptions options;
    options.create = true;
    db_ = dba::Database::Open(chemin_.string(), options);
    db_->CreateFile("DROITS");
    Ecrire("admin", "CENTREURSSAF" + VM + "SALARIES" + AM + "2" + VM + "2" + AM + "Administrateur");
    Ecrire("clerk", "SALARIES" + VM + "CENTREURSSAF" + AM + "1" + VM + "2" + AM + "Gestionnaire");
    Ecrire("consult", "CENTREURSSAF" + AM + "1");
    // Odd entries: a level with blanks, one that is no number, one missing.
    Ecrire("bizarre", "A" + VM + "B" + VM + "C" + VM + "A" + AM + " 2 " + VM + "x" + AM);
  }
  void TearDown() override {
    db_.reset();
    std::filesystem::remove(chemin_);
    std::filesystem::remove(chemin_.string() + "-wal");
    std::filesystem::remove(chemin_.string() + "-shm");
    std::filesystem::remove(chemin_.string() + "-owners");
  }
  void Ecrire(const std::string& cle, const std::string& texte) {
    dba::CItem fiche = db_->DBOpen("DROITS").DBNew(cle);
    fiche.setItem(texte);
    fiche.DBWrite();
  }

  std::filesystem::path chemin_;
  std::shared_ptr<dba::Database> db_;
};

TEST_F(DroitsDepuisBase, LevelOfEachScreenFollowsItsPositionInTheFile) {
  struct Cas {
    const char* utilisateur;
    const char* ecran;
    std::int32_t niveau;
  };
  const Cas cas[] = {
      {"admin", "CENTREURSSAF", 2},
      {"admin", "SALARIES", 2},
      {"clerk", "CENTREURSSAF", 2},
      {"clerk", "SALARIES", 1},
      {"consult", "CENTREURSSAF", 1},
      {"consult", "SALARIES", 0},    // screen not granted
      {"admin", "centreurssaf", 0},  // keys are compared exactly
      {"bizarre", "A", 2},           // blanks around the level; first entry wins
      {"bizarre", "B", 0},           // not a number
      {"bizarre", "C", 0},           // no level at all
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(std::string(c.utilisateur) + " / " + c.ecran);
    auto droits = DroitsUtilisateur::DepuisBase(*db_, c.utilisateur);
    ASSERT_NE(droits->Ecran(c.ecran), nullptr);
    EXPECT_EQ(droits->Ecran(c.ecran)->Niveau(), c.niveau);
    EXPECT_EQ(droits->Utilisateur(), c.utilisateur);
  }
}

TEST_F(DroitsDepuisBase, UnknownOrEmptyUserIsAnErrorNamingTheUser) {
  try {
    (void)DroitsUtilisateur::DepuisBase(*db_, "intrus");
    FAIL() << "an unknown user must not get rights";
  } catch (const components::DroitsError& e) {
    EXPECT_NE(std::string(e.what()).find("intrus"), std::string::npos);
  }
  EXPECT_THROW((void)DroitsUtilisateur::DepuisBase(*db_, ""), components::DroitsError);
}

TEST_F(DroitsDepuisBase, MissingRightsFileReachesTheCallerAsADatabaseError) {
  db_->DeleteFile("DROITS");
  try {
    (void)DroitsUtilisateur::DepuisBase(*db_, "admin");
    FAIL() << "no rights file must not mean rights";
  } catch (const dba::DbaError& e) {
    EXPECT_EQ(e.number(), dba::kErrFileNotFound);
  }
}

TEST(DroitsFixes, TableGivesItsLevelsAndNothingElse) {
  auto droits = DroitsUtilisateur::Fixe({{"CENTREURSSAF", 1}, {"PAIE", 2}});
  EXPECT_EQ(droits->Ecran("CENTREURSSAF")->Niveau(), 1);
  EXPECT_EQ(droits->Ecran("PAIE")->Niveau(), 2);
  EXPECT_EQ(droits->Ecran("SALARIES")->Niveau(), 0);
  EXPECT_EQ(droits->Ecran("")->Niveau(), 0);
}

}  // namespace
