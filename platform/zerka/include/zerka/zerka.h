// Public interface of the platform library: process-wide helpers for the file system, dynamic
// modules, threads, timers, semaphores, console, interrupts, the single-instance lock, the
// user's rights, text/number/date conversions and the machine's BIOS record.
//
// Getters return objects that live until the process ends; objects with a release function are
// created per call and must be given back through it.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
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

// ---------------------------------------------------------------------------------------------
// Dynamic modules (dlopen).
class ZerkaModuleLoader {
 public:
  virtual ~ZerkaModuleLoader() = default;
  // flags: 1 resolves every symbol at once. Returns 0 on failure. The path may be in Windows form.
  virtual void* Load(const std::string& path, int flags) = 0;
  // Returns 0 when the module has no such export.
  virtual void* GetSymbol(void* handle, const std::string& name) = 0;
  virtual int Unload(void* handle) = 0;
  // Text of the last failure of this thread's Load or GetSymbol.
  virtual std::string LastError() = 0;
};

// ---------------------------------------------------------------------------------------------
// Threads.
typedef void* ZerkaThreadHandle;
typedef int (*ZerkaThreadProcedure)(void* argument);

class ZerkaThreads {
 public:
  virtual ~ZerkaThreads() = default;
  // Starts procedure(argument) on a new thread; name (may be null) is cut to 15 characters.
  // flags must be 0. Returns 0 when the thread started, and then handle is set.
  virtual int Create(ZerkaThreadHandle& handle, int flags, ZerkaThreadProcedure procedure,
                     void* argument, const char* name) = 0;
  // Waits for the thread, frees the handle and stores its procedure's result when asked.
  virtual int Join(ZerkaThreadHandle handle, int* exit_code = nullptr) = 0;
  // 0 is the normal priority, the only one offered. Returns 0 on success.
  virtual int SetPriority(ZerkaThreadHandle handle, int priority) = 0;
};

// ---------------------------------------------------------------------------------------------
// Time.
class ZerkaTimer {
 public:
  virtual ~ZerkaTimer() = default;
  virtual void Sleep(uint32_t milliseconds) = 0;
  // Monotonic millisecond counter that wraps at 2^32.
  virtual uint32_t Tick() = 0;
  // Seconds from start to end, correct across one wrap of the counter.
  virtual double SecondsBetween(uint32_t start, uint32_t end) = 0;
};

// ---------------------------------------------------------------------------------------------
// Counting semaphore. Init once: (1, 1) serves as a lock, (0, 1) as a signal.
class ZerkaSemaphore {
 public:
  virtual ~ZerkaSemaphore() = default;
  // 0 on success; nonzero for a second Init or counts out of range (0 <= initial <= maximum,
  // maximum >= 1).
  virtual int Init(int initial, int maximum) = 0;
  // 0 once the count was taken; nonzero at once when Init has not been called.
  virtual int Wait() = 0;
  // Waits at most the given time; true when the count was taken.
  virtual bool TimedWait(uint32_t milliseconds) = 0;
  // Raises the count by one and returns 0; at the maximum the count stays as it is and the
  // result is nonzero, as it is before Init.
  virtual int Post() = 0;
};

// ---------------------------------------------------------------------------------------------
// Console keyboard.
class ZerkaConsole {
 public:
  static constexpr int kNoKey = -1;
  static constexpr int kEscape = 27;
  virtual ~ZerkaConsole() = default;
  // Never blocks: the code of a waiting key, kEscape for a bare Escape, kNoKey when none is
  // waiting or standard input is not a terminal. Enter gives 13 and Backspace 8; the escape
  // sequences of arrow and function keys give kNoKey. While a console object exists, a terminal
  // on standard input is in non-canonical mode without echo; it is restored when the last one
  // is released, at exit (quick_exit too) and on SIGINT, SIGTERM, SIGHUP, SIGQUIT and SIGABRT
  // when their handling is the default, also once the signal handler gives them back.
  virtual int ReadKey() = 0;
  // Drops every key typed and not yet read: those the console holds and the terminal's queue.
  virtual void DiscardKeys() = 0;
};

// ---------------------------------------------------------------------------------------------
// Console interrupt (Ctrl-C, termination request: SIGINT and SIGTERM). The callback runs on an
// ordinary thread of the library, never inside a signal handler, so it may lock and allocate.
// Signals reach it whichever thread they are sent to, so Register may be called at any time.
typedef void (*ZerkaInterruptCallback)(int signal_number);

class ZerkaSignalHandler {
 public:
  virtual ~ZerkaSignalHandler() = default;
  // Takes the place of any earlier callback, once a callback still handling an interrupt has
  // returned. 0 on success; nonzero for a null callback.
  virtual int Register(ZerkaInterruptCallback callback) = 0;
  // Stops delivering to the latest callback, once one still handling an interrupt has returned.
  // The callback registered before it gets the interrupts again; when none is left, the signals
  // get back the handling they had before the first Register.
  virtual int Unregister() = 0;
  // Interrupts taken since the program started, counted as they are taken (inside the signal
  // handler), before any callback sees them. Never less than the interrupts taken; one may be
  // counted twice.
  virtual unsigned long Interrupts() = 0;
};

// For tests: called on the watcher thread at "taken" (the signal was just taken), "calling"
// (before the callback runs) and "returned" (after it); a test blocks there to hold the watcher
// as a preempted thread would be. Null: no hold.
typedef void (*ZerkaSignalWatcherHold)(const char* point);
void SetSignalWatcherHold(ZerkaSignalWatcherHold hold);

// ---------------------------------------------------------------------------------------------
// System-wide single-instance lock (one lock for both programs).
class ZerkaAppMutex {
 public:
  static constexpr int kHeldElsewhere = 63;
  // The lock file could not be opened or locked for another reason.
  static constexpr int kFailed = 1;
  virtual ~ZerkaAppMutex() = default;
  // 0 when taken (also when this object already holds it); kHeldElsewhere when another process,
  // or another lock object of this process, holds it; kFailed for any other failure. The lock
  // file is $ZERKA_LOCK_FILE, else "/run/lock/kolv.lock", else "/tmp/kolv-<uid>.lock"; it is
  // never inherited by programs started from here, and the lock ends with the process.
  virtual int Acquire() = 0;
  virtual void Release() = 0;
  // The lock file this object uses, for messages.
  virtual std::string LockFilePath() = 0;
};

// ---------------------------------------------------------------------------------------------
class ZerkaUserAccount {
 public:
  virtual ~ZerkaUserAccount() = default;
  // The effective user is root; ZERKA_ADMIN=1 or =0 forces the answer.
  virtual bool IsAdministrator() = 0;
};

// ---------------------------------------------------------------------------------------------
// Text, number and date conversions; independent of the process locale.
class ZerkaStringHandler {
 public:
  virtual ~ZerkaStringHandler() = default;
  // out = in without leading and trailing blanks, tabs, CR and LF.
  virtual void Trim(const std::string& in, std::string& out) = 0;
  // ASCII letters only.
  virtual void ToLower(std::string& text) = 0;
};

class ZerkaNumberHandler {
 public:
  virtual ~ZerkaNumberHandler() = default;
  // The whole text must be the number (no blanks); false on overflow, NaN, infinity or junk.
  virtual bool ToDouble(const std::string& text, double& value) = 0;
  virtual bool ToInt64(const std::string& text, int64_t& value) = 0;
  virtual std::string ToString(long long number) = 0;
  // Fixed notation with the given number of decimals and "." as separator.
  virtual std::string ToString(double number, int decimals) = 0;
};

class ZerkaTimeHandler {
 public:
  virtual ~ZerkaTimeHandler() = default;
  // Reads the one date-time form the diagnostics log uses, "YYYY-MM-DDThh.mm.ss" (UTC), with
  // every field checked. false on anything else.
  virtual bool ParseDateTime(const std::string& text, struct tm& time) = 0;
  // Seconds since 1970 of a broken-down UTC time.
  virtual int64_t ToTime(const struct tm& time) = 0;
  // The form ParseDateTime reads, for seconds since 1970; empty outside the years 0 to 9999.
  virtual std::string FormatDateTime(int64_t seconds) = 0;
};

// ---------------------------------------------------------------------------------------------
// The machine's identification.
class Bios {
 public:
  virtual ~Bios() = default;
  virtual std::string model() const = 0;
  virtual std::string serial_number() const = 0;
  virtual std::string system_vendor() const = 0;
  virtual std::string system_manufacturer() const = 0;
  virtual std::string bios_version() const = 0;
  virtual std::string processor_label() const = 0;
  virtual std::string processor_manufacturer() const = 0;
};

// Process-wide objects, never freed.
ZerkaFilesystem* get_filesystem();
ZerkaModuleLoader* get_module();
ZerkaThreads* get_thread();
ZerkaTimer* get_timer();
ZerkaStringHandler* get_string_handler();
ZerkaNumberHandler* get_number_handler();
ZerkaTimeHandler* get_time_handler();
ZerkaSignalHandler* get_signal_handler();
// Null when the machine's data cannot be read (or ZERKA_NO_BIOS=1). Read from
// /sys/class/dmi/id and /proc/cpuinfo, or from the folder $ZERKA_BIOS_DIR holding files of the
// same names; a value whose file cannot be read is empty.
Bios* get_bios();

// Created on each call, given back through the matching release function.
ZerkaConsole* get_console();
void release_console_instance(ZerkaConsole* console);
ZerkaAppMutex* get_app_mutex();
void release_app_mutex(ZerkaAppMutex* mutex);
ZerkaSemaphore* GetNewSemaphore();
void ReleaseSemaphoreInstance(ZerkaSemaphore* semaphore);
ZerkaUserAccount* CreatUserAccountInstance();
void ReleaseUserAccountInstance(ZerkaUserAccount* account);
