#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/zerka/src/paths.h"
#include "zerka/zerka_module_loader.h"

// The ELF header of this very library: the kind of object this process can load.
extern "C" const ElfW(Ehdr) __ehdr_start __attribute__((visibility("hidden")));

namespace {

thread_local std::string last_error;

bool ReadAt(int fd, void* into, size_t size, uint64_t offset) {
  return pread(fd, into, size, static_cast<off_t>(offset)) == static_cast<ssize_t>(size);
}

bool InsideFile(uint64_t offset, uint64_t length, uint64_t file_size) {
  return offset <= file_size && length <= file_size - offset;
}

// dlopen maps what the headers name: a page past the end of a file cut short faults (SIGBUS).
bool IsWholeLibraryForThisMachine(int fd, uint64_t file_size) {
  ElfW(Ehdr) header;
  if (!ReadAt(fd, &header, sizeof header, 0)) return false;
  // Magic, class, byte order and version.
  if (std::memcmp(header.e_ident, __ehdr_start.e_ident, EI_VERSION + 1) != 0 ||
      header.e_machine != __ehdr_start.e_machine || header.e_type != ET_DYN ||
      header.e_phentsize != sizeof(ElfW(Phdr)) || header.e_phnum == 0 ||
      !InsideFile(header.e_phoff, uint64_t{header.e_phnum} * sizeof(ElfW(Phdr)), file_size))
    return false;
  std::vector<ElfW(Phdr)> segments(header.e_phnum);
  if (!ReadAt(fd, segments.data(), segments.size() * sizeof(ElfW(Phdr)), header.e_phoff))
    return false;
  // A segment with nothing from the file (all zeros) maps none of it.
  for (const ElfW(Phdr)& segment : segments)
    if (segment.p_type == PT_LOAD && segment.p_filesz != 0 &&
        !InsideFile(segment.p_offset, segment.p_filesz, file_size))
      return false;
  return true;
}

// Checked before dlopen, which waits for good on a FIFO and crashes on a file cut short. The
// open never waits; a link is followed as dlopen follows it, so the file it leads to is checked.
bool IsLoadableFile(const std::string& native, const std::string& path) {
  const int fd = open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    last_error = path + ": cannot open shared object file: " + std::strerror(errno);
    return false;
  }
  struct stat checked {}, named {};
  bool usable = fstat(fd, &checked) == 0 && S_ISREG(checked.st_mode) &&
                IsWholeLibraryForThisMachine(fd, static_cast<uint64_t>(checked.st_size));
  // dlopen opens the path again: it must still name the file checked.
  usable = usable && stat(native.c_str(), &named) == 0 && named.st_dev == checked.st_dev &&
           named.st_ino == checked.st_ino;
  close(fd);
  if (!usable) last_error = path + ": not a library for this machine";
  return usable;
}

class ModuleLoader : public ZerkaModuleLoader {
 public:
  void* Load(const std::string& path, int flags) override {
    if (path.empty()) {
      last_error = "no module path given";
      return nullptr;
    }
    std::string native = zerka::NativePath(path);
    // A bare name would send dlopen through the library search path, past the file checked.
    if (native.find('/') == std::string::npos) native = "./" + native;
    if (!IsLoadableFile(native, path)) return nullptr;
    void* handle = dlopen(native.c_str(), flags == 1 ? RTLD_NOW : RTLD_LAZY);
    if (!handle) Remember("cannot load " + path);
    return handle;
  }

  void* GetSymbol(void* handle, const std::string& name) override {
    // A null handle would make dlsym search every loaded object.
    if (!handle) {
      last_error = "no module handle for " + name;
      return nullptr;
    }
    dlerror();
    void* address = dlsym(handle, name.c_str());
    if (!address) Remember("no export " + name);
    return address;
  }

  int Unload(void* handle) override {
    if (!handle) return -1;
    return dlclose(handle) == 0 ? 0 : -1;
  }

  std::string LastError() override { return last_error; }

 private:
  static void Remember(const std::string& fallback) {
    const char* text = dlerror();
    last_error = text ? text : fallback;
  }
};

}  // namespace

ZerkaModuleLoader* get_module() {
  static ModuleLoader* instance = new ModuleLoader;
  return instance;
}
