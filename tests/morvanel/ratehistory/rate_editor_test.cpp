// The rate history editor on a control driven by a clerk: what "Ok" judges
// in boxes a host filled, the rate as stored, the longest history, and
// handlers a host calls for a user who may only browse.
#include <gtest/gtest.h>

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
using forms::MsgIcon;

constexpr const char* kDateErronee = "Erreur de saisie dans la date, veuillez la ressaisir.";
constexpr const char* kTauxErrone = "Le pourcentage de charges salariales n'est pas un nombre.";

// Centre "07" of the default data shown: lines 01/01/2022 1,000,
// 01/01/2023 (no rate), 01/01/2024 3,500, in that record order.
class Editeur : public ::testing::Test {
 protected:
  Editeur() { p.Montrer("07"); }

  state::UrssafScreen& e() { return p.e(); }
  Liste Dates() { return p.etat().Art_CentreUrssaf->Values(20); }
  Liste Taux() { return p.etat().Art_CentreUrssaf->Values(21); }

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
