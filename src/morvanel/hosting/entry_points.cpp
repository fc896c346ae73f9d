// The in-process entry points of the control library libmorvanel.so and its
// class factory. Creation by name; built into the shared library only.
#include "morvanel/hosting/entry_points.h"

#include <atomic>
#include <cstring>
#include <exception>

#include "morvanel/state/binary_path.h"
#include "morvanel/shell/ctr_urssaf.h"
#include "morvanel/state/library_state.h"
#include "morvanel/hosting/registry.h"

namespace morvanel {
namespace {

std::atomic<int> verrous{0};

class CtrUrssafFactory final : public IClassFactory {
 public:
  ICtrUrssaf* CreateInstance(forms::Services& services) override {
    return new shell::Ctr_Urssaf(services);
  }
  HRESULT LockServer(bool lock) override {
    if (lock) {
      ++verrous;
    } else if (verrous.load() > 0) {
      --verrous;
    }
    return S_OK;
  }
};

CtrUrssafFactory& Factory() {
  static CtrUrssafFactory fabrique;
  return fabrique;
}

}  // namespace
}  // namespace morvanel

using namespace morvanel;

extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer() {
  try {
    const std::string bibliotheque = state::BinaryPath();
    if (bibliotheque.empty()) return SELFREG_E_CLASS;
    registry::Add({kProgIdCtrUrssaf, kClsidCtrUrssaf, bibliotheque});
    return S_OK;
  } catch (const std::exception&) {
    return SELFREG_E_CLASS;
  }
}

extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
  try {
    registry::Remove(kProgIdCtrUrssaf);
    return S_OK;
  } catch (const std::exception&) {
    return SELFREG_E_CLASS;
  }
}

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(const char* clsid,
                                                                            const char* iid,
                                                                            void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (clsid == nullptr || std::strcmp(clsid, kClsidCtrUrssaf) != 0)
    return CLASS_E_CLASSNOTAVAILABLE;
  if (iid == nullptr || std::strcmp(iid, kIidClassFactory) != 0) return E_NOINTERFACE;
  *object = static_cast<IClassFactory*>(&Factory());
  return S_OK;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
  return state::LibraryState::Instance().Instances() == 0 && verrous.load() == 0 ? S_OK : S_FALSE;
}
