// Late binding to Ctr_Urssaf: name lookup and the call of each member, bound
// by name.
// Control interface (src/morvanel/interface).
#include "morvanel/interface/dispatch.h"

#include <cctype>
#include <iterator>
#include <string>
#include <type_traits>

namespace morvanel::dispatch {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

template <class T>
T Argument(const MemberInfo& m, const std::vector<Value>& args) {
  if (args.size() != 1) throw BadArguments(std::string(m.name) + ": one argument expected");
  const T* v = std::get_if<T>(&args.front());
  if (v == nullptr) throw BadArguments(std::string(m.name) + ": argument of the wrong type");
  return *v;
}

Value ExitFlag(ICtrUrssaf& c, const MemberInfo& m, const std::vector<Value>& args) {
  if (args.empty()) return c.W_Sortir();
  c.W_Sortir(Argument<int>(m, args));
  return std::monostate{};
}

Value GetControls(ICtrUrssaf& c, const MemberInfo& m, const std::vector<Value>& args) {
  if (!args.empty()) throw BadArguments(std::string(m.name) + " is read-only");
  return std::ref(c.Controls());
}

template <class M>
struct ArgumentOf;
template <class A>
struct ArgumentOf<void (ICtrUrssaf::*)(A)> {
  using type = std::decay_t<A>;
};

// How each kind of member is called; `kind` lets the table below be checked
// against the public list of members.
template <auto Member>
struct Property {
  static constexpr MemberKind kind = MemberKind::PropertyLet;
  static Value Call(ICtrUrssaf& c, const MemberInfo& m, const std::vector<Value>& args) {
    (c.*Member)(Argument<typename ArgumentOf<decltype(Member)>::type>(m, args));
    return std::monostate{};
  }
};

template <void (ICtrUrssaf::*Member)()>
struct Method {
  static constexpr MemberKind kind = MemberKind::Method;
  static Value Call(ICtrUrssaf& c, const MemberInfo& m, const std::vector<Value>& args) {
    if (!args.empty()) throw BadArguments(std::string(m.name) + " takes no argument");
    (c.*Member)();
    return std::monostate{};
  }
};

struct Binding {
  std::string_view name;
  MemberKind kind;
  Value (*call)(ICtrUrssaf&, const MemberInfo&, const std::vector<Value>&);
};

// The member's name is written once: it names both the entry and the member
// called, so an entry cannot reach another member than the one it names.
#define MORVANEL_MEMBER(Kind, name) \
  Binding { #name, Kind < &ICtrUrssaf::name> ::kind, &Kind < &ICtrUrssaf::name> ::Call }

constexpr Binding kBindings[] = {
    {"W_Sortir", MemberKind::Variable, &ExitFlag},
    MORVANEL_MEMBER(Property, DroitsUtilisateur),
    MORVANEL_MEMBER(Method, Verif_EltsPartEmp),
    MORVANEL_MEMBER(Method, Afficher),
    MORVANEL_MEMBER(Method, Afficher_Donnees),
    {"Controls", MemberKind::PropertyGet, &GetControls},
    MORVANEL_MEMBER(Method, Ecrire_Donnees),
    MORVANEL_MEMBER(Method, Griser),
    MORVANEL_MEMBER(Method, Init),
    MORVANEL_MEMBER(Method, Remplir_CentreUrssaf),
    MORVANEL_MEMBER(Property, TheClient),
    MORVANEL_MEMBER(Property, TheDatabase),
    MORVANEL_MEMBER(Method, Verif_Donnees),
    MORVANEL_MEMBER(Method, Vider_Donnees),
    MORVANEL_MEMBER(Method, RapportFalse),
    MORVANEL_MEMBER(Method, Remplir_Valeur),
    MORVANEL_MEMBER(Method, Remplir_ValeurTemp),
    MORVANEL_MEMBER(Method, Trier_Par_Date),
    MORVANEL_MEMBER(Method, Trier_Par_DateTemp),
    MORVANEL_MEMBER(Method, Griser_Valeur),
    MORVANEL_MEMBER(Method, Degriser_Valeur),
    MORVANEL_MEMBER(Method, Afficher_Ajouter),
    MORVANEL_MEMBER(Method, Masquer_Valeur),
    MORVANEL_MEMBER(Method, Chevauchement),
};
#undef MORVANEL_MEMBER

// The calls follow the public list member for member: same name, same kind,
// positions 1, 2, 3... A table out of step does not compile.
consteval bool SameOrder() {
  if (std::size(kBindings) != kMembers.size()) return false;
  for (std::size_t i = 0; i < kMembers.size(); ++i) {
    if (kMembers[i].position != static_cast<int>(i) + 1 || kMembers[i].name != kBindings[i].name ||
        kMembers[i].kind != kBindings[i].kind)
      return false;
  }
  return true;
}
static_assert(SameOrder(), "the calls of dispatch.cpp and kMembers are out of step");

}  // namespace

std::optional<MemberInfo> Find(std::string_view name) {
  for (const MemberInfo& m : kMembers) {
    if (SameName(m.name, name)) return m;
  }
  return std::nullopt;
}

Value Invoke(ICtrUrssaf& control, std::string_view name, const std::vector<Value>& args) {
  const std::optional<MemberInfo> found = Find(name);
  if (!found) throw MemberNotFound("Ctr_Urssaf has no member named \"" + std::string(name) + "\"");
  return kBindings[found->position - 1].call(control, *found, args);
}

}  // namespace morvanel::dispatch
