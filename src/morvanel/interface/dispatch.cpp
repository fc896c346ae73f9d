// Late binding to Ctr_Urssaf: name lookup and the call by position.
// Control interface (src/morvanel/interface).
#include "morvanel/interface/dispatch.h"

#include <cctype>
#include <string>

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

Value CallMethod(ICtrUrssaf& c, int position) {
  switch (position) {
    case 3: c.Verif_EltsPartEmp(); break;
    case 4: c.Afficher(); break;
    case 5: c.Afficher_Donnees(); break;
    case 7: c.Ecrire_Donnees(); break;
    case 8: c.Griser(); break;
    case 9: c.Init(); break;
    case 10: c.Remplir_CentreUrssaf(); break;
    case 13: c.Verif_Donnees(); break;
    case 14: c.Vider_Donnees(); break;
    case 15: c.RapportFalse(); break;
    case 16: c.Remplir_Valeur(); break;
    case 17: c.Remplir_ValeurTemp(); break;
    case 18: c.Trier_Par_Date(); break;
    case 19: c.Trier_Par_DateTemp(); break;
    case 20: c.Griser_Valeur(); break;
    case 21: c.Degriser_Valeur(); break;
    case 22: c.Afficher_Ajouter(); break;
    case 23: c.Masquer_Valeur(); break;
    case 24: c.Chevauchement(); break;
    default: throw MemberNotFound("no method at position " + std::to_string(position));
  }
  return std::monostate{};
}

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
  const MemberInfo& m = *found;
  switch (m.kind) {
    case MemberKind::Variable:
      if (args.empty()) return control.W_Sortir();
      control.W_Sortir(Argument<int>(m, args));
      return std::monostate{};
    case MemberKind::PropertyGet:
      if (!args.empty()) throw BadArguments(std::string(m.name) + " is read-only");
      return std::ref(control.Controls());
    case MemberKind::PropertyLet:
      if (m.position == 2) {
        control.DroitsUtilisateur(
            Argument<std::shared_ptr<components::DroitsUtilisateur>>(m, args));
      } else if (m.position == 11) {
        control.TheClient(Argument<std::shared_ptr<components::Client>>(m, args));
      } else {
        control.TheDatabase(Argument<std::shared_ptr<dba::Database>>(m, args));
      }
      return std::monostate{};
    case MemberKind::Method:
      if (!args.empty()) throw BadArguments(std::string(m.name) + " takes no argument");
      return CallMethod(control, m.position);
  }
  throw MemberNotFound(std::string(name));
}

}  // namespace morvanel::dispatch
