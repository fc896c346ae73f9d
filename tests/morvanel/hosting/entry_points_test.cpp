// The control library as a host sees it: the user's and the machine's
// registries and the files they may trust, the four
// entry points of libmorvanel.so, and a control created from its class name.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "morvanel/hosting/entry_points.h"
#include "morvanel/hosting/hosting.h"
#include "morvanel/hosting/registry.h"
#include "forms/form.h"
#include "forms/headless/headless_services.h"

namespace morvanel {
namespace {

namespace fs = std::filesystem;

// A user's and a machine's registry of their own for each test.
class RegistreTemporaire : public ::testing::Test {
 protected:
  RegistreTemporaire() {
    std::string modele = (fs::temp_directory_path() / "morvanel-registry-XXXXXX").string();
    dossier_ = ::mkdtemp(modele.data());
    chemin_ = dossier_ + "/config/registry";
    systeme_ = dossier_ + "/etc/registry";
    ::setenv("MORVANEL_REGISTRY", chemin_.c_str(), 1);
    ::setenv("MORVANEL_SYSTEM_REGISTRY", systeme_.c_str(), 1);
  }
  ~RegistreTemporaire() override {
    ::unsetenv("MORVANEL_REGISTRY");
    ::unsetenv("MORVANEL_SYSTEM_REGISTRY");
    std::error_code ec;
    fs::remove_all(dossier_, ec);
  }
  std::string dossier_;
  std::string chemin_;
  std::string systeme_;
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

// The message of the refusal, "" when the file is accepted.
std::string Refus(const std::function<void()>& f) {
  try {
    f();
  } catch (const registry::RegistryError& e) {
    return e.what();
  }
  return {};
}

TEST_F(RegistryTest, MachineRegistryServesAfterTheUsersOwn) {
  const std::string lib = dossier_ + "/lib.so";
  std::ofstream(lib) << "x";
  EXPECT_FALSE(registry::Lookup("X.Y")) << "neither file exists";
  registry::Add({"X.Y", "{S}", lib}, systeme_);
  registry::Add({"Autre.Z", "{U}", lib}, chemin_);
  ASSERT_TRUE(registry::Lookup("X.Y"));
  EXPECT_EQ(registry::Lookup("X.Y")->clsid, "{S}");
  registry::Add({"X.Y", "{U}", lib}, chemin_);
  EXPECT_EQ(registry::Lookup("X.Y")->clsid, "{U}") << "the user's own entry wins";
}

// Whatever another user could rewrite is refused, naming the file, and
// accepted again once tightened; sticky folders (/tmp) are fine.
TEST_F(RegistryTest, FilesOthersCouldChangeAreRefusedNamingThem) {
  const std::string lib = dossier_ + "/lib.so";
  std::ofstream(lib) << "x";
  registry::Add({"X.Y", "{S}", lib}, systeme_);
  registry::Add({"X.Y", "{U}", lib}, chemin_);
  const std::string config = fs::path(chemin_).parent_path().string();
  struct Cas {
    std::string fichier, nomme;
    mode_t lache, serre;
  };
  // The machine's file last: the user's is removed so that it gets read.
  for (const Cas& c : {Cas{chemin_, chemin_, 0664, 0644}, Cas{chemin_, chemin_, 0606, 0600},
                       Cas{config, chemin_, 0777, 0755}, Cas{config, chemin_, 01777, 0755},
                       Cas{lib, lib, 0620, 0644}, Cas{systeme_, systeme_, 0666, 0644}}) {
    if (c.fichier == systeme_) fs::remove(chemin_);
    ::chmod(c.fichier.c_str(), c.lache);
    const std::string refus = Refus([] { (void)registry::Lookup("X.Y"); });
    if (c.lache & S_ISVTX) {
      EXPECT_EQ(refus, "") << "sticky folder";
    } else {
      EXPECT_NE(refus.find(c.nomme), std::string::npos) << c.fichier << ": " << refus;
      EXPECT_NE(refus.find("modifiable"), std::string::npos) << refus;
    }
    ::chmod(c.fichier.c_str(), c.serre);
    EXPECT_EQ(Refus([] { (void)registry::Lookup("X.Y"); }), "") << c.fichier;
  }
}

TEST_F(RegistryTest, FilesOfAnotherUserAreRefusedRootsAccepted) {
  const std::string lib = dossier_ + "/lib.so";
  std::ofstream(lib) << "x";
  struct stat st {};
  ASSERT_EQ(::stat(lib.c_str(), &st), 0);
  // As root the file is handed to another uid; otherwise another uid checks
  // this user's file. Either way its owner is someone else.
  uid_t lecteur = st.st_uid + 1;
  if (st.st_uid == 0) {
    ASSERT_EQ(::chown(lib.c_str(), 4242, 0), 0);
    lecteur = 0;
  }
  const std::string refus = Refus([&] { registry::CheckSafe(lib, lecteur); });
  EXPECT_NE(refus.find(lib), std::string::npos) << refus;
  EXPECT_NE(refus.find("appartient"), std::string::npos) << refus;
  EXPECT_EQ(Refus([&] { registry::CheckSafe("/usr/bin/env", lecteur); }), "") << "root's";
  EXPECT_NE(Refus([&] { registry::CheckSafe(dossier_ + "/absent", lecteur); }), "");
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

TEST_F(LibraryTest, MachineRegistryAloneCreatesTheControlButNotFromALooseLibrary) {
  ASSERT_NE(handle_, nullptr);
  registry::Add({kProgIdCtrUrssaf, kClsidCtrUrssaf, MORVANEL_LIBRARY_PATH}, systeme_);
  EXPECT_EQ(hosting::CreateControl(kProgIdCtrUrssaf, services_)->Controls().Name(), "Ctr_Urssaf");
  // Refused before it is loaded: the copy never runs.
  const std::string copie = dossier_ + "/libmorvanel.so";
  fs::copy_file(MORVANEL_LIBRARY_PATH, copie);
  ::chmod(copie.c_str(), 0777);
  registry::Add({kProgIdCtrUrssaf, kClsidCtrUrssaf, copie}, systeme_);
  try {
    (void)hosting::CreateControl(kProgIdCtrUrssaf, services_);
    ADD_FAILURE() << "a library anyone may rewrite was loaded";
  } catch (const hosting::HostingError& e) {
    EXPECT_NE(std::string(e.what()).find(copie), std::string::npos) << e.what();
  }
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
