// The rate history of a centre on screen: lists, newest-first sort and the
// duplicate-date check, and the editor's enabled states.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fields/poste_centres.h"

namespace morvanel::testing {
namespace {

using Liste = std::vector<std::string>;

constexpr const char* kDoublon = "2 valeurs ne peuvent pas avoir la même date d'effet.";

TEST(HistoriqueTaux, SortingPutsTheNewestFirstAndKeepsTheFlatAmount) {
  PosteCentres p;
  p.Montrer("07");
  EXPECT_EQ(p.e().Lst_Date.Items(), (Liste{"01/01/2022", "01/01/2023", "01/01/2024"}));
  EXPECT_EQ(p.e().Lst_Valeur.Items(), (Liste{"1,000", "", "3,500"})) << "record order";
  const std::string montant = p.etat().Art_CentreUrssaf->Item(22);
  // WHEN the history is sorted and shown again
  p.ctl->Trier_Par_Date();
  p.ctl->Remplir_Valeur();
  // THEN the latest date is on top, the empty rate kept its date's line
  EXPECT_EQ(p.e().Lst_Date.Items(), (Liste{"01/01/2024", "01/01/2023", "01/01/2022"}));
  EXPECT_EQ(p.e().Lst_Valeur.Items(), (Liste{"3,500", "", "1,000"}));
  // AND the flat amount beside the history is untouched, nothing is written
  EXPECT_EQ(p.etat().Art_CentreUrssaf->Item(22), montant);
  EXPECT_EQ(montant, "1250");
  EXPECT_EQ(p.db->DBOpen("CENTREURSSAF").DBRead("07").Item(), p.etat().ArticleInitial);
}

TEST(HistoriqueTaux, TheLongestHistorySortsAndShowsWhole) {
  PosteCentres p;
  p.Montrer("07");
  constexpr int kLignes = 32767;
  std::vector<std::string> dates, taux;
  for (int i = 0; i < kLignes; ++i) {  // oldest first, every third date repeated
    dates.push_back(std::to_string(10000 + i / 3));
    taux.push_back(std::to_string(i));
  }
  dba::CItem& centre = *p.etat().Art_CentreUrssaf;
  centre.setValues(20, dates);
  centre.setValues(21, taux);

  p.ctl->Trier_Par_Date();
  p.ctl->Remplir_Valeur();

  const auto triees = centre.Values(20);
  const auto tauxTries = centre.Values(21);
  ASSERT_EQ(triees.size(), static_cast<std::size_t>(kLignes));
  ASSERT_EQ(tauxTries.size(), static_cast<std::size_t>(kLignes));
  std::vector<int> ordre;  // newest date first, equal dates in their order
  for (int jour = (kLignes - 1) / 3; jour >= 0; --jour) {
    for (int i = 3 * jour; i < std::min(3 * jour + 3, kLignes); ++i) ordre.push_back(i);
  }
  for (int k = 0; k < kLignes; ++k) {
    ASSERT_EQ(tauxTries[k], std::to_string(ordre[k])) << k;
    ASSERT_EQ(triees[k], dates[ordre[k]]) << k;
  }
  EXPECT_EQ(p.e().Lst_Date.ListCount(), kLignes);
  EXPECT_EQ(p.e().Lst_Valeur.ListCount(), kLignes);
  EXPECT_EQ(centre.Item(22), "1250");
}

// The same day on another line is a duplicate, however typed; a line being
// modified may keep its own date; a date that is none is judged elsewhere.
TEST(HistoriqueTaux, ChevauchementFindsTheSameDayOnAnotherLineOnly) {
  const struct {
    const char* saisie;
    int ligneSelectionnee;  // -1: a line being added
    bool doublon;
  } cas[] = {{"01/01/2023", -1, true}, {"1/1/2023", -1, true},  {"02/01/2023", -1, false},
             {"01/01/2023", 1, false}, {"01/01/2024", 1, true}, {"31/02/2023", -1, false},
             {"", -1, false}};
  PosteCentres p;
  p.Montrer("07");
  for (const auto& c : cas) {
    SCOPED_TRACE(std::string(c.saisie) + " line " + std::to_string(c.ligneSelectionnee));
    p.e().Lst_Date.SetListIndex(c.ligneSelectionnee);
    p.e().Txt_Date.SetText(c.saisie);
    p.services.takeMessages();
    p.ctl->Chevauchement();
    EXPECT_EQ(p.etat().ErreurChevauchement, c.doublon);
    const auto& boites = p.services.messages();
    ASSERT_EQ(boites.size(), c.doublon ? 1u : 0u);
    if (c.doublon) {
      EXPECT_EQ(boites[0].text, kDoublon);
      EXPECT_EQ(boites[0].icon, forms::MsgIcon::Exclamation);
      EXPECT_EQ(boites[0].buttons, forms::MsgButtons::OK);
      EXPECT_EQ(boites[0].title, "Message TARVELINE");
    }
  }
}

// The list may hold a line written otherwise than the history shows dates.
TEST(HistoriqueTaux, ALineWrittenAnotherWayIsStillTheSameDay) {
  PosteCentres p;
  p.Montrer("07");
  p.e().Lst_Date.AddItem("5/3/1999");
  p.e().Txt_Date.SetText("05/03/1999");
  p.services.takeMessages();
  p.ctl->Chevauchement();
  EXPECT_TRUE(p.etat().ErreurChevauchement);
  EXPECT_EQ(p.services.messages().size(), 1u);
}

TEST(EditeurTaux, EditingALineDisablesAllButTheFramesEntryParts) {
  PosteCentres p;
  p.Montrer("07");
  const Liste gardes = {"Cdr_Rapport",   "Etq_Date",          "Etq_Valeur", "Lst_Date",
                        "Lst_Valeur",    "Txt_Date",          "Txt_Valeur", "Cmd_SupprimerRapport",
                        "Cmd_OkRapport", "Cmd_AnnulerRapport"};
  forms::Form& form = p.ctl->Controls();
  std::vector<bool> avant;
  for (int i = 0; i < form.Count(); ++i) avant.push_back(form[i].Enabled());

  p.ctl->Masquer_Valeur();

  for (int i = 0; i < form.Count(); ++i) {
    const forms::Control& c = form[i];
    const bool garde = std::find(gardes.begin(), gardes.end(), c.Name()) != gardes.end();
    EXPECT_EQ(c.Enabled(), garde && avant[static_cast<std::size_t>(i)]) << c.Name();
  }
  EXPECT_FALSE(p.e().Cmd_AjouterRapport.Enabled());
  EXPECT_FALSE(p.e().Bdv_Date.Enabled());
  EXPECT_TRUE(p.e().Lst_Date.Enabled());
}

}  // namespace
}  // namespace morvanel::testing
