// The rate history editor on a control driven by a clerk: adding, modifying
// and deleting lines, the refusals of "Ok", the lists and scroll bars kept on
// one line, and a user who may only browse.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "components/droits/droits_utilisateur.h"
#include "fields/poste_centres.h"
#include "morvanel/ratehistory/rate_entry.h"

namespace morvanel::testing {
namespace {

using Liste = std::vector<std::string>;
using forms::MsgAnswer;
using forms::MsgIcon;

constexpr const char* kDateErronee = "Erreur de saisie dans la date, veuillez la ressaisir.";
constexpr const char* kTauxErrone = "Le pourcentage de charges salariales n'est pas un nombre.";

// Centre "07" of the default data shown: lines 01/01/2022 1,000,
// 01/01/2023 (no rate), 01/01/2024 3,500, in that record order.
class Editeur : public ::testing::Test {
 protected:
  explicit Editeur(const std::vector<Enregistrement>& donnees = DonneesParDefaut()) : p(donnees) {
    p.Montrer("07");
  }

  state::UrssafScreen& e() { return p.e(); }
  Liste Dates() { return p.etat().Art_CentreUrssaf->Values(20); }
  Liste Taux() { return p.etat().Art_CentreUrssaf->Values(21); }

  // "Ajouter", the two boxes typed, "Ok".
  void Ajouter(const std::string& date, const std::string& taux) {
    p.clerc().Click(e().Cmd_AjouterRapport);
    p.clerc().Type(e().Txt_Date, date);
    p.clerc().Type(e().Txt_Valeur, taux);
    p.clerc().Click(e().Cmd_OkRapport);
  }

  // THEN: the entry is still open with the texts typed, and the history was
  // not touched.
  void RienRange(const Liste& dates, const Liste& taux) {
    EXPECT_EQ(Dates(), dates);
    EXPECT_EQ(Taux(), taux);
    EXPECT_TRUE(e().Cmd_OkRapport.Enabled());
    EXPECT_TRUE(e().Txt_Date.Enabled());
  }

  PosteCentres p;
};

TEST_F(Editeur, AddedLineTakesItsPlaceAndTheCentreCountsAsChanged) {
  const std::string enBase = p.db->DBOpen("CENTREURSSAF").DBRead("07").Item();
  Ajouter("15.03-2023", "2,5");

  EXPECT_TRUE(p.Messages().empty());
  EXPECT_EQ(e().Lst_Date.Items(), (Liste{"01/01/2024", "15/03/2023", "01/01/2023", "01/01/2022"}));
  EXPECT_EQ(e().Lst_Valeur.Items(), (Liste{"3,500", "2,500", "", "1,000"}));
  EXPECT_EQ(Taux()[1], "2500");
  EXPECT_EQ(e().Bdv_Valeur.Max(), 3);
  // Nothing written yet; leaving asks whether to save.
  EXPECT_EQ(p.db->DBOpen("CENTREURSSAF").DBRead("07").Item(), enBase);
  p.services.QueueAnswer(MsgAnswer::Cancel);
  p.clerc().Click(e().Cmd_Sortir);
  EXPECT_EQ(p.Messages(),
            Liste{"Voulez-vous enregistrer les modifications apportées à cet article ?"});
}

// Boxes set by a host, never left: "Ok" judges them itself, once, with a
// warning (the box left by the click: ratehistory_refusals.scn); with
// nothing typed, a reminder.
TEST_F(Editeur, ADateOrRateThatIsNoneIsToldOnceAndNothingIsStored) {
  const Liste dates = Dates(), taux = Taux();
  p.clerc().Click(e().Cmd_AjouterRapport);
  e().Cmd_OkRapport.Click();
  const auto rappel = p.services.takeMessages();
  ASSERT_EQ(rappel.size(), 1u);
  EXPECT_EQ(rappel[0].icon, MsgIcon::Information);
  for (const auto& [date, valeur, message] :
       {std::tuple{"31/02/2024", "2", kDateErronee}, {"01/05/2024", ",", kTauxErrone}}) {
    e().Txt_Valeur.SetText(valeur);
    e().Txt_Date.SetText(date);
    e().Cmd_OkRapport.Click();
    const auto messages = p.services.takeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, message);
    EXPECT_EQ(messages[0].icon, MsgIcon::Exclamation);
    RienRange(dates, taux);
  }
  // Typed and left, the lone comma is emptied: the rate is then missing.
  p.clerc().Type(e().Txt_Valeur, "");
  e().Txt_Valeur.SetText("");
  p.clerc().Type(e().Txt_Valeur, ",");
  p.clerc().Click(e().Cmd_OkRapport);
  EXPECT_EQ(p.Messages(), Liste{"Vous devez saisir un pourcentage de charges salariales."});
  RienRange(dates, taux);
}

TEST_F(Editeur, AClickThatLeavesAWrongDateSaysNothingElse) {
  p.clerc().Click(e().Cmd_AjouterRapport);
  p.clerc().Type(e().Txt_Date, "31/02/2024");
  p.clerc().Click(e().Cmd_OkRapport);  // the rate is missing too
  EXPECT_EQ(p.Messages(), Liste{kDateErronee});
  EXPECT_TRUE(e().Txt_Date.Focused());
  // The next click on "Ok" from another box is judged afresh.
  p.clerc().Type(e().Txt_Date, "");
  e().Txt_Date.SetText("01/05/2024");
  p.clerc().Click(e().Cmd_OkRapport);
  EXPECT_EQ(p.Messages(), Liste{"Vous devez saisir un pourcentage de charges salariales."});
}

TEST_F(Editeur, AWrongDateLeftForAnnulerIsStillToldByALaterOk) {
  p.clerc().Click(e().Cmd_AjouterRapport);
  p.clerc().Type(e().Txt_Valeur, "2");
  p.clerc().Type(e().Txt_Date, "31/02/2024");
  p.clerc().Click(e().Txt_Valeur);  // told when leaving for another box
  EXPECT_EQ(p.Messages(), Liste{kDateErronee});
  p.services.QueueAnswer(MsgAnswer::No);
  p.clerc().Click(e().Cmd_AnnulerRapport);  // not told when giving up
  EXPECT_EQ(p.Messages(), Liste{"Etes-vous sûr de vouloir quitter cette création ?"});
  p.clerc().Click(e().Cmd_OkRapport);  // from "Annuler": the box is not left
  EXPECT_EQ(p.Messages(), Liste{kDateErronee});
  EXPECT_EQ(Dates().size(), 3u);
}

TEST_F(Editeur, ADateTypedShortIsCompletedByOkEvenWhenTheBoxWasNeverLeft) {
  p.clerc().Click(e().Cmd_AjouterRapport);
  p.clerc().Type(e().Txt_Date, "1.2-2025 x");  // typed separators become slashes
  EXPECT_EQ(e().Txt_Date.Text(), "1/2/2025//");
  e().Txt_Date.SetText("1-2-25");
  e().Txt_Valeur.SetText("4");
  e().Cmd_OkRapport.Click();
  EXPECT_TRUE(p.Messages().empty());
  EXPECT_EQ(e().Lst_Date.List(0), "01/02/2025");
  EXPECT_EQ(e().Lst_Valeur.List(0), "4,000");
}

TEST(TauxSaisi, IsStoredExactlyInThousandths) {
  struct Cas {
    const char* saisi;
    const char* stocke;
  };
  for (const Cas& c : {Cas{"1,005", "1005"}, Cas{"6,85", "6850"}, Cas{"0,29", "290"},
                       Cas{"0.001", "1"}, Cas{"12", "12000"}, Cas{"100,", "100000"}}) {
    EXPECT_EQ(ratehistory::TauxStocke(c.saisi), std::optional<std::string>(c.stocke)) << c.saisi;
  }
  for (const char* pasUnNombre : {",", "", "1,2,3", "12abc", "99999999999999999999"}) {
    EXPECT_EQ(ratehistory::TauxStocke(pasUnNombre), std::nullopt) << pasUnNombre;
  }
}

TEST_F(Editeur, ModifiedLineMovesToItsDateAndTheSelectionReturnsToItsOldIndex) {
  // GIVEN the line of 01/01/2023 (second, no rate) opened by a double-click
  p.clerc().DblClick(e().Lst_Date, 1);
  EXPECT_EQ(e().Txt_Date.Text(), "01/01/2023");
  EXPECT_TRUE(e().Cmd_SupprimerRapport.Enabled());
  EXPECT_FALSE(e().Lst_Date.Enabled());
  // WHEN it gets a later date than every other line and a rate
  e().Txt_Date.SetText("");
  p.clerc().Type(e().Txt_Date, "01/06/2025");
  p.clerc().Type(e().Txt_Valeur, "2");
  p.clerc().Click(e().Cmd_OkRapport);
  // THEN it is on top, and line 1 is selected in both lists and both bars
  EXPECT_TRUE(p.Messages().empty());
  EXPECT_EQ(e().Lst_Date.Items(), (Liste{"01/06/2025", "01/01/2024", "01/01/2022"}));
  EXPECT_EQ(e().Lst_Valeur.Items(), (Liste{"2,000", "3,500", "1,000"}));
  EXPECT_EQ(Dates().size(), 3u);
  EXPECT_EQ(e().Lst_Date.ListIndex(), 1);
  EXPECT_EQ(e().Lst_Valeur.ListIndex(), 1);
  EXPECT_EQ(e().Bdv_Date.Value(), 1);
  EXPECT_EQ(e().Bdv_Valeur.Value(), 1);
}

TEST_F(Editeur, AModifiedLineMayKeepItsDateButNotTakeAnothers) {
  p.clerc().DblClick(e().Lst_Valeur, 2);  // 01/01/2024, 3,500
  e().Txt_Valeur.SetText("");
  p.clerc().Type(e().Txt_Valeur, "3,75");
  // Another line's date, typed another way: refused, boxes kept.
  e().Txt_Date.SetText("1/1/2022");
  p.clerc().Click(e().Cmd_OkRapport);
  EXPECT_EQ(p.Messages(), Liste{"2 valeurs ne peuvent pas avoir la même date d'effet."});
  EXPECT_EQ(e().Txt_Valeur.Text(), "3,750");
  RienRange(Dates(), (Liste{"1000", "", "3500"}));
  // Its own date: accepted.
  e().Txt_Date.SetText("01/01/2024");
  p.clerc().Click(e().Cmd_OkRapport);
  EXPECT_TRUE(p.Messages().empty());
  EXPECT_EQ(e().Lst_Valeur.Items(), (Liste{"3,750", "", "1,000"}));
  // Modifying is left by "Annuler" without a question.
  p.clerc().DblClick(e().Lst_Date, 0);
  p.clerc().Click(e().Cmd_AnnulerRapport);
  EXPECT_TRUE(p.Messages().empty());
  EXPECT_FALSE(e().Txt_Date.Enabled());
  EXPECT_EQ(e().Txt_Date.Text(), "");
  EXPECT_TRUE(e().Cmd_AjouterRapport.Enabled());
}

TEST_F(Editeur, AFourthLineShowsTheBarsAndDeletingBackToThreeHidesThem) {
  Ajouter("01/01/2021", "0,5");
  ASSERT_TRUE(e().Bdv_Date.Visible());
  // WHEN the line of 01/01/2023 (second) is deleted
  p.clerc().DblClick(e().Lst_Date, 1);
  p.services.QueueAnswer(MsgAnswer::Yes);
  p.clerc().Click(e().Cmd_SupprimerRapport);
  // THEN its date and its (empty) rate went together, nothing else moved
  EXPECT_EQ(e().Lst_Date.Items(), (Liste{"01/01/2024", "01/01/2022", "01/01/2021"}));
  EXPECT_EQ(e().Lst_Valeur.Items(), (Liste{"3,500", "1,000", "0,500"}));
  EXPECT_EQ(Taux(), (Liste{"3500", "1000", "500"}));
  EXPECT_EQ(p.etat().Art_CentreUrssaf->Item(22), "1250");
  EXPECT_FALSE(e().Bdv_Date.Visible());
  EXPECT_FALSE(e().Bdv_Valeur.Visible());
  EXPECT_EQ(e().Bdv_Valeur.Max(), 2);
}

TEST(EditeurDefilement, ClickingALineOrMovingABarPutsAllFourOnIt) {
  PosteCentres p(CinqLignes());
  p.Montrer("08");
  auto& e = p.e();
  ASSERT_TRUE(e.Bdv_Date.Visible());
  struct Cas {
    const char* nom;
    std::function<void()> geste;
    int index;
  };
  const std::vector<Cas> cas = {
      {"click a date", [&] { p.clerc().Pick(e.Lst_Date, 3); }, 3},
      {"rate bar", [&] { p.clerc().Scroll(e.Bdv_Valeur, 0); }, 0},
      {"bar past the lines", [&] { p.clerc().Scroll(e.Bdv_Valeur, 99); }, 4},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    c.geste();
    EXPECT_EQ(e.Lst_Date.ListIndex(), c.index);
    EXPECT_EQ(e.Lst_Valeur.ListIndex(), c.index);
    EXPECT_EQ(e.Bdv_Date.Value(), c.index);
    EXPECT_EQ(e.Bdv_Valeur.Value(), c.index);
  }
  EXPECT_TRUE(p.Messages().empty());
}

TEST(EditeurCreation, LinesGoToTheNewCentreAndTheSaveWritesThem) {
  PosteCentres p;
  auto& e = p.e();
  p.clerc().Click(e.Cmd_Ajouter);
  p.clerc().Type(e.Txt_SigleCtrUrssaf, "NOUVEAU");
  p.clerc().Type(e.Txt_NomCtrUrssaf, "Urssaf nouvelle");
  p.clerc().Type(e.Txt_CodOrgCtrUrssaf, "117");
  p.clerc().Type(e.Txt_CodeEntite, "002");
  p.Messages();
  for (const char* date : {"01/01/2020", "01/01/2021"}) {
    p.clerc().Click(e.Cmd_AjouterRapport);
    p.clerc().Type(e.Txt_Date, date);
    p.clerc().Type(e.Txt_Valeur, "1,5");
    p.clerc().Click(e.Cmd_OkRapport);
  }
  p.clerc().DblClick(e.Lst_Date, 1);  // 01/01/2020
  p.services.QueueAnswer(MsgAnswer::Yes);
  p.clerc().Click(e.Cmd_SupprimerRapport);
  EXPECT_EQ(p.Messages(), Liste{"Etes-vous sûr de vouloir supprimer cette ligne ?"});

  EXPECT_EQ(p.etat().ItemTemp->Values(20), Liste{DateStockee("01/01/2021")});
  EXPECT_EQ(p.etat().ItemTemp->Values(21), Liste{"1500"});
  EXPECT_EQ(p.etat().Art_CentreUrssaf->Item(20), "");
  // Still a creation: it can only be saved or abandoned, not left unasked.
  EXPECT_TRUE(p.etat().ModeAjout);
  EXPECT_FALSE(e.Cmd_Sortir.Enabled());
  EXPECT_FALSE(e.Txt_CodCtrUrssaf.Enabled());
  EXPECT_TRUE(e.Cmd_OK.Focused());

  p.clerc().Click(e.Cmd_OK);
  EXPECT_EQ(p.Messages(), Liste{});
  dba::CItem nouveau = p.db->DBOpen("CENTREURSSAF").DBRead("13");
  EXPECT_EQ(nouveau.Item(1), "NOUVEAU");
  EXPECT_EQ(nouveau.Values(20), Liste{DateStockee("01/01/2021")});
  EXPECT_EQ(nouveau.Values(21), Liste{"1500"});
  EXPECT_EQ(
      p.db->DBOpen("CENTREURSSAF").DBRead("07").Item(20),
      Valeurs({DateStockee("01/01/2022"), DateStockee("01/01/2023"), DateStockee("01/01/2024")}));
}

// A last line without a rate leaves attribute 21 one value short: the new
// rate must still land beside its own date.
TEST(EditeurColonnes, ANewRateStaysBesideItsDateAfterALineWithoutRate) {
  auto donnees = DonneesParDefaut();
  donnees.push_back({"CENTREURSSAF",
                     "10",
                     {{1, "SANS DERNIER TAUX"},
                      {2, "Court"},
                      {20, Valeurs({DateStockee("01/01/2021"), DateStockee("01/01/2022")})},
                      {21, "1000"}}});
  PosteCentres p(donnees);
  p.Montrer("10");
  auto& e = p.e();
  p.clerc().Click(e.Cmd_AjouterRapport);
  p.clerc().Type(e.Txt_Date, "01/01/2020");
  p.clerc().Type(e.Txt_Valeur, "2");
  p.clerc().Click(e.Cmd_OkRapport);
  EXPECT_TRUE(p.Messages().empty());
  EXPECT_EQ(e.Lst_Date.Items(), (Liste{"01/01/2022", "01/01/2021", "01/01/2020"}));
  EXPECT_EQ(e.Lst_Valeur.Items(), (Liste{"", "1,000", "2,000"}));
  EXPECT_EQ(p.etat().Art_CentreUrssaf->Values(21), (Liste{"", "1000", "2000"}));
}

TEST(EditeurLimite, TheHistoryStopsAt32767Lines) {
  for (const int lignes : {32766, 32767}) {
    SCOPED_TRACE(lignes);
    std::vector<std::string> dates, taux;
    for (int i = 0; i < lignes; ++i) {
      dates.push_back(std::to_string(40000 - i));  // newest first
      taux.push_back("1000");
    }
    auto donnees = DonneesParDefaut();
    donnees.push_back({"CENTREURSSAF",
                       "09",
                       {{1, "LONG"}, {2, "Long"}, {20, Valeurs(dates)}, {21, Valeurs(taux)}}});
    PosteCentres p(donnees);
    p.Montrer("09");
    auto& e = p.e();
    p.clerc().Click(e.Cmd_AjouterRapport);
    e.Txt_Date.SetText("01/01/1970");
    e.Txt_Valeur.SetText("2");
    e.Cmd_OkRapport.Click();
    const auto messages = p.Messages();
    const auto apres = p.etat().Art_CentreUrssaf->Values(20);
    if (lignes < ratehistory::kLignesMax) {
      EXPECT_TRUE(messages.empty());
      EXPECT_EQ(apres.size(), static_cast<std::size_t>(ratehistory::kLignesMax));
      EXPECT_EQ(e.Lst_Valeur.List(ratehistory::kLignesMax - 1), "2,000");
    } else {
      EXPECT_EQ(messages, Liste{"L'historique des taux ne peut pas dépasser 32767 lignes."});
      EXPECT_EQ(apres.size(), static_cast<std::size_t>(lignes));
      EXPECT_EQ(p.etat().Art_CentreUrssaf->Values(21).size(), static_cast<std::size_t>(lignes));
    }
  }
}

TEST(EditeurConsultation, HandlersCalledByAHostChangeNoLineForABrowsingUser) {
  PosteCentres p(CinqLignes());
  p.ctl->DroitsUtilisateur(components::DroitsUtilisateur::Fixe({{"CENTREURSSAF", 1}}));
  p.ctl->Init();
  p.Montrer("08");
  auto& e = p.e();
  const std::string avant = p.etat().Art_CentreUrssaf->Item();
  // The handlers called by a host, past the hidden buttons, change no line.
  e.Cmd_AjouterRapport.Click();
  EXPECT_FALSE(e.Txt_Date.Enabled());
  e.Txt_Date.SetText("01/01/2030");
  e.Txt_Valeur.SetText("9");
  e.Cmd_OkRapport.Click();
  e.Cmd_SupprimerRapport.Click();
  EXPECT_EQ(p.etat().Art_CentreUrssaf->Item(), avant);
  EXPECT_TRUE(p.Messages().empty());
  EXPECT_EQ(p.etat().ModeRapport, 0);
}

}  // namespace
}  // namespace morvanel::testing
