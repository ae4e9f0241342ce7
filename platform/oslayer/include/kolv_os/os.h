// The few facilities that differ between operating systems, behind one small interface: the
// plug-in file names, the operating system's folder, a detached background process and waiting
// on standard input.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace kolv_os {

// File-name ending of loadable plug-ins on this system (".so").
extern const char* const kPluginSuffix;

// "mendra_cli" -> "mendra_cli.so". A name that already ends in ".dll" or in the suffix gets the
// suffix in place of that ending.
std::string PluginFileName(const std::string& stem);

// Joins a folder and a file name with this system's separator.
std::string JoinPath(const std::string& folder, const std::string& name);

// The operating system's folder in Windows form ("C:\Windows"): $KOLV_WINDOWS_DIR when set, else
// the system drive's letter followed by ":\Windows". Empty when it cannot be told.
std::string WindowsDirectory();

// Starts program with the argument vector (argv[0] included) detached from this process: a new
// session, standard streams on /dev/null, no inherited descriptors but those three. Returns the
// child's process id, or -1 with a reason in error.
long SpawnDetached(const std::string& program, const std::vector<std::string>& argv,
                   std::string& error);

// Path of the running program.
std::string ExecutablePath();

// A write past the file-size limit then fails with EFBIG, as one on a full disk fails with ENOSPC,
// instead of ending the program. Both programs call it as they start.
void IgnoreFileSizeLimitSignal();

// Opens /dev/null on whichever of descriptors 0, 1 and 2 is closed, so that no file opened later
// takes a standard stream's place. A write to a standard output that was closed still fails
// (EBADF): output to it is lost, not delivered.
void ReopenClosedStandardStreams();

// Opens path for writing, emptied, without ever waiting: a FIFO that nobody reads is not opened
// (null, errno ENXIO). Once open, writes wait as usual.
FILE* OpenOutputFile(const std::string& path);

// True when fd is a pipe, a FIFO or a socket that has no room for a write now: its reader takes
// nothing, so the next write would wait. A file, a terminal or no descriptor at all: false.
bool WriteWouldWait(int fd);

// Bytes written to a pipe, a FIFO or a socket that its reader has not taken yet; -1 for any other
// descriptor. A change tells that the reader takes output, however slowly.
long UnreadOutput(int fd);

// True when standard input is a pipe, a socket or a terminal: something another program or a
// person can still write to. A file or /dev/null never brings anything new.
bool StandardInputIsLive();

// Waits for standard input without polling: Read blocks until bytes arrive, input ends, or
// another thread calls Interrupt. A terminal is read only while this process is in its
// foreground: a job in the background never stops on it, and reads once brought back.
class StandardInputWaiter {
 public:
  StandardInputWaiter();
  ~StandardInputWaiter();
  StandardInputWaiter(const StandardInputWaiter&) = delete;
  StandardInputWaiter& operator=(const StandardInputWaiter&) = delete;

  // Bytes appended to out; 0 after Interrupt; -1 at end of input or on error.
  int Read(std::string& out);
  // Makes the current and every later Read return 0 at once.
  void Interrupt();

 private:
  int wake_[2] = {-1, -1};
};

}  // namespace kolv_os
