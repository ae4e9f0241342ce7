// Background mode: the program starts a detached copy of itself with the marker option and
// returns at once; the copy runs without keyboard, its output in the -o file or nowhere.
#pragma once

#include <string>
#include <vector>

#include "cli/cli_application.h"

extern const char kBackgroundMarker[];  // "--vyx-instance"

// True when a word (argv[0] included) is exactly the marker option.
bool HasBackgroundMarker(int argc, char** argv);
// Starts the copy with the original arguments and the marker. 0 on success, 1 on failure (the
// reason is printed).
int LaunchBackground(CliApplication& app, const std::vector<std::string>& argument_copy);
// Takes the single-instance lock, waiting a bounded time for a parent that still holds it.
int AcquireInstanceLock(ZerkaAppMutex* mutex, bool wait_for_parent);
