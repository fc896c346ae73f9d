// AideHtml: the help viewer, which shows a named HTML help page in a help
// window. Outside components, help viewer (no Qt).
//
//   components::AideHtml aide(&fenetre);          // window not owned
//   aide.SetDossierAide("/opt/paie/morvanel");    // where the pages are
//   aide.Client_Aide(client);
//   aide.Base_Aide(db);
//   std::string page = "CentreUrssaf.htm", code = "P",
//               titre = "Les Centres URSSAF", ancre;
//   aide.Afficher_Aide(page, code, titre, ancre);
//
// Afficher_Aide's arguments: the page's file name in the help folder (a
// plain name, no folder part); the code "P" (show a page, the one kind of
// request known; any case); the window's title; and an optional anchor of
// the page to open at ("" for the top). It returns "" when the page is
// shown, else a French error text; a page that cannot be found shows a
// "page introuvable" text in the window instead.
#pragma once

#include <memory>
#include <string>
#include <utility>

namespace dba {
class Database;
}

namespace components {

class Client;
class HelpWindow;

class AideHtml {
 public:
  AideHtml() = default;
  explicit AideHtml(HelpWindow* fenetre) : fenetre_(fenetre) {}
  AideHtml(const AideHtml&) = delete;
  AideHtml& operator=(const AideHtml&) = delete;

  // The window pages are shown in; not owned, must outlive its use here.
  // nullptr: no window (Afficher_Aide then returns an error text).
  void SetHelpWindow(HelpWindow* fenetre) { fenetre_ = fenetre; }
  [[nodiscard]] HelpWindow* Fenetre() const { return fenetre_; }
  // The folder that holds the help pages ("" : the current folder).
  void SetDossierAide(std::string dossier) { dossier_ = std::move(dossier); }
  [[nodiscard]] const std::string& DossierAide() const { return dossier_; }

  // The host's client and database; kept for pages that depend on them
  // (the current pages do not).
  void Client_Aide(std::shared_ptr<Client> client) { client_ = std::move(client); }
  void Base_Aide(std::shared_ptr<dba::Database> base) { base_ = std::move(base); }
  [[nodiscard]] const std::shared_ptr<Client>& ClientAide() const { return client_; }

  std::string Afficher_Aide(std::string& page, std::string& code, std::string& titre,
                            std::string& quatrieme);

  // Closes the help window if one is open.
  void Fermer_Aide();

 private:
  HelpWindow* fenetre_ = nullptr;
  std::string dossier_;
  std::shared_ptr<Client> client_;
  std::shared_ptr<dba::Database> base_;
};

}  // namespace components
