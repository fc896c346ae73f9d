// The rate history of a centre (attributes 20 and 21): filling the two
// lists, sorting newest first, and the duplicate-date check. Each operation
// has a twin ending in "Temp" that works on ItemTemp (a centre being
// created) instead of Art_CentreUrssaf. Rate history subsystem.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include "morvanel/state/state_fwd.h"

namespace dba {
class CItem;
}
namespace utilitaires {
class Utilitaires;
}
namespace forms {
class Services;
}
namespace morvanel::ratehistory {

// What the rate model works with. Built from the control's context in one
// place (RateHistoryDeps::From). Refers to everything, owns nothing.
struct RateHistoryDeps {
  // Lst_Valeur and Lst_Date.
  state::UrssafScreen& ecran;
  // Art_CentreUrssaf, ItemTemp, ErreurChevauchement (for the host).
  state::InstanceState& etat;
  forms::Services& services;
  // Created at first use: asked for each time, never kept.
  std::function<utilitaires::Utilitaires&()> Utilitaires;

  [[nodiscard]] static RateHistoryDeps From(state::UrssafContext& ctx);
};

class RateHistoryModel {
 public:
  explicit RateHistoryModel(RateHistoryDeps deps) : d_(std::move(deps)) {}

  void Remplir_Valeur();
  void Remplir_ValeurTemp();
  void Trier_Par_Date();
  void Trier_Par_DateTemp();
  // The date typed in Txt_Date is already in the list (the line being
  // modified aside): the clerk is told and the answer is true.
  [[nodiscard]] bool DateEnDouble();
  // The same, with the answer left in ErreurChevauchement.
  void Chevauchement();

  // The lists show what `historique` holds now: they were last filled from
  // it (or told of its change by Retenir) and it has not changed since. A
  // history re-sorted by a host without a refill is not shown.
  [[nodiscard]] bool Montre(const dba::CItem& historique) const;
  // The lists now show `historique` as it is (its one changed line moved in
  // them too).
  void Retenir(const dba::CItem* historique);

 private:
  RateHistoryDeps d_;
  // The two columns' texts the lists were made from; a copy, since the
  // record's own text changes under them.
  bool montre_ = false;
  std::string datesMontrees_;
  std::string tauxMontres_;
};

}  // namespace morvanel::ratehistory
