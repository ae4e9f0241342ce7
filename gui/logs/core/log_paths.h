// Local paths of the diagnostics logs. They are built in the Windows form the engine uses, on the
// system drive, and mapped to this machine through the platform library.
#pragma once

#include <string>

// The log folder, with a trailing separator.
std::string LogFolderPath();
// A log file of that name (without ".log") in the log folder.
std::string LogFilePath(const std::string& name);
// The folder where earlier installations kept their logs, with a trailing separator.
std::string LegacyLogFolderPath();
// A log file of that name (without ".log") in the legacy folder.
std::string LegacyLogFilePath(const std::string& name);
// Name of the error log that accompanies the main log ("morva_errors").
std::string ErrorLogName();
