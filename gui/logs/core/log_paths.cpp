#include "gui/logs/core/log_paths.h"

#include "gui/logs/core/log_format.h"
#include "zerka/zerka.h"

namespace {

std::string OnSystemDrive(const char* folder, const std::string& name) {
  ZerkaFilesystem* filesystem = get_filesystem();
  return filesystem->NativePath(std::string(1, filesystem->SystemDriveLetter()) + folder + name);
}

std::string WithSeparator(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

}  // namespace

std::string LogFolderPath() { return WithSeparator(OnSystemDrive(log_format::kLogFolder, "")); }

std::string LogFilePath(const std::string& name) {
  return OnSystemDrive(log_format::kLogFolder, name + log_format::kLogExtension);
}

std::string LegacyLogFolderPath() {
  return WithSeparator(OnSystemDrive(log_format::kLegacyLogFolder, ""));
}

std::string LegacyLogFilePath(const std::string& name) {
  return OnSystemDrive(log_format::kLegacyLogFolder, name + log_format::kLogExtension);
}

std::string ErrorLogName() {
  return std::string(log_format::kLogBaseName) + log_format::kErrorLogSuffix;
}
