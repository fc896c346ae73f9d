// Every throw goes through __cxa_throw; this executable's definition comes
// first in the symbol search, notes the type and hands on to the C++
// runtime's. Random clerk sessions (src/tools/monkey, no Qt).
#include "throw_watch.h"

#include <cxxabi.h>
#include <dlfcn.h>

#include <cstdlib>
#include <typeinfo>

namespace monkey {
namespace {

std::vector<const std::type_info*>& Thrown() {
  static std::vector<const std::type_info*> thrown;
  return thrown;
}

std::string Demangled(const std::type_info& t) {
  int status = 0;
  char* name = abi::__cxa_demangle(t.name(), nullptr, nullptr, &status);
  std::string s = status == 0 && name ? name : t.name();
  std::free(name);
  return s;
}

}  // namespace

void NoteThrow(const std::type_info& t) { Thrown().push_back(&t); }

std::vector<std::string> TakeThrows() {
  std::vector<std::string> out;
  for (const std::type_info* t : Thrown()) {
    std::string name = Demangled(*t);
    // The runner stops a run, and the bank-details control refuses a text,
    // by throwing on purpose.
    if (name.rfind("scenario::", 0) == 0) continue;
    out.push_back(std::move(name));
  }
  Thrown().clear();
  return out;
}

}  // namespace monkey

extern "C" {

using ThrowFn = void (*)(void*, std::type_info*, void (*)(void*));

[[noreturn]] void __cxa_throw(void* object, std::type_info* type, void (*destroy)(void*)) {
  static const auto real = reinterpret_cast<ThrowFn>(dlsym(RTLD_NEXT, "__cxa_throw"));
  monkey::NoteThrow(*type);
  real(object, type, destroy);
  std::abort();  // the runtime's throw does not return
}
}
