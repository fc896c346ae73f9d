// Late binding to Ctr_Urssaf: the members by name, with their position in the
// fixed member order, and one call that reaches a member by its name.
// Control interface (src/morvanel/interface).
//
//   using morvanel::dispatch::Invoke;
//   Invoke(ctl, "TheDatabase", {db});
//   Invoke(ctl, "Init");
//   int sortie = std::get<int>(Invoke(ctl, "W_Sortir"));
//
// Names are matched without regard to case, as late-binding hosts expect.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <variant>
#include <vector>

#include "morvanel/interface/ictr_urssaf.h"

namespace morvanel::dispatch {

enum class MemberKind {
  Variable,     // get and let
  PropertyLet,  // write-only property
  PropertyGet,  // read-only property
  Method        // no argument, no result
};

struct MemberInfo {
  int position;  // 1-based, in the fixed member order
  std::string_view name;
  MemberKind kind;
};

inline constexpr std::array<MemberInfo, 24> kMembers{{
    {1, "W_Sortir", MemberKind::Variable},
    {2, "DroitsUtilisateur", MemberKind::PropertyLet},
    {3, "Verif_EltsPartEmp", MemberKind::Method},
    {4, "Afficher", MemberKind::Method},
    {5, "Afficher_Donnees", MemberKind::Method},
    {6, "Controls", MemberKind::PropertyGet},
    {7, "Ecrire_Donnees", MemberKind::Method},
    {8, "Griser", MemberKind::Method},
    {9, "Init", MemberKind::Method},
    {10, "Remplir_CentreUrssaf", MemberKind::Method},
    {11, "TheClient", MemberKind::PropertyLet},
    {12, "TheDatabase", MemberKind::PropertyLet},
    {13, "Verif_Donnees", MemberKind::Method},
    {14, "Vider_Donnees", MemberKind::Method},
    {15, "RapportFalse", MemberKind::Method},
    {16, "Remplir_Valeur", MemberKind::Method},
    {17, "Remplir_ValeurTemp", MemberKind::Method},
    {18, "Trier_Par_Date", MemberKind::Method},
    {19, "Trier_Par_DateTemp", MemberKind::Method},
    {20, "Griser_Valeur", MemberKind::Method},
    {21, "Degriser_Valeur", MemberKind::Method},
    {22, "Afficher_Ajouter", MemberKind::Method},
    {23, "Masquer_Valeur", MemberKind::Method},
    {24, "Chevauchement", MemberKind::Method},
}};

// An argument or a result. monostate: nothing (a method's result).
using Value = std::variant<std::monostate, int, std::shared_ptr<components::DroitsUtilisateur>,
                           std::shared_ptr<components::Client>, std::shared_ptr<dba::Database>,
                           std::reference_wrapper<forms::Form>>;

// The member of that name (any case); nullopt when the control has none.
[[nodiscard]] std::optional<MemberInfo> Find(std::string_view name);

// No member of that name (the late-binding "member not found").
class MemberNotFound : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};
// The arguments do not fit the member (count or type).
class BadArguments : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// Calls member `name` of `control`. A variable or read-only property without
// arguments is read; with one argument a variable or write-only property is
// set (result monostate); a method takes no argument.
Value Invoke(ICtrUrssaf& control, std::string_view name, const std::vector<Value>& args = {});

}  // namespace morvanel::dispatch
