// Runs the built kolv_cli as a user would, with its own lock file, system drive and catalogue.
#pragma once

#include <sys/types.h>
#include <termios.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "tests/support/scratch.h"

namespace clitest {

struct Outcome {
  int status = -1;  // exit status; -1 when it did not end normally
  std::string out;  // standard output
  std::string err;
};

using test_support::ScratchDir;
using test_support::WriteScratchFile;
// A small catalogue: module "Storage" with devices 0 and 1, diagnostic Q ("quick") with tests
// f ("read", passes) and r ("verify", needs arguments, fails on device 1); tools "Rec|Order"
// (the recording test plug-in), "Broken" (a library without entry points) and "Absent".
std::string SmallCatalogue();

// Runs kolv_cli with args; env entries are added to (or replace) the test's environment. stdin
// gets input and is then closed. Killed after timeout_seconds (a hang guard).
Outcome RunCli(const std::vector<std::string>& args, const std::map<std::string, std::string>& env = {},
               const std::string& input = "", int timeout_seconds = 60);

// Standard streams and folder of a start other than RunCli's: a stream closed before the program
// starts, input read from a file, output to a file or to a pipe nobody reads, another folder.
struct StreamSetup {
  std::string program;  // a copy of kolv_cli elsewhere, with the plug-ins of its folder
  bool close_input = false;
  bool close_output = false;
  bool close_errors = false;
  std::string input_file;
  std::string output_file;   // standard output goes to this file (for example /dev/full)
  std::string errors_file;   // standard error goes to this file
  bool output_unread = false;  // standard output is a pipe whose reader went away before the start
  std::string working_folder;
  long file_size_limit = 0;  // bytes; no file of the program grows past it (0: no limit)
};
Outcome RunCliWith(const StreamSetup& streams, const std::vector<std::string>& args,
                   const std::map<std::string, std::string>& env = {});

// A kolv_cli that runs while the test watches its output and acts on it: it types keys, sends
// signals, starts other programs. Standard output and error are read together.
class Session {
 public:
  // kTerminal: a pseudo-terminal, as a user has. kPipesErrorsApart: standard error on a pipe of
  // its own, read along and returned by Finish as err. kTerminalOutputApart: keys from a
  // pseudo-terminal, standard output and error on pipes as with kPipesErrorsApart.
  enum class Console { kPipes, kTerminal, kPipesErrorsApart, kTerminalOutputApart };

  Session(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
          Console console);
  ~Session();  // a program still running is killed
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  bool started() const { return pid_ > 0; }
  // Reads until the output holds text; false after timeout_seconds (a hang guard).
  bool WaitFor(const std::string& text, int timeout_seconds = 60);
  // Reads until the program's main thread waits in a write to a pipe or FIFO that nobody
  // empties; false after timeout_seconds (a hang guard). Without reading, the program's own
  // output pipe fills up and is left full.
  bool WaitUntilBlockedInAPipeWrite(int timeout_seconds = 60, bool reading = true);
  void Type(const std::string& bytes);
  void Signal(int signal_number);
  // Closes the pseudo-terminal (kTerminal), as a closed window or a dropped link does: the program
  // is hung up. Nothing more can be read; FinishUnread waits for the end.
  void HangUp();
  // Reads to the end and returns the exit status; the program is killed after timeout_seconds.
  // A slow reader takes at most bytes_per_read at a time and pauses pause_ms after each read.
  Outcome Finish(int timeout_seconds = 60, size_t bytes_per_read = 4096, int pause_ms = 0);
  // Waits for the end without reading standard output any more (standard error is read when
  // apart); the program is killed after timeout_seconds.
  Outcome FinishUnread(int timeout_seconds);
  const std::string& output() const { return output_; }
  // The modes of the pseudo-terminal (kTerminal), also after the program ended; false with pipes.
  bool TerminalModes(termios& modes) const;

 private:
  bool Read(int timeout_ms, size_t at_most = 4096);
  // Reads standard error apart until it ends or the deadline comes.
  void ReadErrors(std::chrono::steady_clock::time_point deadline);
  // Reads standard error and waits for the end; the program is killed at the deadline.
  Outcome End(std::chrono::steady_clock::time_point deadline);

  pid_t pid_ = -1;
  int input_ = -1;
  int output_fd_ = -1;
  int errors_fd_ = -1;
  std::string output_;
  std::string errors_;
};

// An interactive shell with job control on a pseudo-terminal, as a user types into it, with
// kolv_cli's environment; $KOLV names the program.
class Shell {
 public:
  explicit Shell(const std::map<std::string, std::string>& env = {});
  ~Shell();  // the shell and whatever it still runs are killed
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;

  bool started() const { return pid_ > 0; }
  // Types a command line and Enter.
  void Line(const std::string& command);
  // Types bytes as they are (Ctrl-Z is "\x1a").
  void Type(const std::string& bytes);
  // Reads until the output after the last value shows text; false after timeout_seconds.
  bool WaitFor(const std::string& text, int timeout_seconds = 60);
  // Has the shell print a value (a shell word such as "$!" or "$(stty -g)") and returns it.
  std::string Value(const std::string& word);
  // Has the shell wait for a job and returns its status; "stopped" as soon as the process job
  // stops instead of ending, "" after the hang guard.
  std::string JobStatus(const std::string& job, pid_t job_process);
  const std::string& output() const { return output_; }

 private:
  bool Read(int timeout_ms);
  // The value the shell printed as name=[value] after what was seen so far.
  bool TakeValue(const std::string& name, std::string& value);

  pid_t pid_ = -1;
  int terminal_ = -1;
  std::string output_;
  size_t seen_ = 0;
  int values_ = 0;
};

// 'R', 'S', 'T' (stopped) ... as /proc tells it; 0 when there is no such process.
char ProcessState(pid_t pid);

}  // namespace clitest
