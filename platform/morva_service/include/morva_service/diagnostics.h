// Diagnostics of the engine itself, beyond the interface the front ends use.
#pragma once

#include <string>

// Why the last GetMorvaServiceInstance returned null (the catalogue file, the entry and what is
// wrong with it); empty after a successful load. The same text goes once to standard error.
std::string MorvaLastError();

// Frees the instance whatever its use count, so that the next GetMorvaServiceInstance reads
// $MORVA_CATALOGUE and the other settings anew. Only for tests: every object handed out before
// becomes invalid.
void MorvaResetForTests();
