// "Sortir" on a changed centre: what each answer writes, and a save that
// fails its checks. (Leaving at once: the shell_sortir scenarios.)
#include "poste_controle.h"

namespace morvanel::testing {
namespace {

using forms::MsgAnswer;

constexpr const char* kQuestion =
    "Voulez-vous enregistrer les modifications apportées à cet article ?";

class SortirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base.Ecrire("CENTREURSSAF", "07",
                {{1, "URSSAF LOIRE"}, {2, "Urssaf des Pays de la Loire"}, {16, "117"}, {17, "0"}});
    base.Ecrire("CENTREURSSAF", "08",
                {{1, "URSSAF CENTRE"}, {2, "Urssaf Centre-Val de Loire"}, {16, "245"}, {17, "1"}});
    avant = base.Lire("CENTREURSSAF", "07");
  }

  // GIVEN centre 07 shown and its name changed by the user.
  std::unique_ptr<Poste> CentreModifie() {
    auto p = std::make_unique<Poste>(base.db());
    p->ctl->Init();
    p->saisie.Type((*p)["Txt_CodCtrUrssaf"], "07");
    p->saisie.Focus((*p)["Txt_NomCtrUrssaf"]);
    p->saisie.Type((*p)["Txt_NomCtrUrssaf"], " (siège)");
    p->services.takeMessages();
    return p;
  }

  BaseTemporaire base;
  std::string avant;
};

TEST_F(SortirTest, YesSavesTheChangeNoDropsItBothLeaveCancelStays) {
  for (const MsgAnswer reponse :
       {MsgAnswer::Cancel, MsgAnswer::No, MsgAnswer::Yes}) {  // Yes writes
    const bool oui = reponse == MsgAnswer::Yes, reste = reponse == MsgAnswer::Cancel;
    SCOPED_TRACE(static_cast<int>(reponse));
    auto p = CentreModifie();
    p->ctl->W_Sortir(1);  // a host may have read an earlier exit
    p->services.QueueAnswer(reponse);
    p->saisie.Click((*p)["Cmd_Sortir"]);
    ASSERT_EQ(p->services.messages().size(), 1u);
    EXPECT_EQ(p->services.messages()[0].text, kQuestion);
    EXPECT_EQ(p->services.messages()[0].buttons, forms::MsgButtons::YesNoCancel);
    EXPECT_EQ(p->services.beeps(), 1);
    EXPECT_EQ(p->ctl->W_Sortir(), reste ? 0 : 1);
    EXPECT_EQ(p->services.parentUnloads(), reste ? 0 : 1);
    if (reste) {
      EXPECT_EQ((*p)["Txt_CodCtrUrssaf"].Text(), "07");
    }
    dba::CItem ecrit(base.Lire("CENTREURSSAF", "07"));
    EXPECT_EQ(ecrit.Item(2),
              oui ? "Urssaf des Pays de la Loire (siège)" : "Urssaf des Pays de la Loire");
    EXPECT_EQ(ecrit.Item(1), "URSSAF LOIRE");
  }
}

TEST_F(SortirTest, YesWithAFailedCheckStaysAndWritesNothing) {
  auto p = CentreModifie();
  (*p)["Txt_SigleCtrUrssaf"].SetText("  ");
  p->services.QueueAnswer(MsgAnswer::Yes);
  p->services.QueueAnswer(MsgAnswer::OK);
  p->saisie.Click((*p)["Cmd_Sortir"]);
  ASSERT_EQ(p->services.messages().size(), 2u);
  EXPECT_EQ(p->services.messages()[1].text, "Le sigle du centre URSSAF est obligatoire.");
  EXPECT_EQ(p->ctl->W_Sortir(), 0);
  EXPECT_EQ(p->services.parentUnloads(), 0);
  EXPECT_TRUE((*p)["Txt_SigleCtrUrssaf"].Focused());
  EXPECT_EQ(base.Lire("CENTREURSSAF", "07"), avant);
}

}  // namespace
}  // namespace morvanel::testing
