#include "platform/zerka/src/paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "zerka/zerka_filesystem.h"

namespace zerka {

namespace {
const char kDefaultSystemDrive[] = "/var/lib/kolv/drive_c";

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}
}  // namespace

char SystemDriveLetter() {
  const char* letter = std::getenv("ZERKA_SYSTEM_DRIVE_LETTER");
  if (letter && std::isalpha(static_cast<unsigned char>(letter[0])))
    return static_cast<char>(std::toupper(static_cast<unsigned char>(letter[0])));
  return 'C';
}

std::string DriveRoot(char letter) {
  const char* configured = std::getenv("ZERKA_SYSTEM_DRIVE");
  std::string root = WithoutTrailingSlashes(configured && *configured ? configured
                                                                      : kDefaultSystemDrive);
  char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  if (upper == SystemDriveLetter()) return root;
  // Other drives sit beside the system drive's folder.
  std::string::size_type slash = root.rfind('/');
  std::string parent = slash == std::string::npos ? std::string(".")
                       : slash == 0               ? std::string("/")
                                                  : root.substr(0, slash);
  std::string name = std::string("drive_") +
                     static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  return parent == "/" ? "/" + name : parent + "/" + name;
}

bool IsDrivePath(const std::string& path) {
  return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
         (path.size() == 2 || IsSeparator(path[2]));
}

std::string NativePath(const std::string& path) {
  if (!IsDrivePath(path)) return path;
  // A drive path is resolved by name, the way the system it comes from does: "." and ".." never
  // lead above the drive's root.
  std::vector<std::string> parts;
  std::string part;
  for (std::string::size_type i = 2; i <= path.size(); ++i) {
    if (i < path.size() && !IsSeparator(path[i])) {
      part += path[i];
      continue;
    }
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    part.clear();
  }
  bool trailing = IsSeparator(path.back());
  std::string result = DriveRoot(path[0]);
  for (const std::string& p : parts) result += (result == "/" ? "" : "/") + p;
  if (trailing && !parts.empty()) result += '/';
  return result;
}

}  // namespace zerka

namespace {

thread_local int delete_failures = 0;

int RemoveEntry(const char* path, const struct stat*, int type, struct FTW*) {
  int rc = (type == FTW_DP) ? rmdir(path) : unlink(path);
  if (rc != 0) ++delete_failures;
  return 0;  // keep going: remove as much as possible
}

class Filesystem : public ZerkaFilesystem {
 public:
  char SystemDriveLetter() override { return zerka::SystemDriveLetter(); }

  std::string ApplicationDirectory() override {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return std::string();
    std::string exe(buffer, static_cast<size_t>(n));
    std::string::size_type slash = exe.rfind('/');
    if (slash == std::string::npos) return std::string();
    return slash == 0 ? std::string("/") : exe.substr(0, slash);
  }

  int ListFiles(const std::string& pattern, std::vector<std::string>& names) override {
    std::string::size_type cut = pattern.find_last_of("/\\");
    std::string folder = cut == std::string::npos ? std::string() : pattern.substr(0, cut);
    std::string element = cut == std::string::npos ? pattern : pattern.substr(cut + 1);
    // "X:name" without a separator lists the drive's root.
    if (cut == std::string::npos && zerka::IsDrivePath(pattern.substr(0, 2)) &&
        pattern.size() > 2) {
      folder = pattern.substr(0, 2);
      element = pattern.substr(2);
    }
    std::string native = folder.empty() ? std::string(".")
                         : (cut == 0)   ? std::string("/")
                                        : zerka::NativePath(folder);
    if (element.empty()) return 0;

    DIR* dir = opendir(native.c_str());
    if (!dir) return -1;
    std::vector<std::string> found;
    while (dirent* entry = readdir(dir)) {
      if (fnmatch(element.c_str(), entry->d_name, FNM_NOESCAPE) != 0) continue;
      struct stat info;
      if (fstatat(dirfd(dir), entry->d_name, &info, 0) != 0 || !S_ISREG(info.st_mode)) continue;
      found.emplace_back(entry->d_name);
    }
    closedir(dir);
    std::sort(found.begin(), found.end());

    std::string prefix;
    if (cut != std::string::npos)
      prefix = pattern.substr(0, cut + 1);
    else if (!folder.empty())
      prefix = folder + "\\";  // "X:name" would not name the drive's root
    for (const std::string& name : found) names.push_back(prefix + name);
    return static_cast<int>(found.size());
  }

  int CreateDirectories(const std::string& dir, int) override {
    std::string native = zerka::NativePath(dir);
    if (native.empty()) return EINVAL;
    for (std::string::size_type i = 1; i <= native.size(); ++i) {
      if (i < native.size() && native[i] != '/') continue;
      std::string step = native.substr(0, i);
      if (mkdir(step.c_str(), 0777) != 0 && errno != EEXIST) break;
    }
    struct stat info;
    if (stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return 0;
    return errno ? errno : ENOTDIR;
  }

  int IsDirectory(const std::string& path) override {
    struct stat info;
    return stat(zerka::NativePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? 1 : 0;
  }

  int DeletePath(const std::string& path) override {
    std::string native = zerka::NativePath(path);
    while (native.size() > 1 && native.back() == '/') native.pop_back();
    if (native.empty() || native == "/") return EINVAL;
    struct stat info;
    if (lstat(native.c_str(), &info) != 0) return errno;
    if (!S_ISDIR(info.st_mode)) return unlink(native.c_str()) == 0 ? 0 : errno;
    delete_failures = 0;
    // Physical walk, children first, staying on this file system: a link inside the tree is
    // removed, never followed.
    if (nftw(native.c_str(), RemoveEntry, 32, FTW_DEPTH | FTW_PHYS | FTW_MOUNT) != 0)
      return errno ? errno : EIO;
    return delete_failures == 0 ? 0 : EIO;
  }

  std::string NativePath(const std::string& path) override { return zerka::NativePath(path); }
};

}  // namespace

ZerkaFilesystem* get_filesystem() {
  static Filesystem* instance = new Filesystem;
  return instance;
}
