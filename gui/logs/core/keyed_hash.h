// Hashes for the reader's look-up tables that a log cannot be written against: keyed with a
// secret drawn once per process, so that no choice of device ids, module names or item indices
// can make them collide more than any others do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace keyed_hash {

size_t Of(std::string_view text);
size_t Of(uint64_t number);

}  // namespace keyed_hash
