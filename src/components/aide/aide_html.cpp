// AideHtml: finds a help page in the help folder and shows it, or says it
// cannot be found. Outside components, help viewer (no Qt).
#include "components/aide/aide_html.h"

#include <filesystem>
#include <system_error>

#include "components/aide/help_window.h"

namespace components {

namespace {

// A page is named by a plain file name: nothing may lead out of the help
// folder.
bool NomDePageValide(const std::string& page) {
  if (page.empty() || page == "." || page == "..") return false;
  return page.find_first_of("/\\") == std::string::npos;
}

bool CodePage(const std::string& code) { return code == "P" || code == "p"; }

}  // namespace

std::string AideHtml::Afficher_Aide(std::string& page, std::string& code, std::string& titre,
                                    std::string& quatrieme) {
  if (fenetre_ == nullptr) return "Aucune fenêtre d'aide n'est disponible.";
  if (!CodePage(code)) return "Code d'aide inconnu : " + code + ".";

  std::error_code erreur;
  std::filesystem::path chemin;
  bool trouvee = false;
  if (NomDePageValide(page)) {
    chemin = std::filesystem::absolute(std::filesystem::path(dossier_) / page, erreur);
    trouvee = !erreur && std::filesystem::is_regular_file(chemin, erreur);
  }
  if (!trouvee) {
    fenetre_->ShowMessage("Page introuvable : la page d'aide « " + page +
                              " » n'a pas été trouvée. Prévenez la personne qui a installé "
                              "le logiciel.",
                          titre);
    return "Page d'aide introuvable : " +
           (chemin.empty() ? page : chemin.lexically_normal().string());
  }
  std::string adresse = chemin.lexically_normal().string();
  if (!quatrieme.empty()) adresse += "#" + quatrieme;
  fenetre_->ShowPage(adresse, titre);
  return {};
}

void AideHtml::Fermer_Aide() {
  if (fenetre_ != nullptr) fenetre_->Close();
}

}  // namespace components
