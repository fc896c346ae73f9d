// The centre list behind the sigle drop-down, and the routine run after a
// write when record "999" of COMPTEUR asks for it.
#include "poste_controle.h"

namespace morvanel::testing {
namespace {

TEST(CentreListTest, ListedBySigleWithTheCodeBesideEachLine) {
  BaseTemporaire base;
  base.Ecrire("CENTREURSSAF", "03", {{1, "URSSAF OUEST"}, {17, "0"}});
  base.Ecrire("CENTREURSSAF", "01", {{1, "URSSAF SUD"}, {17, "0"}});
  base.Ecrire("CENTREURSSAF", "02", {{1, "URSSAF EST"}, {17, "0"}});
  Poste p(base.db());
  p.ctl->Init();
  const forms::Control& cbo = p["Cbo_SigleCtrUrssaf"];
  ASSERT_EQ(cbo.ListCount(), 3);
  for (int k = 0; k < cbo.ListCount(); ++k) {
    EXPECT_EQ(cbo.List(k), p.etat().ListeCentres.Item(k + 1, 2));
  }
  EXPECT_EQ(cbo.List(0), "URSSAF EST");
  EXPECT_EQ(p.etat().ListeCentres.Item(1, 1), "02");
  EXPECT_EQ(p.etat().ListeCentres.Item(3, 1), "01");
}

TEST(CentreListTest, RefillingReplacesTheLinesAndShowsAnOnlyCentre) {
  BaseTemporaire base;
  Poste p(base.db());
  p.ctl->Init();
  ASSERT_EQ(p["Cbo_SigleCtrUrssaf"].Items(), std::vector<std::string>{""});
  base.Ecrire("CENTREURSSAF", "05", {{1, "URSSAF SEULE"}, {2, "Seule"}, {17, "0"}});
  p.ctl->Remplir_CentreUrssaf();
  EXPECT_EQ(p["Cbo_SigleCtrUrssaf"].Items(), std::vector<std::string>{"URSSAF SEULE"});
  EXPECT_EQ(p["Txt_CodCtrUrssaf"].Text(), "05");
  EXPECT_EQ(p["Txt_NomCtrUrssaf"].Text(), "Seule");
}

// Attribute 45 of record "999" asks for the routine from 2 on; an absent
// record, an empty, unreadable or lower value runs nothing.
TEST(LancerUnipgTest, RunsTheRoutineOnlyFromTwoOn) {
  const struct {
    const char* attribut45;  // nullptr: no record "999" at all
    int appels;
  } cas[] = {{nullptr, 0}, {"", 0}, {"oui", 0}, {"1", 0}, {"2", 1}, {"3", 1}, {" 2 ", 1}};
  for (const auto& c : cas) {
    SCOPED_TRACE(c.attribut45 ? c.attribut45 : "no record");
    BaseTemporaire base;
    if (c.attribut45) base.Ecrire("COMPTEUR", "999", {{12, "04"}, {45, c.attribut45}});
    int appels = 0;
    std::string parametre = "-";
    base.db()->RegisterRoutine("UNIPGCENTREURSSAF",
                               [&](dba::Database&, int& numero, std::string_view p) {
                                 ++appels;
                                 EXPECT_EQ(numero, 0);
                                 parametre = std::string(p);
                                 return dba::CItem("ignoré");
                               });
    Poste p(base.db());
    p.ctl->Init();
    p.ctl->Procedures().Lancer_UNIPG();
    EXPECT_EQ(appels, c.appels);
    if (c.appels > 0) {
      EXPECT_EQ(parametre, "");
    }
    EXPECT_TRUE(p.services.messages().empty());
  }
}

}  // namespace
}  // namespace morvanel::testing
