// Choosing the legal entity and the establishment a centre is attached to,
// by code or by name, as a clerk does it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "poste_centres.h"

namespace morvanel::testing {
namespace {

using Liste = std::vector<std::string>;

constexpr const char* kEntiteInconnue = "Le code de l'entité que vous avez saisi n'existe pas.";
constexpr const char* kEtabInconnu = "Le code de l'établissement que vous avez saisi n'existe pas.";

// Centre 07 is shown; it is attached to nothing yet.
struct PosteEntites : PosteCentres {
  PosteEntites() { Montrer("07"); }
  forms::Control& code() { return e().Txt_CodeEntite; }
  forms::Control& nom() { return e().Cbo_Entite; }
  forms::Control& codeEtab() { return e().Txt_CodeEtab; }
  forms::Control& nomEtab() { return e().Cbo_Etab; }
  bool etabUtilisable() {
    return codeEtab().Enabled() && nomEtab().Enabled() && e().Etq_Etablissement.Enabled();
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

// A third key, even refused, ends the code: the focus leaves, the unknown
// code is told once (padding a short code on leaving: fields_entite.scn).
TEST(Entite, LettersAreRefusedAndAThirdKeyStillEndsTheCode) {
  PosteEntites p;
  p.clerc().Type(p.code(), "1x");
  EXPECT_EQ(p.code().Text(), "1");
  EXPECT_TRUE(p.code().Focused());
  p.clerc().Type(p.code(), "2y");
  // the refused third key moved on; leaving completed 12 into 012
  EXPECT_TRUE(p.nom().Focused());
  EXPECT_EQ(p.code().Text(), "012");
  EXPECT_EQ(p.Messages(), Liste{kEntiteInconnue});
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

TEST(Entite, PassingThroughTheEntityBoxKeepsTheEstablishmentChosen) {
  // GIVEN centre 12 shown, attached to 125/002
  PosteCentres p;
  p.Montrer("12");
  ASSERT_EQ(p.e().Txt_CodeEtab.Text(), "002");
  // WHEN the clerk tabs into the entity box and out again
  p.clerc().Focus(p.e().Txt_CodeEntite);
  p.clerc().Focus(p.e().Txt_CodeEtab);
  // THEN the attachment is as it was, without a message
  EXPECT_EQ(p.e().Txt_CodeEntite.Text(), "125");
  EXPECT_EQ(p.e().Txt_CodeEtab.Text(), "002");
  EXPECT_EQ(p.e().Cbo_Etab.Text(), "GRENOBLE");
  EXPECT_TRUE(p.Messages().empty());
}

TEST(Entite, PickingANameFillsTheCodeAndRebuildsTheEstablishments) {
  PosteEntites p;
  p.clerc().Pick(p.nom(), 0);
  EXPECT_EQ(p.code().Text(), "001");
  EXPECT_EQ(p.nomEtab().Items(), (Liste{"SIEGE", "AGENCE NORD"}));
  EXPECT_TRUE(p.etabUtilisable());
  p.clerc().Pick(p.nom(), 2);
  EXPECT_EQ(p.code().Text(), "125");
  EXPECT_EQ(p.nomEtab().Items(), (Liste{"LYON", "GRENOBLE"}));
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

TEST(Etablissement, AnEntityWithoutEstablishmentsOffersOneEmptyEntry) {
  PosteEntites p;
  p.clerc().Type(p.code(), "300");
  EXPECT_EQ(p.nomEtab().Items(), Liste{""});
  EXPECT_TRUE(p.etabUtilisable());
  EXPECT_TRUE(p.Messages().empty());
}

TEST(Etablissement, AnUnknownCodeIsReportedOnceAndEmptied) {
  PosteEntites p;
  p.clerc().Type(p.code(), "125");
  p.clerc().Type(p.codeEtab(), "9");
  p.clerc().Focus(p.e().Txt_NomCtrUrssaf);
  EXPECT_EQ(p.Messages(), Liste{kEtabInconnu});
  EXPECT_EQ(p.codeEtab().Text(), "");
  EXPECT_EQ(p.nomEtab().Text(), "");
}

TEST(Etablissement, AStoredEstablishmentThatIsGoneLeavesTheOnlyOneToChoose) {
  std::vector<Enregistrement> d = DonneesParDefaut();
  // 002 has one establishment, 001; the centre names 009, which is gone
  d.push_back({"CENTREURSSAF", "20", {{1, "URSSAF VINGT"}, {17, "0"}, {25, "002009"}}});
  PosteCentres p(d);
  // GIVEN the centre shown, after the message
  p.clerc().Type(p.e().Txt_CodCtrUrssaf, "20");
  EXPECT_EQ(p.Messages(), Liste{kEtabInconnu});
  auto& e = p.e();
  EXPECT_EQ(e.Txt_CodeEntite.Text(), "002");
  EXPECT_EQ(e.Txt_CodeEtab.Text(), "");
  // WHEN the clerk picks the only establishment
  ASSERT_TRUE(e.Cbo_Etab.Enabled());
  ASSERT_TRUE(e.Txt_CodeEtab.Enabled());
  EXPECT_EQ(e.Cbo_Etab.Items(), Liste{"UNIQUE"});
  p.clerc().Pick(e.Cbo_Etab, 0);
  // THEN the centre is attached to entity and establishment both
  EXPECT_EQ(e.Txt_CodeEtab.Text(), "001");
  p.ctl->Ecrire_Donnees();
  EXPECT_EQ(p.etat().Art_CentreUrssaf->Item(25), "002001");
  EXPECT_TRUE(p.Messages().empty());
}

TEST(Etablissement, EmptyingTheScreenForgetsThePreviousEstablishments) {
  std::vector<Enregistrement> d = DonneesParDefaut();
  // 999 is no legal entity; 002 happens to be an establishment code of 125
  d.push_back({"CENTREURSSAF", "21", {{1, "URSSAF ORPHELIN"}, {17, "0"}, {25, "999002"}}});
  PosteCentres p(d);
  // GIVEN centre 12 (125/002, "GRENOBLE") shown, then the screen emptied
  p.Montrer("12");
  ASSERT_EQ(p.e().Cbo_Etab.Text(), "GRENOBLE");
  p.ctl->Vider_Donnees();
  // WHEN a centre attached to an unknown entity is shown
  p.clerc().Type(p.e().Txt_CodCtrUrssaf, "21");
  // THEN only the entity is reported; no name of the previous centre is shown
  EXPECT_EQ(p.Messages(), Liste{kEntiteInconnue});
  EXPECT_EQ(p.e().Cbo_Etab.Text(), "");
  EXPECT_EQ(p.e().Cbo_Etab.ListCount(), 0);
  // AND the attachment read is kept as it was
  EXPECT_EQ(p.e().Txt_CodeEtab.Text(), "002");
  p.ctl->Ecrire_Donnees();
  EXPECT_EQ(p.etat().Art_CentreUrssaf->Item(), p.etat().ArticleInitial);
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
