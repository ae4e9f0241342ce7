#include "gui/logs/saved_file_set.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>

namespace {

bool WriteAll(int fd, const char* data, qsizetype size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size_t(size));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

QByteArray FolderOf(const QByteArray& path) {
  const qsizetype slash = path.lastIndexOf('/');
  if (slash < 0) return QByteArrayLiteral(".");
  return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// Temporaries are named "<file>.kolv-<process>-<8 hex digits>", a name of their own, so that
// those a killed save left can be told from the user's files.
const char kTemporaryMark[] = ".kolv-";

// Removes from folder the temporaries that saves of earlier runs left there. Those of this
// process belong to saves still going on: a save never leaves its own behind. The folder may
// hold many files: their names are only compared, never sorted or looked into.
void RemoveLeftTemporaries(const QByteArray& folder) {
  static const QRegularExpression kLeft(QStringLiteral("\\.kolv-([0-9]+)-[0-9a-f]{8}$"));
  DIR* dir = ::opendir(folder.constData());
  if (dir == nullptr) return;
  const QString own = QString::number(::getpid());
  while (const dirent* entry = ::readdir(dir)) {
    if (entry->d_type == DT_DIR || entry->d_type == DT_LNK) continue;
    if (std::strstr(entry->d_name, kTemporaryMark) == nullptr) continue;
    const QRegularExpressionMatch left = kLeft.match(QFile::decodeName(entry->d_name));
    if (left.hasMatch() && left.captured(1) != own) {
      ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
  }
  ::closedir(dir);
}

// A fresh file beside target, with target's permissions when it exists; -1 on failure.
int CreateBeside(const QByteArray& target, const struct stat* existing, QByteArray& name) {
  for (int attempt = 0; attempt < 64; ++attempt) {
    name = target + kTemporaryMark + QByteArray::number(::getpid()) + '-' +
           QByteArray::number(QRandomGenerator::global()->generate(), 16).rightJustified(8, '0');
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      if (existing) ::fchmod(fd, existing->st_mode & 07777);
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

int OpenFolder(const QByteArray& folder) {
  return ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

}  // namespace

SavedFileSet::~SavedFileSet() { Discard(); }

bool SavedFileSet::Add(const QString& path, const QByteArray& bytes) {
  if (failed_) return false;
  const QFileInfo info(path);
  const QByteArray target = QFile::encodeName(info.isSymLink() ? info.symLinkTarget() : path);
  const QByteArray folder = FolderOf(target);
  if (!swept_.contains(folder)) {
    swept_.insert(folder);
    RemoveLeftTemporaries(folder);
  }
  struct stat existing {};
  const bool exists = ::stat(target.constData(), &existing) == 0;
  failed_ = exists && !S_ISREG(existing.st_mode);
  QByteArray temporary;
  const int fd = failed_ ? -1 : CreateBeside(target, exists ? &existing : nullptr, temporary);
  if (fd < 0) {
    failed_ = true;
    return false;
  }
  const bool written = WriteAll(fd, bytes.constData(), bytes.size());
  // Some file systems tell of a failed write only when the file is closed.
  if (::close(fd) != 0 || !written) {
    ::unlink(temporary.constData());
    failed_ = true;
    return false;
  }
  written_.push_back({temporary, target});
  added_.insert(path);
  return true;
}

bool SavedFileSet::Commit() {
  bool ok = !failed_ && SyncWritten();
  for (Written& file : written_) {
    if (!ok) break;
    ok = ::rename(file.temporary.constData(), file.target.constData()) == 0;
    if (ok) file.temporary.clear();
  }
  ok = ok && SyncFolders();
  Discard();
  failed_ = !ok;
  return ok;
}

// One flush of each file system the files are on costs one wait for the disk, where a flush per
// file costs one per file.
bool SavedFileSet::SyncWritten() const {
  QSet<dev_t> synced;
  QSet<QByteArray> seen;
  for (const Written& file : written_) {
    const QByteArray folder = FolderOf(file.target);
    if (seen.contains(folder)) continue;
    seen.insert(folder);
    const int fd = OpenFolder(folder);
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0) {
      if (fd >= 0) ::close(fd);
      return false;
    }
    bool ok = true;
    if (!synced.contains(status.st_dev)) {
      ok = ::syncfs(fd) == 0;
      synced.insert(status.st_dev);
    }
    ::close(fd);
    if (!ok) return false;
  }
  return true;
}

// The new names, and those of folders made for them, live in their folders and the folders'
// parents.
bool SavedFileSet::SyncFolders() const {
  QSet<QByteArray> folders;
  for (const Written& file : written_) {
    const QByteArray folder = FolderOf(file.target);
    folders.insert(folder);
    folders.insert(FolderOf(folder));
  }
  for (const QByteArray& folder : folders) {
    const int fd = OpenFolder(folder);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    if (!ok) return false;
  }
  return true;
}

void SavedFileSet::Discard() {
  for (const Written& file : written_) {
    if (!file.temporary.isEmpty()) ::unlink(file.temporary.constData());
  }
  written_.clear();
}
