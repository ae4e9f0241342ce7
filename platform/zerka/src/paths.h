// Mapping of drive-letter paths onto folders of this machine, shared by the file operations.
#pragma once

#include <string>
#include <vector>

namespace zerka {

char SystemDriveLetter();
// Folder standing for the given drive.
std::string DriveRoot(char letter);
// "X:" alone or followed by a separator.
bool IsDrivePath(const std::string& path);
std::string NativePath(const std::string& path);

}  // namespace zerka
