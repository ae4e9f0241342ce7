// The engine may throw (out of memory, for one). On the worker nothing above the slot would
// catch it, and the program would end: a call that threw is a call that failed.
#pragma once

// True when the call returned.
template <typename Call>
bool EngineCallReturned(Call&& call) noexcept {
  try {
    call();
    return true;
  } catch (...) {
    return false;
  }
}
