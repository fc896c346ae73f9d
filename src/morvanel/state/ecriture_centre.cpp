// The guarded write of a stored centre (see the header for the rule).
// Shared state of the control.
#include "morvanel/state/ecriture_centre.h"

namespace morvanel::state {

Ecriture EcrireSiInchange(dba::Database& base, const dba::DBFile& centres, dba::CItem& art,
                          const std::string& affiche, const std::function<bool()>& remplacer) {
  return EcrireSurStocke(
      base, centres, art.Key(), affiche, [&art](dba::CItem& r) { r.setItem(art.Item()); },
      remplacer);
}

Ecriture EcrireSurStocke(dba::Database& base, const dba::DBFile& centres, const std::string& cle,
                         const std::string& affiche,
                         const std::function<void(dba::CItem&)>& appliquer,
                         const std::function<bool()>& remplacer) {
  std::string accepte = affiche;  // the stored text this write may replace
  for (;;) {
    // The usual case, nobody else changed it, costs one read: the one made
    // inside the write's transaction.
    std::string stocke;
    {
      dba::Transaction t(base);
      dba::CItem r = centres.DBRead(cle);
      stocke = r.Item();
      if (!stocke.empty() && stocke == accepte) {
        appliquer(r);
        r.DBWrite();
        t.Commit();
        return Ecriture::Faite;
      }
    }  // rolled back before the clerk is asked
    if (stocke.empty()) return Ecriture::Supprime;
    if (!remplacer()) return Ecriture::Refusee;
    accepte = stocke;
  }
}

}  // namespace morvanel::state
