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

Value Sortir(ICtrUrssaf& c, const MemberInfo& m, const std::vector<Value>& args) {
  if (args.empty()) return c.W_Sortir();
  c.W_Sortir(Argument<int>(m, args));
  return std::monostate{};
}

Value LireControls(ICtrUrssaf& c, const MemberInfo& m, const std::vector<Value>& args) {
  if (!args.empty()) throw BadArguments(std::string(m.name) + " is read-only");
  return std::ref(c.Controls());
}

template <class M>
struct ArgumentDe;
template <class A>
struct ArgumentDe<void (ICtrUrssaf::*)(A)> {
  using type = std::decay_t<A>;
};

// How each kind of member is called; `kind` lets the table below be checked
// against the public list of members.
template <auto Membre>
struct Propriete {
  static constexpr MemberKind kind = MemberKind::PropertyLet;
  static Value Appeler(ICtrUrssaf& c, const MemberInfo& m, const std::vector<Value>& args) {
    (c.*Membre)(Argument<typename ArgumentDe<decltype(Membre)>::type>(m, args));
    return std::monostate{};
  }
};

template <void (ICtrUrssaf::*Membre)()>
struct Methode {
  static constexpr MemberKind kind = MemberKind::Method;
  static Value Appeler(ICtrUrssaf& c, const MemberInfo& m, const std::vector<Value>& args) {
    if (!args.empty()) throw BadArguments(std::string(m.name) + " takes no argument");
    (c.*Membre)();
    return std::monostate{};
  }
};

struct Liaison {
  std::string_view name;
  MemberKind kind;
  Value (*appeler)(ICtrUrssaf&, const MemberInfo&, const std::vector<Value>&);
};

// The member's name is written once: it names both the entry and the member
// called, so an entry cannot reach another member than the one it names.
#define MORVANEL_MEMBRE(Genre, nom) \
  Liaison { #nom, Genre < &ICtrUrssaf::nom> ::kind, &Genre < &ICtrUrssaf::nom> ::Appeler }

constexpr Liaison kLiaisons[] = {
    {"W_Sortir", MemberKind::Variable, &Sortir},
    MORVANEL_MEMBRE(Propriete, DroitsUtilisateur),
    MORVANEL_MEMBRE(Methode, Verif_EltsPartEmp),
    MORVANEL_MEMBRE(Methode, Afficher),
    MORVANEL_MEMBRE(Methode, Afficher_Donnees),
    {"Controls", MemberKind::PropertyGet, &LireControls},
    MORVANEL_MEMBRE(Methode, Ecrire_Donnees),
    MORVANEL_MEMBRE(Methode, Griser),
    MORVANEL_MEMBRE(Methode, Init),
    MORVANEL_MEMBRE(Methode, Remplir_CentreUrssaf),
    MORVANEL_MEMBRE(Propriete, TheClient),
    MORVANEL_MEMBRE(Propriete, TheDatabase),
    MORVANEL_MEMBRE(Methode, Verif_Donnees),
    MORVANEL_MEMBRE(Methode, Vider_Donnees),
    MORVANEL_MEMBRE(Methode, RapportFalse),
    MORVANEL_MEMBRE(Methode, Remplir_Valeur),
    MORVANEL_MEMBRE(Methode, Remplir_ValeurTemp),
    MORVANEL_MEMBRE(Methode, Trier_Par_Date),
    MORVANEL_MEMBRE(Methode, Trier_Par_DateTemp),
    MORVANEL_MEMBRE(Methode, Griser_Valeur),
    MORVANEL_MEMBRE(Methode, Degriser_Valeur),
    MORVANEL_MEMBRE(Methode, Afficher_Ajouter),
    MORVANEL_MEMBRE(Methode, Masquer_Valeur),
    MORVANEL_MEMBRE(Methode, Chevauchement),
};
#undef MORVANEL_MEMBRE

// The calls follow the public list member for member: same name, same kind,
// positions 1, 2, 3... A table out of step does not compile.
consteval bool MemeOrdre() {
  if (std::size(kLiaisons) != kMembers.size()) return false;
  for (std::size_t i = 0; i < kMembers.size(); ++i) {
    if (kMembers[i].position != static_cast<int>(i) + 1 || kMembers[i].name != kLiaisons[i].name ||
        kMembers[i].kind != kLiaisons[i].kind)
      return false;
  }
  return true;
}
static_assert(MemeOrdre(), "the calls of dispatch.cpp and kMembers are out of step");

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
  return kLiaisons[found->position - 1].appeler(control, *found, args);
}

}  // namespace morvanel::dispatch
