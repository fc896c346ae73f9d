// The control library as a host sees it: the per-user registry, the four
// entry points of libmorvanel.so, and a control created from its class name.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "morvanel/hosting/entry_points.h"
#include "morvanel/hosting/hosting.h"
#include "morvanel/hosting/registry.h"
#include "forms/form.h"
#include "forms/headless/headless_services.h"

namespace morvanel {
namespace {

namespace fs = std::filesystem;

// A registry file of its own for each test, named by MORVANEL_REGISTRY.
class RegistreTemporaire : public ::testing::Test {
 protected:
  RegistreTemporaire() {
    std::string modele = (fs::temp_directory_path() / "morvanel-registry-XXXXXX").string();
    dossier_ = ::mkdtemp(modele.data());
    chemin_ = dossier_ + "/config/registry";
    ::setenv("MORVANEL_REGISTRY", chemin_.c_str(), 1);
  }
  ~RegistreTemporaire() override {
    ::unsetenv("MORVANEL_REGISTRY");
    std::error_code ec;
    fs::remove_all(dossier_, ec);
  }
  std::string dossier_;
  std::string chemin_;
};

using RegistryTest = RegistreTemporaire;

TEST_F(RegistryTest, EntriesAreAddedReplacedFoundAndRemoved) {
  EXPECT_EQ(registry::RegistryPath(), chemin_);
  EXPECT_TRUE(registry::Read(chemin_).empty()) << "no file yet";
  registry::Add({"Morvanel.Ctr_Urssaf", "{A}", "/opt/a/libmorvanel.so"});
  registry::Add({"Autre.Controle", "{B}", "/opt/b/libautre.so"});
  registry::Add({"Morvanel.Ctr_Urssaf", "{A}", "/opt/c/libmorvanel.so"});
  ASSERT_EQ(registry::Read(chemin_).size(), 2u);
  EXPECT_EQ(registry::Find("Morvanel.Ctr_Urssaf")->library, "/opt/c/libmorvanel.so");
  EXPECT_TRUE(registry::Remove("Morvanel.Ctr_Urssaf"));
  EXPECT_FALSE(registry::Remove("Morvanel.Ctr_Urssaf"));
  EXPECT_FALSE(registry::Find("Morvanel.Ctr_Urssaf"));
  EXPECT_EQ(registry::Find("Autre.Controle")->clsid, "{B}");
}

TEST_F(RegistryTest, ForeignLinesAreSkippedAndBadEntriesRefused) {
  fs::create_directories(fs::path(chemin_).parent_path());
  std::ofstream(chemin_) << "# comment\nnot an entry\nX.Y\t{C}\t/lib/x.so\n";
  ASSERT_EQ(registry::Read(chemin_).size(), 1u);
  EXPECT_EQ(registry::Find("X.Y")->library, "/lib/x.so");
  EXPECT_THROW(registry::Add({"Tab\tName", "{D}", "/lib/d.so"}), registry::RegistryError);
  EXPECT_THROW(registry::Add({"Vide", "{D}", ""}), registry::RegistryError);
  EXPECT_EQ(registry::Read(chemin_).size(), 1u);
}

// The library built beside this test, loaded once more by the test itself
// so that its entry points can be asked directly. Kept mapped to the end of
// the process, so that the leak checker can still read what the library
// allocated for its own life.
class LibraryTest : public RegistreTemporaire {
 protected:
  LibraryTest() {
    handle_ = dlopen(MORVANEL_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    EXPECT_NE(handle_, nullptr) << dlerror();
  }
  ~LibraryTest() override {
    if (handle_ != nullptr) dlclose(handle_);
  }
  template <class F>
  F Point(const char* nom) {
    return reinterpret_cast<F>(dlsym(handle_, nom));
  }
  HRESULT PeutDecharger() { return Point<DllCanUnloadNowFn>("DllCanUnloadNow")(); }

  void* handle_ = nullptr;
  forms::headless::HeadlessServices services_;
};

TEST_F(LibraryTest, RegisteredLibraryCreatesTheControlByItsClassName) {
  ASSERT_NE(handle_, nullptr);
  hosting::RegisterLibrary(MORVANEL_LIBRARY_PATH);
  const auto entree = registry::Find(kProgIdCtrUrssaf);
  ASSERT_TRUE(entree);
  EXPECT_EQ(entree->library, fs::canonical(MORVANEL_LIBRARY_PATH).string());
  EXPECT_EQ(entree->clsid, kClsidCtrUrssaf);

  EXPECT_EQ(PeutDecharger(), S_OK);
  auto ctl = hosting::CreateControl("Morvanel.Ctr_Urssaf", services_);
  EXPECT_EQ(PeutDecharger(), S_FALSE) << "a control is alive";
  EXPECT_EQ(ctl->Controls().Name(), "Ctr_Urssaf");
  EXPECT_EQ(ctl->Controls().Count(), 43);
  EXPECT_EQ(ctl->Controls().helpFile,
            fs::canonical(MORVANEL_LIBRARY_PATH).parent_path().string() + "/Morvanel.HLP");
  EXPECT_TRUE(fs::exists(ctl->Controls().helpFile));
  ctl->W_Sortir(1);
  EXPECT_EQ(ctl->W_Sortir(), 1);
  EXPECT_THROW(ctl->Init(), HostSetupError) << "no database was given";

  auto autre = hosting::CreateControl("Morvanel.Ctr_Urssaf", services_);
  ctl.reset();
  EXPECT_EQ(PeutDecharger(), S_FALSE);
  EXPECT_EQ(autre->W_Sortir(), 0);
  autre.reset();
  EXPECT_EQ(PeutDecharger(), S_OK);
  ASSERT_EQ(services_.helpClosed().size(), 1u) << "the help closes with the last control";
}

TEST_F(LibraryTest, ClassFactoryAnswersOnlyItsClassAndHoldsLocks) {
  ASSERT_NE(handle_, nullptr);
  auto obtenir = Point<DllGetClassObjectFn>("DllGetClassObject");
  void* objet = reinterpret_cast<void*>(1);
  EXPECT_EQ(obtenir("{00000000-0000-0000-0000-000000000000}", kIidClassFactory, &objet),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(objet, nullptr);
  EXPECT_EQ(obtenir(kClsidCtrUrssaf, "IUnknownThing", &objet), E_NOINTERFACE);
  EXPECT_EQ(obtenir(kClsidCtrUrssaf, kIidClassFactory, nullptr), E_POINTER);
  ASSERT_EQ(obtenir(kClsidCtrUrssaf, kIidClassFactory, &objet), S_OK);
  auto* fabrique = static_cast<IClassFactory*>(objet);
  fabrique->LockServer(true);
  EXPECT_EQ(PeutDecharger(), S_FALSE);
  fabrique->LockServer(false);
  EXPECT_EQ(PeutDecharger(), S_OK);
}

TEST_F(LibraryTest, UnregisteredClassIsAClearHostingError) {
  EXPECT_THROW((void)hosting::CreateControl("Morvanel.Ctr_Urssaf", services_),
               hosting::HostingError);
  hosting::RegisterLibrary(MORVANEL_LIBRARY_PATH);
  hosting::UnregisterLibrary(MORVANEL_LIBRARY_PATH);
  EXPECT_FALSE(registry::Find(kProgIdCtrUrssaf));
  EXPECT_THROW((void)hosting::CreateControl("Morvanel.Ctr_Urssaf", services_),
               hosting::HostingError);
  EXPECT_THROW(hosting::RegisterLibrary(dossier_ + "/absente.so"), hosting::HostingError);
}

}  // namespace
}  // namespace morvanel
