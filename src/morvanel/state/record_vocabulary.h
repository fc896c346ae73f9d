// The database files the control works with and the attributes it reads and
// writes in them, named once. Shared by every subsystem of the control.
//
// Only what the control touches is named: a record is written back whole,
// so attributes not named here (18, 19, 23 and beyond 31 of a centre) keep
// what they held.
#pragma once

namespace morvanel::records {

// The files opened by Init, and those the pickers select from.
inline constexpr const char* kCentreUrssaf = "CENTREURSSAF";
inline constexpr const char* kCompteur = "COMPTEUR";
inline constexpr const char* kAssociation = "ASSOCIATION";
inline constexpr const char* kEltsPartEmp = "ELTSPARTEMP";
inline constexpr const char* kActivites = "ACTIVITES";
inline constexpr const char* kEtablissement = "ETABLISSEMENT";

// A record of CENTREURSSAF; its key is the centre code.
namespace centre {
inline constexpr int kLongueurCle = 2;               // "01" to "99"
inline constexpr int kLongueurCodeRattachement = 3;  // entity and establishment codes
inline constexpr int kSigle = 1;
inline constexpr int kNom = 2;
inline constexpr int kAdresse = 3;  // 3 to 14, laid out by the address control
inline constexpr int kInterlocuteur = 15;
inline constexpr int kCodeOrganisme = 16;
inline constexpr int kDntJP = 17;           // the check box's value, 0 or 1
inline constexpr int kDates = 20;           // rate history: stored dates
inline constexpr int kTaux = 21;            // rate history: thousandths of a percent
inline constexpr int kMontantForfait = 22;  // hundredths of the amount
inline constexpr int kCodeSNV2 = 24;
inline constexpr int kRattachement = 25;  // entity code then establishment code
inline constexpr int kRib = 26;           // 26 to 31, laid out by the bank-details control
inline constexpr int kRibDernier = 31;    // the bank-details control's six
// Rates are stored as whole thousandths of a percent: 10^3.
inline constexpr int kPuissanceTaux = 3;
}  // namespace centre

// Record "999" of COMPTEUR.
namespace compteur {
inline constexpr const char* kCle = "999";
inline constexpr int kDernierCentre = 12;  // the last centre code handed out
inline constexpr int kLancerUnipg = 45;    // 2 or more: run UNIPGCENTREURSSAF after a write
}  // namespace compteur

// A case record of ELTSPARTEMP.
namespace eltspartemp {
inline constexpr int kCentre = 1;  // the code of the centre it points to
}  // namespace eltspartemp

// The rate lists show this many lines; a scroll bar is only worth showing
// once its list cannot show every line.
inline constexpr int kLignesVisibles = 4;

}  // namespace morvanel::records
