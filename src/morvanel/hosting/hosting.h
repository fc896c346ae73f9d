// Creating a Ctr_Urssaf from its class name, the way a host does it: the
// per-user registry gives the library file, which is loaded and asked for
// its class factory. Host side of creation by name (link morvanel_hosting).
//
//   morvanel::hosting::RegisterLibrary("/opt/morvanel/libmorvanel.so");   // once, at install
//   auto ctl = morvanel::hosting::CreateControl("Morvanel.Ctr_Urssaf", services);
//   ctl->TheDatabase(db); ... ctl->Init();
//
// The library stays loaded while a control created from it lives; it is
// unloaded after the last one, when it says it can be (DllCanUnloadNow).
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "morvanel/interface/ictr_urssaf.h"

namespace forms {
class Services;
}

namespace morvanel::hosting {

// The class is not registered, its library cannot be loaded, or the library
// refuses it. what() says which, with the loader's message.
class HostingError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A new control of class `progId` ("Morvanel.Ctr_Urssaf"). `services` (not
// owned) must outlive it.
[[nodiscard]] std::unique_ptr<ICtrUrssaf> CreateControl(std::string_view progId,
                                                        forms::Services& services);

// Loads the library file and runs its DllRegisterServer (or
// DllUnregisterServer), as an installer does.
void RegisterLibrary(const std::string& libraryPath);
void UnregisterLibrary(const std::string& libraryPath);

}  // namespace morvanel::hosting
