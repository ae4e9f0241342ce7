#include "run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <sstream>
#include <thread>

#include "argv.h"
#include "tests/support/file_size_limit.h"
#include "texts.h"

extern char** environ;

namespace clitest {

std::string SmallCatalogue() {
  return R"({
  "product_version": "1.0.0.1",
  "modules": [
    {
      "name": "Storage",
      "help": "STORAGE_HELP",
      "version": "2.0.0.7",
      "check": {"result": true},
      "scan": {"duration": 0.1},
      "devices": [
        {"id": "0", "udi": "U0", "display_name": "DISK_ZERO", "rows": {"MODEL": "M0"},
         "resources": [{"name": "PARTITION", "properties": {"LABEL": "SYS"}}]},
        {"id": "1", "udi": "U1", "display_name": "DISK_ONE", "rows": {"MODEL": "M1"}}
      ],
      "diagnostics": [
        {"id": "1.1.0", "name": "QUICK", "description": "QUICK_D",
         "tests": [
           {"id": "1.1.1", "name": "READ", "description": "READ_D",
            "outcome": {"status": "passed", "duration": 0.5}},
           {"id": "1.1.2", "name": "VERIFY", "description": "VERIFY_D",
            "outcome": {"status": "passed", "duration": 0.5},
            "outcomes": {"1": {"status": "failed", "duration": 0.5}}}
         ]}
      ],
      "diagnostic_options": [{"id": "1.1.0", "letter": "Q", "long_name": "quick"}],
      "test_options": [
        {"id": "1.1.1", "letter": "f", "long_name": "read"},
        {"id": "1.1.2", "letter": "r", "long_name": "verify", "arguments": "required"}
      ],
      "tools": [{"name": "Rec|Order", "hint": "record", "description": "RECORDER_D"},
                {"name": "Broken", "hint": "broken", "description": "BROKEN_D"},
                {"name": "Absent", "hint": "absent", "description": "ABSENT_D"}]
    }
  ]
})";
}

namespace {
void Drain(int fd, std::string& into, bool& open) {
  char buffer[4096];
  const ssize_t n = read(fd, buffer, sizeof buffer);
  if (n > 0)
    into.append(buffer, static_cast<size_t>(n));
  else if (n == 0 || (errno != EINTR && errno != EAGAIN))
    open = false;
}
}  // namespace

// Argument and environment vectors of one kolv_cli start; the texts live as long as this.
struct Launch {
  Launch(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
         const std::string& program = KOLV_CLI_PROGRAM)
      : line(args, program) {
    std::map<std::string, std::string> vars;
    for (char** e = environ; *e; ++e) {
      const char* eq = std::strchr(*e, '=');
      if (eq) vars[std::string(*e, static_cast<size_t>(eq - *e))] = eq + 1;
    }
    vars["MORVA_CATALOGUE"] = WriteScratchFile("small_catalogue.json", SmallCatalogue());
    for (const auto& kv : env) vars[kv.first] = kv.second;
    for (const auto& kv : vars) env_text.push_back(kv.first + "=" + kv.second);
    for (auto& e : env_text) envp.push_back(e.data());
    envp.push_back(nullptr);
  }
  Argv line;
  std::vector<std::string> env_text;
  std::vector<char*> envp;
};

int WaitForExit(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

namespace {
Outcome Run(const StreamSetup& streams, const std::vector<std::string>& args,
            const std::map<std::string, std::string>& env, const std::string& input,
            int timeout_seconds) {
  Launch launch(args, env, streams.program.empty() ? KOLV_CLI_PROGRAM : streams.program);
  char** argv = launch.line.argv();
  std::vector<char*>& envp = launch.envp;

  int in[2], out[2], err[2];
  if (pipe(in) || pipe(out) || pipe(err)) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  if (streams.output_unread) {
    // No reader from the start: every write of the program meets a closed pipe.
    close(out[0]);
    out[0] = -1;
  }
  for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]})
    if (fd >= 0) posix_spawn_file_actions_addclose(&actions, fd);
  if (!streams.input_file.empty())
    posix_spawn_file_actions_addopen(&actions, 0, streams.input_file.c_str(), O_RDONLY, 0);
  if (!streams.output_file.empty())
    posix_spawn_file_actions_addopen(&actions, 1, streams.output_file.c_str(), O_WRONLY, 0);
  if (!streams.errors_file.empty())
    posix_spawn_file_actions_addopen(&actions, 2, streams.errors_file.c_str(), O_WRONLY, 0);
  if (streams.close_input) posix_spawn_file_actions_addclose(&actions, 0);
  if (streams.close_output) posix_spawn_file_actions_addclose(&actions, 1);
  if (streams.close_errors) posix_spawn_file_actions_addclose(&actions, 2);
  if (!streams.working_folder.empty())
    posix_spawn_file_actions_addchdir_np(&actions, streams.working_folder.c_str());
  pid_t pid = -1;
  int rc = 0;
  {
    // Inherited by the program alone: the test writes nothing meanwhile.
    std::unique_ptr<test_support::FileSizeLimit> limit;
    if (streams.file_size_limit > 0)
      limit = std::make_unique<test_support::FileSizeLimit>(
          static_cast<rlim_t>(streams.file_size_limit));
    rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv, envp.data());
  }
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  close(err[1]);
  Outcome outcome;
  if (rc != 0) {
    close(in[1]);
    if (out[0] >= 0) close(out[0]);
    close(err[0]);
    return outcome;
  }
  signal(SIGPIPE, SIG_IGN);
  if (!input.empty()) (void)!write(in[1], input.data(), input.size());
  close(in[1]);

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout_seconds);
  bool out_open = !streams.output_unread, err_open = true;
  while (out_open || err_open) {
    // A stream at its end is left out: it would wake the poll at once, again and again.
    pollfd fds[2] = {{out_open ? out[0] : -1, POLLIN, 0}, {err_open ? err[0] : -1, POLLIN, 0}};
    poll(fds, 2, 100);
    if (out_open && (fds[0].revents & (POLLIN | POLLHUP))) Drain(out[0], outcome.out, out_open);
    if (err_open && (fds[1].revents & (POLLIN | POLLHUP))) Drain(err[0], outcome.err, err_open);
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      break;
    }
  }
  if (out[0] >= 0) close(out[0]);
  close(err[0]);
  outcome.status = WaitForExit(pid);
  return outcome;
}
}  // namespace

Outcome RunCli(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
               const std::string& input, int timeout_seconds) {
  return Run(StreamSetup(), args, env, input, timeout_seconds);
}

Outcome RunCliWith(const StreamSetup& streams, const std::vector<std::string>& args,
                   const std::map<std::string, std::string>& env) {
  return Run(streams, args, env, "", 60);
}

Session::Session(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
                 Console console) {
  Launch launch(args, env);
  signal(SIGPIPE, SIG_IGN);
  if (console == Console::kTerminal || console == Console::kTerminalOutputApart) {
    const bool apart = console == Console::kTerminalOutputApart;
    int out[2] = {-1, -1}, err[2] = {-1, -1};
    if (apart && (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)) return;
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    if (pid == 0) {
      if (apart) {
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
      }
      execve(launch.line.argv()[0], launch.line.argv(), launch.envp.data());
      _exit(127);
    }
    for (int fd : {out[1], err[1]})
      if (fd >= 0) close(fd);
    if (pid < 0) {
      for (int fd : {out[0], err[0]})
        if (fd >= 0) close(fd);
      return;
    }
    pid_ = pid;
    input_ = master;
    output_fd_ = apart ? out[0] : master;
    errors_fd_ = err[0];
    return;
  }
  int in[2], out[2], err[2] = {-1, -1};
  if (pipe(in)) return;
  if (pipe(out) || (console == Console::kPipesErrorsApart && pipe(err))) {
    for (int fd : {in[0], in[1], out[0], out[1]})
      if (fd >= 0) close(fd);
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1] >= 0 ? err[1] : out[1], 2);
  for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]})
    if (fd >= 0) posix_spawn_file_actions_addclose(&actions, fd);
  pid_t pid = -1;
  const int rc =
      posix_spawn(&pid, launch.line.argv()[0], &actions, nullptr, launch.line.argv(),
                  launch.envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  if (err[1] >= 0) close(err[1]);
  if (rc != 0) {
    close(in[1]);
    close(out[0]);
    if (err[0] >= 0) close(err[0]);
    return;
  }
  pid_ = pid;
  input_ = in[1];
  output_fd_ = out[0];
  errors_fd_ = err[0];
}

Session::~Session() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    WaitForExit(pid_);
  }
  if (input_ >= 0 && input_ != output_fd_) close(input_);
  if (output_fd_ >= 0) close(output_fd_);
  if (errors_fd_ >= 0) close(errors_fd_);
}

bool Session::Read(int timeout_ms, size_t at_most) {
  if (output_fd_ < 0) return false;
  pollfd p[2] = {{output_fd_, POLLIN, 0}, {errors_fd_, POLLIN, 0}};
  if (poll(p, 2, timeout_ms) <= 0) return true;
  char buffer[4096];
  if (p[1].revents & (POLLIN | POLLHUP)) {
    const ssize_t n = read(errors_fd_, buffer, sizeof buffer);
    if (n > 0) errors_.append(buffer, static_cast<size_t>(n));
    if (n == 0) {
      close(errors_fd_);
      errors_fd_ = -1;
    }
  }
  if (!(p[0].revents & (POLLIN | POLLHUP | POLLERR))) return true;
  const ssize_t n = read(output_fd_, buffer, std::min(at_most, sizeof buffer));
  if (n > 0) {
    output_.append(buffer, static_cast<size_t>(n));
    return true;
  }
  // End of output (a pseudo-terminal reports its end as an error).
  return n < 0 && (errno == EINTR || errno == EAGAIN);
}

bool Session::WaitFor(const std::string& text, int timeout_seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout_seconds);
  while (output_.find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() > deadline || !Read(100)) return false;
  }
  return true;
}

bool Session::WaitUntilBlockedInAPipeWrite(int timeout_seconds, bool reading) {
  const std::string wchan = "/proc/" + std::to_string(pid_) + "/wchan";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout_seconds);
  // The kernel names the wait pipe_write or anon_pipe_write.
  while (ReadFile(wchan).find("pipe_write") == std::string::npos) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (!reading) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } else if (!Read(10)) {
      return false;
    }
  }
  return true;
}

bool Session::TerminalModes(termios& modes) const {
  return output_fd_ >= 0 && input_ == output_fd_ && tcgetattr(output_fd_, &modes) == 0;
}

void Session::Type(const std::string& bytes) {
  if (input_ >= 0) (void)!write(input_, bytes.data(), bytes.size());
}

void Session::HangUp() {
  if (input_ < 0 || input_ != output_fd_) return;
  close(input_);
  input_ = output_fd_ = -1;
}

void Session::Signal(int signal_number) {
  if (pid_ > 0) kill(pid_, signal_number);
}

Outcome Session::Finish(int timeout_seconds, size_t bytes_per_read, int pause_ms) {
  if (pid_ <= 0) return Outcome();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout_seconds);
  while (Read(100, bytes_per_read)) {
    if (std::chrono::steady_clock::now() > deadline) break;
    if (pause_ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pause_ms));
  }
  return End(deadline);
}

Outcome Session::FinishUnread(int timeout_seconds) {
  if (pid_ <= 0) return Outcome();
  return End(std::chrono::steady_clock::now() + std::chrono::seconds(timeout_seconds));
}

Outcome Session::End(std::chrono::steady_clock::time_point deadline) {
  ReadErrors(deadline);
  // The output may end before the program does: the wait too has the deadline.
  int raw = 0;
  pid_t ended = 0;
  while ((ended = waitpid(pid_, &raw, WNOHANG)) == 0 || (ended < 0 && errno == EINTR)) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid_, SIGKILL);
      WaitForExit(pid_);
      ended = -1;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  Outcome outcome;
  outcome.status = ended == pid_ && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  pid_ = -1;
  outcome.out = output_;
  outcome.err = errors_;
  return outcome;
}

void Session::ReadErrors(std::chrono::steady_clock::time_point deadline) {
  while (errors_fd_ >= 0 && std::chrono::steady_clock::now() < deadline) {
    pollfd p{errors_fd_, POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char buffer[4096];
    const ssize_t n = read(errors_fd_, buffer, sizeof buffer);
    if (n > 0) {
      errors_.append(buffer, static_cast<size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      close(errors_fd_);
      errors_fd_ = -1;
    }
  }
}

Shell::Shell(const std::map<std::string, std::string>& env) {
  std::map<std::string, std::string> shell_env = env;
  shell_env["KOLV"] = KOLV_CLI_PROGRAM;
  shell_env["PS1"] = "$ ";
  shell_env["TERM"] = "dumb";
  shell_env["HISTFILE"] = "/dev/null";
  // Plain lines: no bracketed-paste marks around what is typed.
  shell_env["INPUTRC"] = WriteScratchFile("inputrc", "set enable-bracketed-paste off\n");
  Launch launch({}, shell_env);
  char* argv[] = {const_cast<char*>("bash"), const_cast<char*>("--norc"),
                  const_cast<char*>("--noprofile"), const_cast<char*>("-i"), nullptr};
  signal(SIGPIPE, SIG_IGN);
  int terminal = -1;
  const pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
  if (pid == 0) {
    execve("/bin/bash", argv, launch.envp.data());
    _exit(127);
  }
  if (pid < 0) return;
  pid_ = pid;
  terminal_ = terminal;
}

namespace {
// Every process of a session, the shell's jobs in their own process groups included.
std::vector<pid_t> SessionMembers(pid_t session) {
  std::vector<pid_t> members;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string stat = ReadFile(entry.path().string() + "/stat");
    const size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream fields(stat.substr(close + 2));
    std::string state;
    long parent = 0, group = 0, member_session = 0;
    fields >> state >> parent >> group >> member_session;
    if (member_session == session) members.push_back(static_cast<pid_t>(std::stol(name)));
  }
  return members;
}
}  // namespace

Shell::~Shell() {
  if (pid_ > 0) {
    for (pid_t member : SessionMembers(pid_)) kill(member, SIGKILL);
    WaitForExit(pid_);
  }
  if (terminal_ >= 0) close(terminal_);
}

void Shell::Type(const std::string& bytes) {
  if (terminal_ >= 0) (void)!write(terminal_, bytes.data(), bytes.size());
}

void Shell::Line(const std::string& command) { Type(command + "\r"); }

bool Shell::Read(int timeout_ms) {
  if (terminal_ < 0) return false;
  pollfd p{terminal_, POLLIN, 0};
  if (poll(&p, 1, timeout_ms) <= 0) return true;
  char buffer[4096];
  const ssize_t n = read(terminal_, buffer, sizeof buffer);
  if (n > 0) output_.append(buffer, static_cast<size_t>(n));
  return n > 0 || (n < 0 && (errno == EINTR || errno == EAGAIN));
}

bool Shell::WaitFor(const std::string& text, int timeout_seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout_seconds);
  while (output_.find(text, seen_) == std::string::npos) {
    if (std::chrono::steady_clock::now() > deadline || !Read(100)) return false;
  }
  return true;
}

bool Shell::TakeValue(const std::string& name, std::string& value) {
  const std::string open = name + "=[";
  const size_t at = output_.find(open, seen_);
  if (at == std::string::npos) return false;
  const size_t end = output_.find(']', at + open.size());
  if (end == std::string::npos) return false;
  value = output_.substr(at + open.size(), end - at - open.size());
  seen_ = end + 1;
  return true;
}

std::string Shell::Value(const std::string& word) {
  // The typed line echoes as "v1""=[...: only the shell's answer reads v1=[.
  const std::string name = "v" + std::to_string(++values_);
  Line("echo \"" + name + "\"\"=[" + word + "]\"");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  std::string value;
  while (!TakeValue(name, value)) {
    if (std::chrono::steady_clock::now() > deadline || !Read(100)) return std::string();
  }
  return value;
}

std::string Shell::JobStatus(const std::string& job, pid_t job_process) {
  const std::string name = "v" + std::to_string(++values_);
  Line("wait " + job + "; echo \"" + name + "\"\"=[$?]\"");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  std::string value;
  while (!TakeValue(name, value)) {
    if (ProcessState(job_process) == 'T') return "stopped";
    if (std::chrono::steady_clock::now() > deadline || !Read(20)) return std::string();
  }
  return value;
}

char ProcessState(pid_t pid) {
  const std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
  const size_t close = stat.rfind(')');
  return close == std::string::npos || close + 2 >= stat.size() ? 0 : stat[close + 2];
}

}  // namespace clitest
