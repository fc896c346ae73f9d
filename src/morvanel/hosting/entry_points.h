// The four in-process entry points of the control library and the class
// factory they hand out. Creation by name; implemented in the shared library
// (entry_points.cpp), used by hosts through hosting.h.
//
//   DllRegisterServer()        writes the library's classes into the
//                              per-user registry (registry.h)
//   DllUnregisterServer()      removes them
//   DllGetClassObject(c, i, p) *p = the class factory of class id `c`
//                              (interface id kIidClassFactory)
//   DllCanUnloadNow()          S_OK when no control and no lock remain
#pragma once

#include <cstdint>

#include "morvanel/interface/ictr_urssaf.h"

namespace forms {
class Services;
}

namespace morvanel {

using HRESULT = std::int32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111u);
inline constexpr HRESULT SELFREG_E_CLASS = static_cast<HRESULT>(0x80040201u);

inline constexpr const char* kClsidCtrUrssaf = "{6D0F2C4E-3B1A-4E8B-9A57-2C1E8F3D7B41}";
inline constexpr const char* kIidClassFactory = "IClassFactory";

// Lives as long as the library; never deleted by its users.
class IClassFactory {
 public:
  // A new control; the caller owns it and deletes it before the library
  // is unloaded. Throws what the control's creation throws.
  [[nodiscard]] virtual ICtrUrssaf* CreateInstance(forms::Services& services) = 0;
  // Keeps the library loaded without a control (lock) or stops doing so.
  virtual HRESULT LockServer(bool lock) = 0;

 protected:
  ~IClassFactory() = default;
};

// The entry points' types, for dlsym.
using DllRegisterServerFn = HRESULT (*)();
using DllUnregisterServerFn = HRESULT (*)();
using DllGetClassObjectFn = HRESULT (*)(const char* clsid, const char* iid, void** object);
using DllCanUnloadNowFn = HRESULT (*)();

}  // namespace morvanel

extern "C" {
morvanel::HRESULT DllRegisterServer();
morvanel::HRESULT DllUnregisterServer();
morvanel::HRESULT DllGetClassObject(const char* clsid, const char* iid, void** object);
morvanel::HRESULT DllCanUnloadNow();
}
