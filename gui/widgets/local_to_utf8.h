#pragma once

#include <string>

// Re-encodes a string of the local 8-bit code page as UTF-8. The local code page here is UTF-8,
// so valid sequences pass through unchanged; a byte that does not start or continue a valid
// sequence is taken as Latin-1, so the result is always valid UTF-8.
std::string LocalToUtf8(const std::string& local);
