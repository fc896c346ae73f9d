// The rate history of a centre (attributes 20 and 21): filling the two
// lists, sorting newest first, and the duplicate-date check. Each operation
// has a twin ending in "Temp" that works on ItemTemp (a centre being
// created) instead of Art_CentreUrssaf. Rate history subsystem.
#pragma once

#include "morvanel/state/urssaf_context.h"

namespace morvanel::ratehistory {

class RateHistoryModel {
 public:
  explicit RateHistoryModel(shell::UrssafContext& ctx) : ctx_(ctx) {}

  void Remplir_Valeur();
  void Remplir_ValeurTemp();
  void Trier_Par_Date();
  void Trier_Par_DateTemp();
  void Chevauchement();

 private:
  shell::UrssafContext& ctx_;
};

}  // namespace morvanel::ratehistory
