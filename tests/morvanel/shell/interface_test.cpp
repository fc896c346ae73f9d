// The control's public interface: the virtual members sit in the fixed
// member order (hosts bind by position), and the late-binding table names
// them in that order and reaches each one.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "morvanel/interface/dispatch.h"
#include "forms/form.h"

namespace morvanel {
namespace {

// Table slot of a virtual member (the Itanium C++ ABI, used by every
// compiler this builds with: the pointer holds 1 + the slot's byte offset).
template <class M>
std::ptrdiff_t Slot(M membre) {
  static_assert(sizeof(membre) == 2 * sizeof(std::ptrdiff_t));
  std::ptrdiff_t brut[2];
  std::memcpy(brut, &membre, sizeof membre);
  EXPECT_EQ(brut[0] % static_cast<std::ptrdiff_t>(sizeof(void*)), 1) << "not a virtual member";
  return (brut[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

TEST(MemberOrderTest, VirtualMembersFollowTheFixedOrder) {
  using I = ICtrUrssaf;
#define SLOT(m) \
  std::pair<std::string, std::ptrdiff_t> { #m, Slot(&I::m) }
  // clang-format off
  const std::vector<std::pair<std::string, std::ptrdiff_t>> slots = {
      {"W_Sortir", Slot(static_cast<int (I::*)() const>(&I::W_Sortir))},
      {"W_Sortir", Slot(static_cast<void (I::*)(int)>(&I::W_Sortir))},
      SLOT(DroitsUtilisateur), SLOT(Verif_EltsPartEmp), SLOT(Afficher), SLOT(Afficher_Donnees),
      SLOT(Controls), SLOT(Ecrire_Donnees), SLOT(Griser), SLOT(Init), SLOT(Remplir_CentreUrssaf),
      SLOT(TheClient), SLOT(TheDatabase), SLOT(Verif_Donnees), SLOT(Vider_Donnees),
      SLOT(RapportFalse), SLOT(Remplir_Valeur), SLOT(Remplir_ValeurTemp), SLOT(Trier_Par_Date),
      SLOT(Trier_Par_DateTemp), SLOT(Griser_Valeur), SLOT(Degriser_Valeur), SLOT(Afficher_Ajouter),
      SLOT(Masquer_Valeur), SLOT(Chevauchement)};
  // clang-format on
  // W_Sortir takes slots 0 (get) and 1 (let); member n (n >= 2) is slot n.
  for (std::size_t i = 0; i < slots.size(); ++i) {
    EXPECT_EQ(slots[i].second, static_cast<std::ptrdiff_t>(i)) << slots[i].first;
  }
#undef SLOT
  ASSERT_EQ(dispatch::kMembers.size(), slots.size() - 1);
  for (std::size_t n = 0; n < dispatch::kMembers.size(); ++n) {
    const dispatch::MemberInfo& m = dispatch::kMembers[n];
    EXPECT_EQ(m.position, static_cast<int>(n) + 1);
    EXPECT_EQ(m.name, slots[n == 0 ? 0 : n + 1].first) << "position " << m.position;
  }
}

// Records which member was reached.
class Enregistreur final : public ICtrUrssaf {
 public:
  std::vector<std::string> appels;
  int sortie = 0;
  forms::Form form{"Ctr_Urssaf", 7800, 8400};
  std::shared_ptr<dba::Database> base;

  int W_Sortir() const override { return sortie; }
  void W_Sortir(int v) override { sortie = v; }
  void DroitsUtilisateur(std::shared_ptr<components::DroitsUtilisateur>) override {
    Note("DroitsUtilisateur");
  }
  forms::Form& Controls() override { return form; }
  // The members without an argument only record their name.
  // clang-format off
#define NOTE(nom) void nom() override { Note(#nom); } static_assert(true)
  NOTE(Verif_EltsPartEmp); NOTE(Afficher); NOTE(Afficher_Donnees); NOTE(Ecrire_Donnees);
  NOTE(Griser); NOTE(Init); NOTE(Remplir_CentreUrssaf); NOTE(Verif_Donnees);
  NOTE(Vider_Donnees); NOTE(RapportFalse); NOTE(Remplir_Valeur); NOTE(Remplir_ValeurTemp);
  NOTE(Trier_Par_Date); NOTE(Trier_Par_DateTemp); NOTE(Griser_Valeur); NOTE(Degriser_Valeur);
  NOTE(Afficher_Ajouter); NOTE(Masquer_Valeur); NOTE(Chevauchement);
#undef NOTE
  // clang-format on
  void TheClient(std::shared_ptr<components::Client>) override { Note("TheClient"); }
  void TheDatabase(std::shared_ptr<dba::Database> db) override {
    base = db;
    Note("TheDatabase");
  }

 private:
  void Note(const char* nom) { appels.emplace_back(nom); }
};

TEST(DispatchTest, EveryMethodNameReachesThatMethod) {
  for (const dispatch::MemberInfo& m : dispatch::kMembers) {
    if (m.kind != dispatch::MemberKind::Method) continue;
    Enregistreur c;
    const dispatch::Value r = dispatch::Invoke(c, m.name);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(r));
    EXPECT_EQ(c.appels, std::vector<std::string>{std::string(m.name)});
  }
}

TEST(DispatchTest, PropertiesAreReadAndSetByName) {
  Enregistreur c;
  dispatch::Invoke(c, "w_sortir", {1});
  EXPECT_EQ(c.sortie, 1);
  EXPECT_EQ(std::get<int>(dispatch::Invoke(c, "W_SORTIR")), 1);
  EXPECT_EQ(&std::get<std::reference_wrapper<forms::Form>>(dispatch::Invoke(c, "Controls")).get(),
            &c.form);
  dispatch::Invoke(c, "TheDatabase", {std::shared_ptr<dba::Database>()});
  dispatch::Invoke(c, "TheClient", {std::shared_ptr<components::Client>()});
  dispatch::Invoke(c, "DroitsUtilisateur", {std::shared_ptr<components::DroitsUtilisateur>()});
  EXPECT_EQ(c.appels, (std::vector<std::string>{"TheDatabase", "TheClient", "DroitsUtilisateur"}));
}

TEST(DispatchTest, UnknownNamesAndWrongArgumentsAreRefusedWithoutACall) {
  Enregistreur c;
  EXPECT_THROW(dispatch::Invoke(c, "Appliquer_Droits"), dispatch::MemberNotFound);
  EXPECT_THROW(dispatch::Invoke(c, "Lancer_UNIPG"), dispatch::MemberNotFound);
  EXPECT_THROW(dispatch::Invoke(c, "Init", {1}), dispatch::BadArguments);
  EXPECT_THROW(dispatch::Invoke(c, "TheDatabase", {1}), dispatch::BadArguments);
  EXPECT_THROW(dispatch::Invoke(c, "TheClient"), dispatch::BadArguments);
  EXPECT_THROW(dispatch::Invoke(c, "Controls", {1}), dispatch::BadArguments);
  EXPECT_TRUE(c.appels.empty());
  EXPECT_EQ(dispatch::Find("init")->position, 9);
  EXPECT_FALSE(dispatch::Find("Init2"));
}

}  // namespace
}  // namespace morvanel
