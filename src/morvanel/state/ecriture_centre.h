// The write of a centre already stored, guarded against other workstations.
// Shared state of the control: the save of "OK" and of "Sortir" (workflow)
// and the bank-details dialog's immediate save (fields) go through it.
//
// A workstation shows a centre, the clerk changes it, and meanwhile another
// workstation may change or delete the same record. Written blindly, the
// centre would silently lose the other workstation's changes, or come back
// from the dead. So the record stored is compared with the text shown (the
// whole record text as read, ArticleInitial):
//   - unchanged: written;
//   - changed elsewhere: `remplacer` asks the clerk; No writes nothing;
//   - deleted elsewhere: nothing written, the caller tells the clerk.
// The comparison is made inside the write's transaction; the question is
// asked after it is rolled back, outside any (a clerk may take minutes to
// answer, and the write lock would stop every other workstation meanwhile),
// and the comparison made again in a new one with the text the clerk
// agreed to overwrite. When the record changed once more
// in between, the clerk is asked again about the newer text: a Yes only
// ever covers the changes the clerk could have known of.
#pragma once

#include <functional>
#include <string>

#include "dba/database.h"

namespace morvanel::state {

inline constexpr const char* kMsgModifieAilleurs =
    "Ce centre URSSAF a été modifié sur un autre poste depuis son affichage. Voulez-vous "
    "remplacer ces modifications par les vôtres ?";
inline constexpr const char* kMsgSupprimeAilleurs =
    "Ce centre URSSAF a été supprimé sur un autre poste.";

enum class Ecriture {
  Faite,     // written, in one transaction with the comparison
  Refusee,   // changed elsewhere and the clerk said No: nothing written
  Supprime,  // deleted elsewhere: nothing written
};

// Writes `art` (bound to its key in `centres`) when the stored record is
// still `affiche`, or a text `remplacer()` agreed to overwrite. Errors of the
// database (a record locked by another workstation, busy) are thrown with
// nothing written.
[[nodiscard]] Ecriture EcrireSiInchange(dba::Database& base, const dba::DBFile& centres,
                                        dba::CItem& art, const std::string& affiche,
                                        const std::function<bool()>& remplacer);

// The same guard for a write of a few attributes: `appliquer` puts them into
// the record as stored (read inside the write's transaction), so that
// whatever else the screen holds unsaved stays out of the database.
[[nodiscard]] Ecriture EcrireSurStocke(dba::Database& base, const dba::DBFile& centres,
                                       const std::string& cle, const std::string& affiche,
                                       const std::function<void(dba::CItem&)>& appliquer,
                                       const std::function<bool()>& remplacer);

}  // namespace morvanel::state
