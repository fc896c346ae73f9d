// The demo centres of CENTREURSSAF and counter record "999" of COMPTEUR.
// Tools layer (src/tools/demo, no Qt). Attribute layout: docs/demo-database.md.
#include <string>
#include <vector>

#include "demo/demo_data.h"

namespace demo {
namespace {

struct Rate {
  int year, month, day;
  int thousandths;  // percentage x 1000
};

struct Address {
  std::string pointDeRemise, complement, voie, lieuDit, codePostal, ville, cedex;
  std::string telephone, telecopie, email;
};

struct Bank {
  std::string branch, account;  // the bank itself is the Banque de France
  std::string city;
};

struct CentreSample {
  std::string key, sigle, denomination;
  Address address;
  std::string interlocuteur, codeOrganisme, dematerialise;
  std::vector<Rate> rates;  // newest first
  std::string forfait;      // hundredths, "" for none
  std::string snv2, rattachement;
  Bank bank;
};

const std::vector<CentreSample>& Samples() {
  static const std::vector<CentreSample> samples = {
      {"01",
       "URSSAF ILE-DE-FRANCE",
       "Urssaf d'Île-de-France",
       {"Service des cotisations", "Immeuble Le Franklin", "3 rue Franklin", "BP 4321", "93100",
        "MONTREUIL", "CEDEX 20", "01 48 51 20 00", "01 48 51 20 99",
        "cotisations@idf.urssaf.example"},
       "Mme Hélène Marchand",
       "117",
       "1",
       {{2024, 1, 1, 6900},
        {2022, 7, 1, 6850},
        {2021, 1, 1, 6800},
        {2019, 1, 1, 6750},
        {2017, 1, 1, 6500},
        {2015, 1, 1, 6250}},
       "150",
       "751170001",
       "001002",
       {"00823", "00012345678", "PARIS"}},
      {"02",
       "URSSAF RHONE-ALPES",
       "Urssaf Rhône-Alpes",
       {"Direction du recouvrement", "", "6 rue du 19 mars 1962", "", "69691", "VENISSIEUX",
        "CEDEX", "04 72 89 50 00", "", "recouvrement@rhonealpes.urssaf.example"},
       "M. Jérôme Lefèvre",
       "691",
       "0",
       {{2023, 1, 1, 7000}, {2020, 1, 1, 6900}},
       "",
       "691690002",
       "001001",
       {"00169", "00087654321", "LYON"}},
      {"03",
       "URSSAF PROVENCE-ALPES-COTE D'AZUR",
       "Urssaf Provence-Alpes-Côte d'Azur",
       {"Pôle employeurs", "Résidence Les Calanques", "20 avenue Viton", "", "13299", "MARSEILLE",
        "CEDEX 20", "04 91 83 60 00", "04 91 83 60 01", ""},
       "Mme Françoise Giraud",
       "131",
       "1",
       {{2024, 1, 1, 7100}, {2021, 7, 1, 6950}, {2018, 1, 1, 6700}},
       "29",
       "131310003",
       "125001",
       {"00130", "00011223344", "MARSEILLE"}},
      {"04",
       "URSSAF BRETAGNE",
       "Urssaf de Bretagne",
       {"", "", "2 rue de la Tannerie", "CS 74330", "35043", "RENNES", "CEDEX", "02 99 29 50 00",
        "", "contact@bretagne.urssaf.example"},
       "M. Yann Le Gall",
       "351",
       "0",
       {{2022, 1, 1, 6800}},
       "",
       "351350004",
       "002001",
       {"00350", "00055667788", "RENNES"}},
      {"05",
       "URSSAF NORD-PAS-DE-CALAIS",
       "Urssaf Nord-Pas-de-Calais",
       {"Service entreprises", "Bâtiment B", "293 avenue du Président Hoover", "", "59032", "LILLE",
        "CEDEX", "03 20 63 50 00", "03 20 63 50 50", ""},
       "M. Benoît Duchêne",
       "591",
       "1",
       {{2024, 7, 1, 6950}, {2022, 1, 1, 6900}, {2019, 7, 1, 6600}},
       "200",
       "591590005",
       "125002",
       {"00590", "00099887766", "LILLE"}},
      {"06",
       "URSSAF AQUITAINE",
       "Urssaf d'Aquitaine",
       {"Service des cotisations", "", "3 rue Théodore Blanc", "", "33084", "BORDEAUX", "CEDEX",
        "05 56 11 60 00", "", ""},
       "Mme Amélie Dupré",
       "331",
       "0",
       {},
       "",
       "331330006",
       "",
       {"00330", "00044332211", "BORDEAUX"}},
      {"07",
       "URSSAF PAYS DE LA LOIRE",
       "Urssaf des Pays de la Loire",
       {"Direction des entreprises", "", "3 rue Gaëtan Rondeau", "CS 21609", "44933", "NANTES",
        "CEDEX 9", "02 40 73 50 00", "02 40 73 50 01", "employeurs@paysdelaloire.urssaf.example"},
       "Mme Nolwenn Guérin",
       "441",
       "1",
       {{2024, 4, 1, 7050}, {2022, 1, 1, 6900}, {2020, 7, 1, 6800}, {2018, 1, 1, 6650}},
       "125",
       "441440007",
       "001003",
       {"00440", "00066778899", "NANTES"}},
  };
  return samples;
}

DemoRecord Build(const CentreSample& c) {
  std::vector<std::string> a(31);
  auto at = [&a](int attribute) -> std::string& {
    return a[static_cast<std::size_t>(attribute - 1)];
  };
  at(1) = c.sigle;
  at(2) = c.denomination;
  const Address& ad = c.address;
  at(3) = ad.pointDeRemise;
  at(4) = ad.complement;
  at(5) = ad.voie;
  at(6) = ad.lieuDit;
  at(7) = ad.codePostal;
  at(8) = ad.ville;
  at(9) = ad.cedex;
  at(10) = "FRANCE";
  at(11) = ad.telephone;
  at(12) = ad.telecopie;
  at(13) = ad.email;
  at(15) = c.interlocuteur;
  at(16) = c.codeOrganisme;
  at(17) = c.dematerialise;
  std::vector<std::string> dates, rates;
  for (const Rate& r : c.rates) {
    dates.push_back(std::to_string(DayNumber(r.year, r.month, r.day)));
    rates.push_back(std::to_string(r.thousandths));
  }
  at(20) = JoinValues(dates);
  at(21) = JoinValues(rates);
  at(22) = c.forfait;
  at(24) = c.snv2;
  at(25) = c.rattachement;
  const std::string bankCode = "30001";
  at(26) = c.sigle;
  at(27) = "BANQUE DE FRANCE " + c.bank.city;
  at(28) = FrenchIban(bankCode, c.bank.branch, c.bank.account);
  at(29) = "BDFEFRPPCCT";
  at(30) = bankCode + c.bank.branch;
  at(31) = RibKey(bankCode, c.bank.branch, c.bank.account);
  return {c.key, JoinAttributes(a)};
}

}  // namespace

std::vector<DemoRecord> DemoCentres() {
  std::vector<DemoRecord> out;
  for (const CentreSample& c : Samples()) out.push_back(Build(c));
  return out;
}

DemoRecord DemoCounter() {
  // Attribute 12: the last centre key handed out; 45: "2" asks the control
  // to start the post-save routine.
  std::vector<std::string> a(45);
  a[11] = Samples().back().key;
  a[44] = "2";
  return {kCounterKey, JoinAttributes(a)};
}

}  // namespace demo
