#pragma once

#include <string>
#include <vector>

// File system. Paths may be given in Windows form ("C:\ProgramData\..."): a drive letter maps to
// a folder on this machine (see NativePath), backslashes become slashes. Any other path is used
// as it stands.
class ZerkaFilesystem {
 public:
  virtual ~ZerkaFilesystem() = default;

  // Letter of the system drive ('C' unless $ZERKA_SYSTEM_DRIVE_LETTER says otherwise).
  virtual char SystemDriveLetter() = 0;
  // Folder of the running program, without a trailing separator.
  virtual std::string ApplicationDirectory() = 0;
  // Appends to names the full path of every regular file matching the pattern's last element
  // (shell wildcards * and ?), in name order; the folder part keeps the pattern's own form.
  // Returns the number of names appended, -1 when the folder cannot be read.
  virtual int ListFiles(const std::string& pattern, std::vector<std::string>& names) = 0;
  // Creates the folder and its parents. 0 when the folder exists afterwards. mode is ignored.
  virtual int CreateDirectories(const std::string& dir, int mode = 0) = 0;
  // Nonzero when the path is a folder (opening it as a file would be refused).
  virtual int IsDirectory(const std::string& path) = 0;
  // Removes a file or a folder with everything in it; links inside are removed, never followed,
  // and other mounted file systems are left alone. 0 on success.
  virtual int DeletePath(const std::string& path) = 0;
  // The local form of a path: "X:\a\b" becomes "<root of X>/a/b". The system drive's root is
  // $ZERKA_SYSTEM_DRIVE (default "/var/lib/kolv/drive_c"); another letter X maps to a sibling
  // folder "drive_x" of that root. "." and ".." are resolved within the drive, never above its
  // root.
  virtual std::string NativePath(const std::string& path) = 0;
};

// The process-wide object, never freed.
ZerkaFilesystem* get_filesystem();
