// Makes the stand-in engine throw, as it does when memory runs out, from the call whose trace
// line begins with a chosen text. Include it in one source of a test program only: it defines
// the engine's trace function for that program and forwards to the engine's own otherwise.
#pragma once

#include <dlfcn.h>

#include <atomic>
#include <new>
#include <string>

namespace gui_test {
// The start of the trace line at which the engine throws; null: never.
inline std::atomic<const char*> engine_throws_at{nullptr};
}  // namespace gui_test

namespace morva_service::detail {
void Trace(const std::string& text);
}

void morva_service::detail::Trace(const std::string& text) {
  const char* at = gui_test::engine_throws_at.load();
  if (at != nullptr && text.rfind(at, 0) == 0) throw std::bad_alloc();
  using Own = void (*)(const std::string&);
  static const auto own = reinterpret_cast<Own>(dlsym(
      RTLD_NEXT,
      "_ZN13morva_service6detail5TraceERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE"));
  if (own != nullptr) own(text);
}
