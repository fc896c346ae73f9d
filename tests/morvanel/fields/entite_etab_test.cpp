// The legal entity and establishment a centre is attached to: the entity
// list from the activities, pasted and overtyped codes, codes no sentence
// can quote. (Choosing by code or name: the fields_entite scenarios.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "poste_centres.h"

namespace morvanel::testing {
namespace {

using Liste = std::vector<std::string>;

constexpr const char* kEntiteInconnue = "Le code de l'entité que vous avez saisi n'existe pas.";

// Centre 07 is shown; it is attached to nothing yet.
struct PosteEntites : PosteCentres {
  PosteEntites() { Montrer("07"); }
  forms::Control& code() { return e().Txt_CodeEntite; }
  forms::Control& nom() { return e().Cbo_Entite; }
  forms::Control& nomEtab() { return e().Cbo_Etab; }
  bool etabUtilisable() {
    return e().Txt_CodeEtab.Enabled() && nomEtab().Enabled() && e().Etq_Etablissement.Enabled();
  }
};

TEST(Entite, EveryEntityIsListedOnceInTheOrderOfItsActivities) {
  PosteEntites p;
  // 001's name holds the code 125: 125 is listed all the same; 400 is not "M"
  EXPECT_EQ(p.nom().Items(),
            (Liste{"CLUB 125", "ASSOCIATION DEUX", "ENTITE 125", "SANS ETABLISSEMENT"}));
  EXPECT_EQ(p.etat().ListeEntites.Item(3, 1), "125");
  EXPECT_FALSE(p.etabUtilisable());
}

TEST(Entite, PastedTextKeepsItsThreeDigitsOnly) {
  PosteEntites p;
  p.clerc().Paste(p.code(), "a1-2 5");
  EXPECT_EQ(p.code().Text(), "125");
  EXPECT_EQ(p.nom().Text(), "ENTITE 125");
  p.clerc().Type(p.code(), "4");
  EXPECT_EQ(p.code().Text(), "125") << "three characters at most";
  EXPECT_TRUE(p.Messages().empty());
}

TEST(Entite, AnUnknownCodeOvertypedOnAKnownOneDoesNotKeepItsEstablishments) {
  PosteEntites p;
  p.clerc().Type(p.code(), "125");
  const std::string avant = p.etat().ListeEtablissements.Item();
  // WHEN the last digit is overtyped, without Backspace
  p.code().SetSelection(2, 1);
  p.clerc().Type(p.code(), "9");
  // THEN the unknown code is reported, the old name goes, and no
  // establishment list is built for it
  EXPECT_EQ(p.code().Text(), "129");
  EXPECT_EQ(p.Messages(), Liste{kEntiteInconnue});
  EXPECT_EQ(p.nom().Text(), "");
  EXPECT_NE(avant, "");
  EXPECT_EQ(p.etat().ListeEtablissements.Item(), "");
  EXPECT_EQ(p.nomEtab().ListCount(), 0);
  EXPECT_FALSE(p.etabUtilisable());
}

TEST(Etablissement, AnEntityCodeThatCannotBeQuotedHasNoEstablishment) {
  std::vector<Enregistrement> d = DonneesParDefaut();
  d.push_back({"ASSOCIATION", "9\"9", {{1, "GUILLEMET"}}});
  d.push_back({"ACTIVITES", "9\"9A", {{12, "M"}}});
  PosteCentres p(d);
  p.Montrer("07");
  const auto noms = p.e().Cbo_Entite.Items();
  ASSERT_EQ(noms.back(), "GUILLEMET");
  p.clerc().Pick(p.e().Cbo_Entite, static_cast<int>(noms.size()) - 1);
  EXPECT_EQ(p.e().Txt_CodeEntite.Text(), "9\"9");
  EXPECT_EQ(p.e().Cbo_Etab.Items(), Liste{""});
  EXPECT_TRUE(p.Messages().empty());
}

}  // namespace
}  // namespace morvanel::testing
