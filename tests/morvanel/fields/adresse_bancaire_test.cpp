// The bank-details dialog over a shown centre or a creation: what "Retour"
// and its question write, what a refusal or a database failure leaves, and
// where the details of a new centre wait for its save.
#include <functional>

#include "morvanel/shell/library_state.h"
#include "poste_workflow.h"

namespace morvanel::testing {
namespace {

using view::MsgAnswer;

constexpr const char* kQuestion = "Voulez-vous enregistrer les modifications apportées à cet article";
constexpr const char* kIban02 = "FR7630006000011234567890189";

// Replaces the text of a field as the user does: select all, Delete, type.
void Remplacer(view::UserInput& u, view::Control& c, const std::string& texte) {
  u.Focus(c);
  c.SetSelection(0, 99);
  u.Delete(c);
  u.Type(c, texte);
}

class AdresseBancaireTest : public ::testing::Test {
 protected:
  void SetUp() override { Preparer(); }
  // Counter "02", and centre 02 with bank details, written afresh.
  void Preparer() {
    routines = 0;
    base.Ecrire("COMPTEUR", "999", {{12, "02"}, {45, "2"}});
    base.Ecrire("CENTREURSSAF", "02",
                {{1, "URSSAF NORD"}, {2, "Urssaf du Nord"}, {16, "117"}, {17, "0"},
                 {26, "URSSAF NORD"}, {27, "BANQUE DE FRANCE LILLE"}, {28, kIban02},
                 {29, "BDFEFRPPXXX"}, {30, "3000600001"}, {31, "89"}});
    avant = base.Lire("CENTREURSSAF", "02");
  }

  // A workstation with centre 02 on the screen.
  std::unique_ptr<Poste> Centre02(int niveau = 2) {
    auto p = PosteInitialise(base, niveau);
    p->ctl->Bibliotheque().TheDatabase->RegisterRoutine(
        "UNIPGCENTREURSSAF", [this](dba::Database&, int&, std::string_view) {
          ++routines;
          return dba::CItem();
        });
    p->saisie.Type((*p)["Txt_CodCtrUrssaf"], "02");
    return p;
  }

  // Opens the dialog; `dedans` is the user's work while it is shown.
  static void Ouvrir(Poste& p, const std::function<void(view::Form&, view::UserInput&)>& dedans) {
    p.services.SetModalDriver([&p, dedans](view::Form& f) {
      view::UserInput u(f, p.services);
      dedans(f, u);
    });
    p.saisie.Click(p["Cmd_AdresseBancaire"]);
  }

  BaseTemporaire base;
  std::string avant;
  int routines = 0;
};

TEST_F(AdresseBancaireTest, RetourAsksAndEachAnswerDoesWhatItSays) {
  struct Cas {
    MsgAnswer reponse;
    const char* titulaireEnBase;
    int routines;
  };
  for (const Cas& c : {Cas{MsgAnswer::Yes, "URSSAF NORD CS", 1}, Cas{MsgAnswer::No, "URSSAF NORD", 0}}) {
    SCOPED_TRACE(view::headless::AnswerName(c.reponse));
    Preparer();
    auto p = Centre02();
    p->services.QueueAnswer(c.reponse);
    Ouvrir(*p, [](view::Form& f, view::UserInput& u) {
      Remplacer(u, f.Get("Ctr_RIB.Txt_Titulaire"), "URSSAF NORD CS");
      u.Click(f.Get("Cmd_Retour"));
    });
    ASSERT_EQ(p->services.messages().size(), 1U);
    EXPECT_EQ(p->services.messages()[0].text, kQuestion);
    EXPECT_EQ(p->services.messages()[0].buttons, view::MsgButtons::YesNoCancel);
    EXPECT_EQ(p->services.beeps(), 0) << "no beep in this dialog";
    EXPECT_EQ(Attribut(base, "CENTREURSSAF", "02", 26), c.titulaireEnBase);
    EXPECT_EQ(Attribut(base, "CENTREURSSAF", "02", 2), "Urssaf du Nord");
    EXPECT_EQ(routines, c.routines);
    EXPECT_EQ(p->etat().Art_CentreUrssaf->Item(26), c.titulaireEnBase);

    // THEN "Sortir" has nothing left to ask about: the details are either
    // saved or undone.
    p->services.takeMessages();
    p->saisie.Click((*p)["Cmd_Sortir"]);
    EXPECT_TRUE(p->services.messages().empty());
    EXPECT_EQ(p->ctl->W_Sortir(), 1);
    EXPECT_EQ(Attribut(base, "CENTREURSSAF", "02", 26), c.titulaireEnBase);
  }
}

TEST_F(AdresseBancaireTest, CancelInTheQuestionKeepsTheDialogOpen) {
  auto p = Centre02();
  bool resteOuvert = false;
  p->services.QueueAnswer(MsgAnswer::Cancel);
  p->services.QueueAnswer(MsgAnswer::No);
  Ouvrir(*p, [&](view::Form& f, view::UserInput& u) {
    Remplacer(u, f.Get("Ctr_RIB.Txt_Bic"), "BDFEFRPP");
    u.Click(f.Get("Cmd_Retour"));
    resteOuvert = !f.IsUnloaded();
    EXPECT_FALSE(u.CloseBox()) << "the close box does nothing";
    u.Click(f.Get("Cmd_Retour"));
  });
  EXPECT_TRUE(resteOuvert);
  EXPECT_EQ(p->services.messages().size(), 2U);
  EXPECT_EQ(base.Lire("CENTREURSSAF", "02"), avant);
  EXPECT_EQ(p->etat().Art_CentreUrssaf->Item(), avant);
}

TEST_F(AdresseBancaireTest, RefusedDetailsKeepTheDialogOpenAndTheRecordUntouched) {
  struct Cas {
    const char* champ;
    const char* saisi;
    const char* message;
  };
  const Cas cas[] = {
      {"Txt_Iban", "FR7630006000011234567890188", "L'IBAN saisi n'est pas valide."},
      {"Txt_Iban", "FR4930001000640001234567832", "La clé RIB de l'IBAN saisi n'est pas valide."},
      {"Txt_Bic", "DEUTDEFF", "Le BIC saisi n'est pas valide."},
      {"Txt_Titulaire", "", "Le titulaire du compte est obligatoire."},
  };
  auto p = Centre02();
  p->services.SetDefaultAnswer(MsgAnswer::OK);
  for (const Cas& c : cas) {
    for (const char* bouton : {"Cmd_OK", "Cmd_Retour"}) {
      SCOPED_TRACE(std::string(c.saisi) + " " + bouton);
      p->services.takeMessages();
      bool resteOuvert = false, focusSurLeChamp = false;
      Ouvrir(*p, [&](view::Form& f, view::UserInput& u) {
        view::Control& champ = f.Get(std::string("Ctr_RIB.") + c.champ);
        const std::string lu = champ.Text();
        Remplacer(u, champ, c.saisi);
        u.Focus(f.Get("Ctr_RIB.Txt_Domiciliation"));
        u.Click(f.Get(bouton));
        resteOuvert = !f.IsUnloaded();
        focusSurLeChamp = champ.Focused();
        Remplacer(u, champ, lu);
        u.Click(f.Get("Cmd_Retour"));  // unchanged now: closes without a question
      });
      EXPECT_TRUE(resteOuvert);
      EXPECT_TRUE(focusSurLeChamp);
      ASSERT_EQ(p->services.messages().size(), 1U);
      EXPECT_EQ(p->services.messages()[0].text, c.message);
      EXPECT_EQ(p->etat().Art_CentreUrssaf->Item(), avant);
    }
  }
  EXPECT_EQ(base.Lire("CENTREURSSAF", "02"), avant);
}

TEST_F(AdresseBancaireTest, AWriteTheDatabaseRefusesIsToldAndTheDialogStays) {
  auto p = Centre02();
  auto autre = AutrePoste(base);
  dba::DBFile centres = autre->DBOpen("CENTREURSSAF");
  (void)centres.ReadLocked("02");
  p->services.QueueAnswer(MsgAnswer::Yes);
  p->services.QueueAnswer(MsgAnswer::OK);
  p->services.QueueAnswer(MsgAnswer::Yes);
  bool resteOuvert = false;
  Ouvrir(*p, [&](view::Form& f, view::UserInput& u) {
    Remplacer(u, f.Get("Ctr_RIB.Txt_Domiciliation"), "CIC LILLE");
    u.Click(f.Get("Cmd_Retour"));
    resteOuvert = !f.IsUnloaded();
    centres.Release("02");
    u.Click(f.Get("Cmd_Retour"));  // the other workstation let go: saved now
  });
  EXPECT_TRUE(resteOuvert);
  ASSERT_EQ(p->services.messages().size(), 3U);
  EXPECT_EQ(p->services.messages()[1].text.rfind(kPrefixeErreurBase, 0), 0U);
  EXPECT_EQ(Attribut(base, "CENTREURSSAF", "02", 27), "CIC LILLE");
  EXPECT_EQ(routines, 1) << "the routine runs after the write that succeeded only";
}

TEST_F(AdresseBancaireTest, ACreationKeepsItsDetailsInItsOwnRecordUntilItsSave) {
  // GIVEN centre 02 and its details were on the screen before "Ajouter"
  auto p = Centre02();
  p->saisie.Click((*p)["Cmd_Annuler"]);
  SaisirCreation(*p, "URSSAF EST");
  std::string titulaireMontre = "?", codeMontre = "?";
  p->services.QueueAnswer(MsgAnswer::Yes);
  Ouvrir(*p, [&](view::Form& f, view::UserInput& u) {
    titulaireMontre = f.Get("Ctr_RIB.Txt_Titulaire").Text();
    codeMontre = f.Get("Txt_CodeCentreUrssaf").Text();
    u.Type(f.Get("Ctr_RIB.Txt_Titulaire"), "URSSAF EST");
    u.Type(f.Get("Ctr_RIB.Txt_Iban"), "FR1420041010050500013M02606");
    u.Click(f.Get("Cmd_Retour"));
  });
  EXPECT_EQ(titulaireMontre, "") << "nothing of centre 02";
  EXPECT_EQ(codeMontre, "");
  EXPECT_EQ(p->services.messages().size(), 1U);
  // "Oui" wrote nothing: the new centre has no key yet.
  EXPECT_EQ(base.Lire("CENTREURSSAF", ""), "");
  EXPECT_EQ(base.Lire("CENTREURSSAF", "02"), avant);
  EXPECT_EQ(Attribut(base, "COMPTEUR", "999", 12), "02");
  EXPECT_EQ(routines, 0);

  // WHEN the dialog is opened again in the same creation, THEN the details
  // typed are still there
  Ouvrir(*p, [&](view::Form& f, view::UserInput& u) {
    titulaireMontre = f.Get("Ctr_RIB.Txt_Titulaire").Text();
    u.Type(f.Get("Ctr_RIB.Txt_Bic"), "ccbpfrpplil");
    u.Click(f.Get("Cmd_OK"));
  });
  EXPECT_EQ(titulaireMontre, "URSSAF EST");

  p->saisie.Click((*p)["Cmd_OK"]);
  EXPECT_EQ(Attribut(base, "CENTREURSSAF", "03", 1), "URSSAF EST");
  EXPECT_EQ(Attribut(base, "CENTREURSSAF", "03", 26), "URSSAF EST");
  EXPECT_EQ(Attribut(base, "CENTREURSSAF", "03", 28), "FR1420041010050500013M02606");
  EXPECT_EQ(Attribut(base, "CENTREURSSAF", "03", 29), "CCBPFRPPLIL");
  EXPECT_EQ(Attribut(base, "CENTREURSSAF", "03", 30), "2004101005");
  EXPECT_EQ(Attribut(base, "CENTREURSSAF", "03", 31), "06");
}

TEST_F(AdresseBancaireTest, AConsultationUserOnlySeesTheDetails) {
  auto p = Centre02(1);
  ASSERT_TRUE((*p)["Cmd_AdresseBancaire"].IsUsable());
  bool tape = true, okUtilisable = true;
  std::string iban;
  Ouvrir(*p, [&](view::Form& f, view::UserInput& u) {
    iban = f.Get("Ctr_RIB.Txt_Iban").Text();
    tape = u.Type(f.Get("Ctr_RIB.Txt_Titulaire"), "X");
    okUtilisable = f.Get("Cmd_OK").IsUsable();
    u.Click(f.Get("Cmd_Retour"));
  });
  EXPECT_EQ(iban, "FR76 3000 6000 0112 3456 7890 189");
  EXPECT_FALSE(tape);
  EXPECT_FALSE(okUtilisable);
  EXPECT_TRUE(p->services.messages().empty());
  EXPECT_EQ(p->etat().Art_CentreUrssaf->Item(), avant);
  EXPECT_EQ(base.Lire("CENTREURSSAF", "02"), avant);
  EXPECT_EQ(routines, 0);
}

}  // namespace
}  // namespace morvanel::testing
