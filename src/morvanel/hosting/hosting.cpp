// Host side: the registry lookup, the loading of the control library and the
// control that keeps it loaded. Creation by name, host side (morvanel_hosting).
#include "morvanel/hosting/hosting.h"

#include <dlfcn.h>

#include <map>
#include <mutex>

#include "morvanel/hosting/entry_points.h"
#include "morvanel/hosting/registry.h"

namespace morvanel::hosting {
namespace {

// One loaded library file. Unloaded when the last control made from it is
// gone and the library agrees.
class LoadedLibrary {
 public:
  explicit LoadedLibrary(const std::string& chemin) : chemin_(chemin) {
    handle_ = dlopen(chemin.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
      const char* err = dlerror();
      throw HostingError("bibliothèque impossible à charger : " + chemin + " (" +
                         (err != nullptr ? err : "?") + ")");
    }
  }
  ~LoadedLibrary() {
    const auto peutDecharger = Function<DllCanUnloadNowFn>("DllCanUnloadNow", false);
    if (peutDecharger == nullptr || peutDecharger() == S_OK) dlclose(handle_);
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  template <class F>
  F Function(const char* nom, bool requise = true) const {
    void* f = dlsym(handle_, nom);
    if (f == nullptr && requise) {
      throw HostingError(std::string("point d'entrée absent : ") + nom + " dans " + chemin_);
    }
    return reinterpret_cast<F>(f);
  }

 private:
  std::string chemin_;
  void* handle_ = nullptr;
};

std::shared_ptr<LoadedLibrary> Load(const std::string& chemin) {
  static std::mutex garde;
  static std::map<std::string, std::weak_ptr<LoadedLibrary>> chargees;
  std::lock_guard<std::mutex> verrou(garde);
  if (std::shared_ptr<LoadedLibrary> b = chargees[chemin].lock()) return b;
  auto b = std::make_shared<LoadedLibrary>(chemin);
  chargees[chemin] = b;
  return b;
}

// The control made by the library, with the library held until it is gone
// (the control is destroyed first: members go in reverse order).
class HostedControl final : public ICtrUrssaf {
 public:
  HostedControl(std::shared_ptr<LoadedLibrary> b, std::unique_ptr<ICtrUrssaf> c)
      : bib_(std::move(b)), c_(std::move(c)) {}

  int W_Sortir() const override { return c_->W_Sortir(); }
  void W_Sortir(int v) override { c_->W_Sortir(v); }
  void DroitsUtilisateur(std::shared_ptr<components::DroitsUtilisateur> d) override {
    c_->DroitsUtilisateur(std::move(d));
  }
  void Verif_EltsPartEmp() override { c_->Verif_EltsPartEmp(); }
  void Afficher() override { c_->Afficher(); }
  void Afficher_Donnees() override { c_->Afficher_Donnees(); }
  forms::Form& Controls() override { return c_->Controls(); }
  void Ecrire_Donnees() override { c_->Ecrire_Donnees(); }
  void Griser() override { c_->Griser(); }
  void Init() override { c_->Init(); }
  void Remplir_CentreUrssaf() override { c_->Remplir_CentreUrssaf(); }
  void TheClient(std::shared_ptr<components::Client> cl) override { c_->TheClient(std::move(cl)); }
  void TheDatabase(std::shared_ptr<dba::Database> db) override { c_->TheDatabase(std::move(db)); }
  void Verif_Donnees() override { c_->Verif_Donnees(); }
  void Vider_Donnees() override { c_->Vider_Donnees(); }
  void RapportFalse() override { c_->RapportFalse(); }
  void Remplir_Valeur() override { c_->Remplir_Valeur(); }
  void Remplir_ValeurTemp() override { c_->Remplir_ValeurTemp(); }
  void Trier_Par_Date() override { c_->Trier_Par_Date(); }
  void Trier_Par_DateTemp() override { c_->Trier_Par_DateTemp(); }
  void Griser_Valeur() override { c_->Griser_Valeur(); }
  void Degriser_Valeur() override { c_->Degriser_Valeur(); }
  void Afficher_Ajouter() override { c_->Afficher_Ajouter(); }
  void Masquer_Valeur() override { c_->Masquer_Valeur(); }
  void Chevauchement() override { c_->Chevauchement(); }

 private:
  std::shared_ptr<LoadedLibrary> bib_;
  std::unique_ptr<ICtrUrssaf> c_;
};

void CallRegistration(const std::string& chemin, const char* point) {
  LoadedLibrary b(chemin);
  const HRESULT hr = b.Function<DllRegisterServerFn>(point)();
  if (hr != S_OK) throw HostingError(std::string(point) + " a échoué pour " + chemin);
}

}  // namespace

std::unique_ptr<ICtrUrssaf> CreateControl(std::string_view progId, forms::Services& services) {
  std::optional<registry::Entry> entree;
  try {
    entree = registry::Lookup(progId);
  } catch (const registry::RegistryError& e) {
    throw HostingError(e.what());
  }
  if (!entree) {
    throw HostingError("classe non enregistrée : " + std::string(progId) + " (registres " +
                       registry::RegistryPath() + ", " + registry::SystemRegistryPath() + ")");
  }
  std::shared_ptr<LoadedLibrary> bib = Load(entree->library);
  void* objet = nullptr;
  const HRESULT hr = bib->Function<DllGetClassObjectFn>("DllGetClassObject")(
      entree->clsid.c_str(), kIidClassFactory, &objet);
  if (hr != S_OK || objet == nullptr) {
    throw HostingError("la bibliothèque " + entree->library + " ne fournit pas " +
                       std::string(progId));
  }
  std::unique_ptr<ICtrUrssaf> controle(
      static_cast<IClassFactory*>(objet)->CreateInstance(services));
  return std::make_unique<HostedControl>(std::move(bib), std::move(controle));
}

void RegisterLibrary(const std::string& libraryPath) {
  CallRegistration(libraryPath, "DllRegisterServer");
}

void UnregisterLibrary(const std::string& libraryPath) {
  CallRegistration(libraryPath, "DllUnregisterServer");
}

}  // namespace morvanel::hosting
