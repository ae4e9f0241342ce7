#include "cli/cli_stdio_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "kolv_os/os.h"
#include "zerka/zerka.h"

namespace {
bool IsSeparator(char c) { return c == '/' || c == '\\'; }
}  // namespace

CliStdioFile::CliStdioFile(std::string path) : MorvaStdio(nullptr, stderr) {
  path = NormalizePath(std::move(path));
  const size_t cut = path.find_last_of("/\\");
  if (cut == std::string::npos) {
    // A bare name means the current folder, as it does for any other program.
    directory_ = ".";
    file_name_ = path;
  } else {
    directory_ = path.substr(0, cut);
    file_name_ = path.substr(cut + 1);
    // "/name": the folder is the root itself.
    if (directory_.empty()) directory_ = "/";
  }
}

CliStdioFile::~CliStdioFile() { Finish(); }

int CliStdioFile::Finish() {
  if (out_) {
    const bool flushed = std::fflush(out_) == 0 && !std::ferror(out_);
    const int error = errno;
    const bool closed = std::fclose(out_) == 0;
    out_ = nullptr;
    if (!flushed) ReportLost(error);
    if (!closed) ReportLost(errno);
  }
  return lost_ ? kSinkStdoutFailed : kSinkDone;
}

// Whatever the cause, the file misses what was written.
void CliStdioFile::OutputFailed(int error) { ReportLost(error); }

std::string CliStdioFile::Destination() const { return FullPath(); }

std::string CliStdioFile::NormalizePath(std::string path) {
  std::string result;
  result.reserve(path.size());
  for (char c : path) {
    if (IsSeparator(c) && !result.empty() && IsSeparator(result.back())) continue;
    result += c;
  }
  return result;
}

std::string CliStdioFile::FullPath() const { return kolv_os::JoinPath(directory_, file_name_); }

int CliStdioFile::Start() {
  if (!keyboard_disabled_) MorvaStdio::Start();
  if (file_name_.empty()) return kSinkFileNotOpen;
  ZerkaFilesystem* fs = get_filesystem();
  if (!fs) return kSinkFileNotOpen;
  if (fs->IsDirectory(FullPath()) != 0) return kSinkFileNotOpen;
  if (fs->CreateDirectories(directory_) != 0) return kSinkFileNotOpen;
  return OpenFile();
}

int CliStdioFile::OpenFile() {
  if (out_) std::fclose(out_);
  out_ = kolv_os::OpenOutputFile(FullPath());
  if (!out_) return kSinkFileNotOpen;
  // Held while the file is written, so that a copy that could not take the single-instance lock
  // leaves it alone. Advisory only: a file that takes no lock is written all the same.
  (void)flock(fileno(out_), LOCK_EX | LOCK_NB);
  return kSinkDone;
}

bool CliStdioFile::WrittenElsewhere() const {
  struct stat status;
  if (stat(FullPath().c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
  const int fd = open(FullPath().c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  close(fd);
  return held;
}

int CliStdioFile::Write(const std::string& text) {
  if (!out_) {
    std::fputs((KeyToText("ERROR_OPENING_FILE", true, true, true) + "\n").c_str(), stdout);
    return kSinkFileNotOpen;
  }
  return MorvaStdio::Write(text);
}

int CliStdioFile::Flush() {
  if (!out_) return kSinkFileNotOpen;
  return MorvaStdio::Flush();
}

int CliStdioFile::EndTest(uint32_t status, double seconds) {
  const std::string text = "   " + KeyToText("TEST_STATUS:", true, true, true) + " " +
                           KeyToText(StatusWord(status), true, true, true) + "!\n" + "   " +
                           KeyToText("ELAPSED_TIME:", false, true, true) + " " +
                           ElapsedText(seconds) + " \n\n";
  test_name_.clear();
  return Write(text);
}

int CliStdioFile::TestProgress(int, double) { return kSinkDone; }
int CliStdioFile::SuiteProgress(int, double) { return kSinkDone; }
