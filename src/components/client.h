// Client: the host's client object, the payroll client (company) the host
// application works for and the user signed in. Outside components (no Qt).
// Plain data: the host fills it and hands it on; the help viewer and the
// bank-details control receive it and only read it.
#pragma once

#include <string>
#include <utility>

namespace components {

class Client {
 public:
  Client() = default;
  Client(std::string codeClient, std::string raison, std::string nomUtilisateur)
      : code(std::move(codeClient)),
        raisonSociale(std::move(raison)),
        utilisateur(std::move(nomUtilisateur)) {}

  std::string code;           // the client's code in the payroll application
  std::string raisonSociale;  // the company name
  std::string utilisateur;    // the user signed in (a key of the rights file)
};

}  // namespace components
