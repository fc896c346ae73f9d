// Selection sentences: every form the screens send, wildcards, "#" and
// multivalued attributes, ET/OU precedence, sorts and their tiebreak, the
// result layout, and malformed sentences that fail and change nothing.
#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

#include "dba/database.h"
#include "test_database.h"

namespace dba {
namespace {

using testing::Marks;
using testing::ScratchDatabase;

void Put(DBFile& f, const std::string& key, const std::string& readable) {
  CItem r = f.DBNew(key);
  r.setItem(Marks(readable));
  r.DBWrite();
}

class Sentences : public ::testing::Test {
 protected:
  void SetUp() override {
    db = scratch.Open();
    db->CreateFile("CENTREURSSAF");
    db->CreateFile("ETABLISSEMENT");
    db->CreateFile("ELTSPARTEMP");
    db->CreateFile("ACTIVITES");
    DBFile c = db->DBOpen("CENTREURSSAF");
    // key: 1 sigle ^ 2 multivalued ^ ... 12
    Put(c, "31", "LYON^C]A^^^^^^^^^^M");
    Put(c, "01", "PARIS^A]B^^^^^^^^^^M");
    Put(c, "13", "MARSEILLE^^^^^^^^^^^X");
    Put(c, "07", "LYON^B^^^^^^^^^^M");
    Put(c, "99", "ANNECY^A");
    DBFile e = db->DBOpen("ETABLISSEMENT");
    Put(e, "002001", "Nantes");
    Put(e, "001002", "Lille");
    Put(e, "001001", "Paris]siège");
    Put(e, "0019", "Court");
    Put(e, "00", "Trop court");
    DBFile p = db->DBOpen("ELTSPARTEMP");
    Put(p, "E1", "07");
    Put(p, "E2", "13");
    Put(p, "E3", "07");
    DBFile a = db->DBOpen("ACTIVITES");
    Put(a, "002A", "^^^^^^^^^^^M");
    Put(a, "001B", "^^^^^^^^^^^M");
    Put(a, "003C", "^^^^^^^^^^^S");
  }

  std::string Select(const std::string& sentence, const std::string& file,
                     const std::string& columns, int* count = nullptr) {
    CItem request;
    request.setItem(1, sentence);
    request.setItem(2, file);
    request.setItem(3, columns);
    return db->DBSelect(request.Item(), "", count).Item();
  }

  ScratchDatabase scratch;
  std::shared_ptr<Database> db;
};

struct SelectCase {
  const char* sentence;
  const char* file;
  const char* columns;
  const char* expected;  // '^' between records, ']' between columns
};

TEST_F(Sentences, GiveTheRecordsInTheirOrder) {
  const SelectCase cases[] = {
      // Sentences of the screens, exactly as sent.
      {"SSELECT CENTREURSSAF PAR 1", "CENTREURSSAF", "0 1",
       "99]ANNECY^07]LYON^31]LYON^13]MARSEILLE^01]PARIS"},
      {"SSELECT ELTSPARTEMP AVEC 1 = \"07\"", "ELTSPARTEMP", "0", "E1^E3"},
      {"SSELECT CENTREURSSAF AVEC 0 # \"07\" PAR 1", "CENTREURSSAF", "0 1",
       "99]ANNECY^31]LYON^13]MARSEILLE^01]PARIS"},
      {"SSELECT ACTIVITES AVEC 12= \"M\" PAR @ID", "ACTIVITES", "0", "001B^002A"},
      {"SSELECT ETABLISSEMENT AVEC @ID = \"001]\" PAR @ID", "ETABLISSEMENT", "0 1",
       "001001]Paris\\siège^001002]Lille^0019]Court"},
      // Order without sort clauses: by key for both verbs.
      {"SELECT CENTREURSSAF", "CENTREURSSAF", "0", "01^07^13^31^99"},
      {"SSELECT CENTREURSSAF", "", "", "01^07^13^31^99"},
      // Wildcards and operators.
      {"SSELECT CENTREURSSAF AVEC 1 = \"MAR]\"", "", "0", "13"},
      {"SSELECT CENTREURSSAF AVEC 1 = \"[CY\"", "", "0", "99"},
      {"SSELECT CENTREURSSAF AVEC 1 = \"[AR]\"", "", "0", "01^13"},
      {"SSELECT CENTREURSSAF AVEC 1 # \"[ON\"", "", "0", "01^13^99"},
      {"SSELECT CENTREURSSAF AVEC 1 < \"M\"", "", "0", "07^31^99"},
      {"SSELECT CENTREURSSAF AVEC 1 >= \"MARSEILLE\"", "", "0", "01^13"},
      {"SSELECT CENTREURSSAF AVEC 1 <= \"LYON\" AVEC 1 > \"LYON\"", "", "0", ""},
      {"SSELECT CENTREURSSAF AVEC 12 = \"\"", "", "0", "99"},
      // Multivalued attributes: any value decides, for "#" too.
      {"SSELECT CENTREURSSAF AVEC 2 = \"A\"", "", "0", "01^31^99"},
      {"SSELECT CENTREURSSAF AVEC 2 # \"A\"", "", "0", "01^07^13^31"},
      // ET binds tighter than OU.
      {"SSELECT CENTREURSSAF AVEC 1 = \"LYON\" OU 1 = \"PARIS\" ET 12 = \"X\"", "", "0", "07^31"},
      {"SSELECT CENTREURSSAF AVEC 1 = \"PARIS\" ET 12 = \"M\" OU AVEC 1 = \"ANNECY\"", "", "0",
       "01^99"},
      {"SSELECT CENTREURSSAF WITH 1 = \"LYON\" AND WITH 2 = \"C]\" BY-DSND 0", "", "0", "31"},
      // Sorts: descending, several keys, the key as last tiebreak.
      {"SSELECT CENTREURSSAF PAR-DSND 1", "", "0", "01^13^07^31^99"},
      {"SSELECT CENTREURSSAF PAR 12 PAR-DSND 1", "", "0", "99^01^07^31^13"},
      {"SELECT CENTREURSSAF BY 12", "", "0", "99^01^07^31^13"},
      // Words in any case, operators glued or spaced, both quote characters.
      {"sselect CENTREURSSAF avec 1 eq 'LYON' par 0", "", "0", "07^31"},
      {"SSELECT CENTREURSSAF AVEC 12=\"M\" PAR-DSND @ID", "", "0", "31^07^01"},
      // Columns: the whole attribute, its marks turned into subvalue marks.
      {"SSELECT CENTREURSSAF AVEC @ID = \"01\"", "", "0 2 1 40", "01]A\\B]PARIS]"},
      {"SSELECT CENTREURSSAF AVEC @ID = \"02\"", "", "0 1", ""},
  };
  for (const SelectCase& c : cases) {
    int count = -1;
    const std::string result = Select(c.sentence, c.file, c.columns, &count);
    EXPECT_EQ(result, Marks(c.expected)) << c.sentence;
    EXPECT_EQ(count, CItem(result).DCount()) << c.sentence;
  }
}

TEST_F(Sentences, SeveralRunTogetherGiveWhatEachGivesAlone) {
  DBFile activites = db->DBOpen("ACTIVITES");
  Put(activites, "001\xC3'x", "M^\xFF'\\]");
  db->CreateIndex("CENTREURSSAF", 1);
  std::vector<std::string> requests;
  for (const auto& [sentence, columns] : std::vector<std::pair<std::string, const char*>>{
           {"SSELECT CENTREURSSAF PAR 1", "0 1"},
           {"SSELECT ETABLISSEMENT AVEC @ID = \"001]\" PAR @ID", "0 1"},
           {"SSELECT CENTREURSSAF AVEC 1 = \"LYON\"", "0 2"},
           {"SSELECT CENTREURSSAF AVEC 1 = \"L]\"", "0"},
           {"SELECT ACTIVITES AVEC @ID = \"001\xC3'x\"", "0 1 2"},
           {"SELECT ACTIVITES", "0 1 2"},
           {"SSELECT ELTSPARTEMP", "0"}}) {
    CItem r;
    r.setItem(1, sentence);
    r.setItem(3, columns);
    requests.push_back(r.Item());
  }
  std::vector<std::string> alone;
  for (const std::string& r : requests) alone.push_back(db->DBSelect(r).Item());
  EXPECT_NE(alone[4], "");
  for (const bool inTransaction : {false, true}) {
    std::optional<Transaction> t;
    if (inTransaction) t.emplace(*db);
    const std::vector<CItem> together = db->DBSelectMany(requests);
    ASSERT_EQ(together.size(), requests.size());
    for (std::size_t i = 0; i < requests.size(); ++i) {
      EXPECT_EQ(together[i].Item(), alone[i]) << requests[i];
    }
  }
  requests.push_back("SSELECT NULLEPART");
  try {
    (void)db->DBSelectMany(requests);
    ADD_FAILURE() << "no error";
  } catch (const DbaError& e) {
    EXPECT_EQ(e.number(), kErrFileNotFound);
  }
  EXPECT_TRUE(db->DBSelectMany({}).empty());
}

TEST_F(Sentences, ResultKeepsItsShapeWhateverTheValuesHold) {
  DBFile c = db->DBOpen("CENTREURSSAF");
  Put(c, "50", "x]y\\z^^\"'; DROP TABLE records; --");
  const CItem result(Select("SSELECT CENTREURSSAF AVEC 0 = \"50\"", "", "0 1 3"));
  EXPECT_EQ(result.DCount(), 1);
  EXPECT_EQ(result.DCount(1), 3);
  EXPECT_EQ(result.Item(1, 1), "50");
  EXPECT_EQ(result.Item(1, 2), Marks("x\\y\\z"));
  EXPECT_EQ(result.Item(1, 3), "\"'; DROP TABLE records; --");
}

struct BadCase {
  const char* sentence;
  const char* file;
  const char* columns;
  std::uint32_t error;
  const char* fragment;  // part of the message
};

TEST_F(Sentences, MalformedFailWithTheirReasonAndChangeNothing) {
  const std::string before = Select("SELECT CENTREURSSAF", "", "0 1 2 12");
  const BadCase cases[] = {
      {"SSELECT CENTREURSSAF AVEC 1 = \"LYON", "", "0", kErrQuerySyntax, "guillemet non fermé"},
      {"SSELECT CENTREURSSAF AVEC 1 =", "", "0", kErrQuerySyntax, "valeur entre guillemets"},
      {"SSELECT CENTREURSSAF AVEC 1 = LYON", "", "0", kErrQuerySyntax, "valeur entre guillemets"},
      {"SSELECT CENTREURSSAF AVEC 1 \"LYON\"", "", "0", kErrQuerySyntax, "opérateur"},
      {"SSELECT CENTREURSSAF AVEC SIGLE = \"LYON\"", "", "0", kErrQuerySyntax, "attribut"},
      {"SSELECT CENTREURSSAF PAR", "", "0", kErrQuerySyntax, "« PAR »"},
      {"SSELECT CENTREURSSAF ET 1 = \"A\"", "", "0", kErrQuerySyntax, "sans condition"},
      {"SSELECT CENTREURSSAF AVEC 1 = \"A\" OU", "", "0", kErrQuerySyntax, "attribut"},
      {"SSELECT CENTREURSSAF TRIER 1", "", "0", kErrQuerySyntax, "mot inconnu « TRIER »"},
      {"LIST CENTREURSSAF", "", "0", kErrQuerySyntax, "SELECT ou SSELECT"},
      {"", "", "0", kErrQuerySyntax, "SELECT ou SSELECT"},
      {"SSELECT", "", "0", kErrQuerySyntax, "nom de fichier manquant"},
      {"SSELECT CENTREURSSAF", "COMPTEUR", "0", kErrQuerySyntax, "COMPTEUR"},
      {"SSELECT CENTREURSSAF", "", "0 un", kErrQuerySyntax, "« un »"},
      {"SSELECT COMPTEUR PAR 1", "COMPTEUR", "0", kErrFileNotFound, "COMPTEUR"},
      {"SSELECT CENTREURSSAF'; DROP TABLE files; --", "", "0", kErrQuerySyntax, "guillemet"},
  };
  for (const BadCase& c : cases) {
    try {
      (void)Select(c.sentence, c.file, c.columns);
      ADD_FAILURE() << "no error for: " << c.sentence;
    } catch (const DbaError& e) {
      EXPECT_EQ(e.number(), c.error) << c.sentence;
      EXPECT_NE(std::string(e.what()).find(c.fragment), std::string::npos)
          << c.sentence << " -> " << e.what();
    }
  }
  EXPECT_EQ(Select("SELECT CENTREURSSAF", "", "0 1 2 12"), before);
  EXPECT_EQ(db->Files().size(), 4u);
}

}  // namespace
}  // namespace dba
