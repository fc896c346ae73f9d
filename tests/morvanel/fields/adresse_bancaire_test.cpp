// The bank-details dialog over a shown centre: what stays when the user
// cancels the question of "Retour" or the database refuses the write.
// (The answers Yes and No, refusals, creations and the consultation user
// are played by the fields_bank_details_*.scn scenarios on the demo data.)
#include <functional>

#include "morvanel/state/library_state.h"
#include "poste_workflow.h"

namespace morvanel::testing {
namespace {

using forms::MsgAnswer;

constexpr const char* kQuestion =
    "Voulez-vous enregistrer les modifications apportées à cet article";
constexpr const char* kIban02 = "FR7630006000011234567890189";

// Replaces the text of a field as the user does: select all, Delete, type.
void Remplacer(forms::UserInput& u, forms::Control& c, const std::string& texte) {
  u.Focus(c);
  c.SetSelection(0, 99);
  u.Delete(c);
  u.Type(c, texte);
}

class AdresseBancaireTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base.Ecrire("COMPTEUR", "999", {{12, "02"}, {45, "2"}});
    base.Ecrire("CENTREURSSAF", "02",
                {{1, "URSSAF NORD"},
                 {2, "Urssaf du Nord"},
                 {16, "117"},
                 {17, "0"},
                 {26, "URSSAF NORD"},
                 {27, "BANQUE DE FRANCE LILLE"},
                 {28, kIban02},
                 {29, "BDFEFRPPXXX"},
                 {30, "3000600001"},
                 {31, "89"}});
    // A centre without bank details: its record ends before them.
    base.Ecrire("CENTREURSSAF", "03", {{1, "URSSAF EST"}, {2, "Urssaf de l'Est"}, {16, "117"}});
  }

  // A workstation with centre `code` on the screen.
  std::unique_ptr<Poste> Centre(const char* code) {
    auto p = PosteInitialise(base);
    p->ctl->Library().TheDatabase->RegisterRoutine("UNIPGCENTREURSSAF",
                                                   [this](dba::Database&, int&, std::string_view) {
                                                     ++routines;
                                                     return dba::CItem();
                                                   });
    p->saisie.Type((*p)["Txt_CodCtrUrssaf"], code);
    return p;
  }

  // Opens the dialog; `dedans` is the user's work while it is shown.
  static void Ouvrir(Poste& p, const std::function<void(forms::Form&, forms::UserInput&)>& dedans) {
    p.services.SetModalDriver([&p, dedans](forms::Form& f) {
      forms::UserInput u(f, p.services);
      dedans(f, u);
    });
    p.saisie.Click(p["Cmd_AdresseBancaire"]);
  }

  BaseTemporaire base;
  int routines = 0;
};

TEST_F(AdresseBancaireTest, CancelInTheQuestionKeepsTheDialogOpenAndNoPutsTheRecordBack) {
  auto p = Centre("03");
  const std::string lu = base.Lire("CENTREURSSAF", "03");
  bool resteOuvert = false;
  p->services.QueueAnswer(MsgAnswer::Cancel);
  p->services.QueueAnswer(MsgAnswer::No);
  Ouvrir(*p, [&](forms::Form& f, forms::UserInput& u) {
    Remplacer(u, f.Get("Ctr_RIB.Txt_Bic"), "BDFEFRPP");
    u.Click(f.Get("Cmd_Retour"));
    resteOuvert = !f.IsUnloaded();
    EXPECT_FALSE(u.CloseBox()) << "the close box does nothing";
    u.Click(f.Get("Cmd_Retour"));
  });
  EXPECT_TRUE(resteOuvert);
  ASSERT_EQ(p->services.messages().size(), 2U);
  EXPECT_EQ(p->services.messages()[0].text, kQuestion);
  EXPECT_EQ(base.Lire("CENTREURSSAF", "03"), lu);
  // Byte for byte, so that "Sortir" sees no change.
  EXPECT_EQ(p->etat().Art_CentreUrssaf->Item(), lu);
}

TEST_F(AdresseBancaireTest, AWriteTheDatabaseRefusesIsToldAndTheDialogStays) {
  auto p = Centre("02");
  auto autre = AutrePoste(base);
  dba::DBFile centres = autre->DBOpen("CENTREURSSAF");
  (void)centres.ReadLocked("02");
  p->services.QueueAnswer(MsgAnswer::Yes);
  p->services.QueueAnswer(MsgAnswer::OK);
  p->services.QueueAnswer(MsgAnswer::Yes);
  bool resteOuvert = false;
  Ouvrir(*p, [&](forms::Form& f, forms::UserInput& u) {
    Remplacer(u, f.Get("Ctr_RIB.Txt_Domiciliation"), "CIC LILLE");
    u.Click(f.Get("Cmd_Retour"));
    resteOuvert = !f.IsUnloaded();
    centres.Release("02");
    u.Click(f.Get("Cmd_Retour"));  // the other workstation let go: saved now
  });
  EXPECT_TRUE(resteOuvert);
  ASSERT_EQ(p->services.messages().size(), 3U);
  EXPECT_EQ(p->services.messages()[1].text.rfind(kDbErrorPrefix, 0), 0U);
  EXPECT_EQ(Attribut(base, "CENTREURSSAF", "02", 27), "CIC LILLE");
  EXPECT_EQ(routines, 1) << "the routine runs after the write that succeeded only";
}

}  // namespace
}  // namespace morvanel::testing
