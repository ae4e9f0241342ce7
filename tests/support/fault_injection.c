/* Makes the machine's edges happen on demand: a thread that cannot start, an open or a write of a
 * named file that fails (or kills the process at that moment). Interposed in front of the C library,
 * either linked into a test program or preloaded into a program under test; rules come from
 * KOLV_FAULT at load and from kolv_fault_set() later. Each fault that fires appends a line to the
 * file KOLV_FAULT_LOG names, so a sweep knows when its N went past the last call. Written in C so
 * that the definitions match the C library's declarations exactly. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <sched.h>
#include <signal.h>
#include <stdarg.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <unistd.h>

enum { kThread, kOpen, kWrite, kKinds };
static const char* const kKindNames[kKinds] = {"thread", "open", "write"};
enum { kMaxRules = 8 };

struct Rule {
  int kind;
  long nth;
  int and_later;
  int error; /* 0: kill the process instead */
  char path_part[256];
  atomic_long seen;
};

static struct Rule rules[kMaxRules];
static atomic_int rule_count;
static atomic_int kinds_present; /* bit per kind, so calls without a rule of their kind pass at once */
static atomic_int fired;
static atomic_int deciding; /* calls between their look at the rules and their verdict */
static char log_path[1024];

/* ThreadSanitizer sees this library's string calls but not its atomics: it is told of the hand-over
 * of the rules. Null without it. */
void __tsan_acquire(void* address) __attribute__((weak));
void __tsan_release(void* address) __attribute__((weak));

/* The next definition after this library's: the C library's, or a sanitizer's in front of it. */
#define REAL(name, type)                                                  \
  static __typeof__(type) real_##name;                                     \
  if (!real_##name) {                                                     \
    void* found = dlsym(RTLD_NEXT, #name);                                \
    memcpy(&real_##name, &found, sizeof found);                           \
  }

static const struct {
  const char* name;
  int value;
} kErrors[] = {{"ENOSPC", ENOSPC}, {"EFBIG", EFBIG}, {"EMFILE", EMFILE}, {"ENFILE", ENFILE},
               {"EIO", EIO},       {"EACCES", EACCES}, {"EAGAIN", EAGAIN}, {"KILL", 0}};

static int ErrorNamed(const char* text, size_t length, int* error) {
  for (size_t i = 0; i < sizeof kErrors / sizeof kErrors[0]; ++i) {
    if (strlen(kErrors[i].name) == length && strncmp(text, kErrors[i].name, length) == 0) {
      *error = kErrors[i].value;
      return 1;
    }
  }
  return 0;
}

/* "kind:N[+][:ERRNO|KILL][:path-part]"; the path part is the rest of the rule, colons and all. */
static int ParseRule(const char* text, size_t length, struct Rule* rule) {
  const char* end = text + length;
  const char* colon = memchr(text, ':', length);
  if (!colon) return 0;
  rule->kind = -1;
  for (int k = 0; k < kKinds; ++k)
    if ((size_t)(colon - text) == strlen(kKindNames[k]) && strncmp(text, kKindNames[k], colon - text) == 0)
      rule->kind = k;
  if (rule->kind < 0) return 0;
  char* after = NULL;
  rule->nth = strtol(colon + 1, &after, 10);
  if (after == colon + 1 || rule->nth < 1 || after > end) return 0;
  rule->and_later = after < end && *after == '+';
  if (rule->and_later) ++after;
  rule->error = rule->kind == kThread ? EAGAIN : rule->kind == kOpen ? EMFILE : ENOSPC;
  rule->path_part[0] = '\0';
  if (after < end && *after == ':') {
    const char* field = after + 1;
    const char* field_end = memchr(field, ':', end - field);
    if (!field_end) field_end = end;
    if (ErrorNamed(field, field_end - field, &rule->error)) field = field_end < end ? field_end + 1 : end;
    size_t part = (size_t)(end - field);
    if (part >= sizeof rule->path_part) return 0;
    memcpy(rule->path_part, field, part);
    rule->path_part[part] = '\0';
  }
  atomic_store(&rule->seen, 0);
  return 1;
}

void kolv_fault_set(const char* text) {
  atomic_store(&rule_count, 0);
  atomic_store(&kinds_present, 0);
  /* A call that still reads the old rules would read them half overwritten. */
  while (atomic_load(&deciding)) sched_yield();
  if (__tsan_acquire) __tsan_acquire(&deciding);
  atomic_store(&fired, 0);
  int count = 0, kinds = 0;
  while (text && *text && count < kMaxRules) {
    const char* end = strchr(text, ';');
    size_t length = end ? (size_t)(end - text) : strlen(text);
    if (length && ParseRule(text, length, &rules[count])) kinds |= 1 << rules[count++].kind;
    text += length + (end ? 1 : 0);
  }
  if (__tsan_release) __tsan_release(&rule_count);
  atomic_store(&rule_count, count);
  atomic_store(&kinds_present, kinds);
}

int kolv_fault_fired(void) { return atomic_load(&fired); }

/* The library's own file, for a test that preloads it into a child. */
const char* kolv_fault_library(void) {
  static const char here = 0;
  static Dl_info info;
  return dladdr(&here, &info) && info.dli_fname ? info.dli_fname : "";
}

/* A forked child has only the thread that forked: no other one is deciding there. */
static void ForkedChild(void) { atomic_store(&deciding, 0); }

__attribute__((constructor)) static void ReadEnvironment(void) {
  pthread_atfork(NULL, NULL, ForkedChild);
  const char* log = getenv("KOLV_FAULT_LOG");
  if (log && strlen(log) < sizeof log_path) strcpy(log_path, log);
  kolv_fault_set(getenv("KOLV_FAULT"));
}

/* Straight to the kernel, so that recording a fault never meets a rule itself. */
static void Record(int kind, long nth, const char* target) {
  atomic_fetch_add(&fired, 1);
  if (!log_path[0]) return;
  char line[1200];
  int length = snprintf(line, sizeof line, "%s %ld %s\n", kKindNames[kind], nth, target);
  if (length < 0) return;
  if ((size_t)length >= sizeof line) length = sizeof line - 1;
  long fd = syscall(SYS_openat, AT_FDCWD, log_path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return;
  long ignored = syscall(SYS_write, (int)fd, line, (size_t)length);
  (void)ignored;
  syscall(SYS_close, (int)fd);
}

static int PathOfDescriptor(int fd, char* target, size_t size) {
  char link[64];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  ssize_t length = readlink(link, target, size - 1);
  if (length < 0) return 0;
  target[length] = '\0';
  return 1;
}

static int Verdict(int kind, const char* path, int fd) {
  char target[1024] = "";
  if (kind == kWrite && !PathOfDescriptor(fd, target, sizeof target)) return 0;
  if (kind == kOpen && path) snprintf(target, sizeof target, "%s", path);
  int count = atomic_load(&rule_count);
  if (count && __tsan_acquire) __tsan_acquire(&rule_count);
  for (int i = 0; i < count; ++i) {
    struct Rule* rule = &rules[i];
    if (rule->kind != kind) continue;
    if (rule->path_part[0] && !strstr(target, rule->path_part)) continue;
    struct stat status;
    if (!rule->path_part[0] && kind == kWrite && (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))) continue;
    long nth = atomic_fetch_add(&rule->seen, 1) + 1;
    if (nth != rule->nth && !(rule->and_later && nth > rule->nth)) continue;
    Record(kind, nth, target);
    if (!rule->error) kill(getpid(), SIGKILL);
    return rule->error;
  }
  return 0;
}

/* The error the call must fail with, 0 when it goes through; a KILL rule never returns. */
static int Decide(int kind, const char* path, int fd) {
  if (!(atomic_load(&kinds_present) & (1 << kind))) return 0;
  atomic_fetch_add(&deciding, 1);
  int error = Verdict(kind, path, fd);
  if (__tsan_release) __tsan_release(&deciding);
  atomic_fetch_sub(&deciding, 1);
  return error;
}

static int DecideStream(FILE* stream) {
  if (!(atomic_load(&kinds_present) & (1 << kWrite)) || !stream) return 0;
  int fd = fileno(stream);
  return fd < 0 ? 0 : Decide(kWrite, NULL, fd);
}

#define FAIL_WITH(error, value) \
  do {                          \
    errno = (error);            \
    return (value);             \
  } while (0)

int pthread_create(pthread_t* thread, const pthread_attr_t* attributes, void* (*start)(void*), void* argument) {
  REAL(pthread_create, int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*));
  int error = Decide(kThread, NULL, -1);
  if (error) return error;
  return real_pthread_create(thread, attributes, start, argument);
}

/* The open family: the mode is only there when the flags ask for one. */
#define OPEN_MODE(flags, last)                  \
  mode_t mode = 0;                              \
  if (((flags) & O_CREAT) || ((flags) & O_TMPFILE) == O_TMPFILE) { \
    va_list arguments;                          \
    va_start(arguments, last);                  \
    mode = (mode_t)va_arg(arguments, int);           \
    va_end(arguments);                          \
  }

#define DEFINE_OPEN(name)                                            \
  int name(const char* path, int flags, ...) {                       \
    REAL(name, int (*)(const char*, int, ...));                      \
    OPEN_MODE(flags, flags);                                         \
    int error = Decide(kOpen, path, -1);                             \
    if (error) FAIL_WITH(error, -1);                                 \
    return real_##name(path, flags, mode);                           \
  }
DEFINE_OPEN(open)
DEFINE_OPEN(open64)

#define DEFINE_OPENAT(name)                                          \
  int name(int folder, const char* path, int flags, ...) {           \
    REAL(name, int (*)(int, const char*, int, ...));                 \
    OPEN_MODE(flags, flags);                                         \
    int error = Decide(kOpen, path, -1);                             \
    if (error) FAIL_WITH(error, -1);                                 \
    return real_##name(folder, path, flags, mode);                   \
  }
DEFINE_OPENAT(openat)
DEFINE_OPENAT(openat64)

/* The calls of a fixed shape: a path and one more argument. */
#define DEFINE_OPEN_FIXED(name, result, second, failed)              \
  result name(const char* path, second extra) {                      \
    REAL(name, result (*)(const char*, second));                     \
    int error = Decide(kOpen, path, -1);                             \
    if (error) FAIL_WITH(error, failed);                             \
    return real_##name(path, extra);                                 \
  }
DEFINE_OPEN_FIXED(__open_2, int, int, -1)
DEFINE_OPEN_FIXED(__open64_2, int, int, -1)
DEFINE_OPEN_FIXED(creat, int, mode_t, -1)
DEFINE_OPEN_FIXED(creat64, int, mode_t, -1)
DEFINE_OPEN_FIXED(fopen, FILE*, const char*, NULL)
DEFINE_OPEN_FIXED(fopen64, FILE*, const char*, NULL)

ssize_t write(int fd, const void* data, size_t size) {
  REAL(write, ssize_t (*)(int, const void*, size_t));
  int error = Decide(kWrite, NULL, fd);
  if (error) FAIL_WITH(error, -1);
  return real_write(fd, data, size);
}

ssize_t writev(int fd, const struct iovec* pieces, int count) {
  REAL(writev, ssize_t (*)(int, const struct iovec*, int));
  int error = Decide(kWrite, NULL, fd);
  if (error) FAIL_WITH(error, -1);
  return real_writev(fd, pieces, count);
}

#define DEFINE_PWRITE(name, offset_type)                                   \
  ssize_t name(int fd, const void* data, size_t size, offset_type offset) { \
    REAL(name, ssize_t (*)(int, const void*, size_t, offset_type));        \
    int error = Decide(kWrite, NULL, fd);                                  \
    if (error) FAIL_WITH(error, -1);                                       \
    return real_##name(fd, data, size, offset);                            \
  }
DEFINE_PWRITE(pwrite, off_t)
DEFINE_PWRITE(pwrite64, off64_t)

/* Buffered writes reach the kernel inside the C library, out of reach: fail them at the call. */
size_t fwrite(const void* data, size_t size, size_t count, FILE* stream) {
  REAL(fwrite, size_t (*)(const void*, size_t, size_t, FILE*));
  int error = DecideStream(stream);
  if (error) FAIL_WITH(error, 0);
  return real_fwrite(data, size, count, stream);
}

int fputs(const char* text, FILE* stream) {
  REAL(fputs, int (*)(const char*, FILE*));
  int error = DecideStream(stream);
  if (error) FAIL_WITH(error, EOF);
  return real_fputs(text, stream);
}

int fputc(int c, FILE* stream) {
  REAL(fputc, int (*)(int, FILE*));
  int error = DecideStream(stream);
  if (error) FAIL_WITH(error, EOF);
  return real_fputc(c, stream);
}

int fflush(FILE* stream) {
  REAL(fflush, int (*)(FILE*));
  int error = DecideStream(stream);
  if (error) FAIL_WITH(error, EOF);
  return real_fflush(stream);
}

int vfprintf(FILE* stream, const char* format, va_list arguments) {
  REAL(vfprintf, int (*)(FILE*, const char*, va_list));
  int error = DecideStream(stream);
  if (error) FAIL_WITH(error, -1);
  return real_vfprintf(stream, format, arguments);
}

int fprintf(FILE* stream, const char* format, ...) {
  REAL(vfprintf, int (*)(FILE*, const char*, va_list));
  int error = DecideStream(stream);
  if (error) FAIL_WITH(error, -1);
  va_list arguments;
  va_start(arguments, format);
  int written = real_vfprintf(stream, format, arguments);
  va_end(arguments);
  return written;
}

int __vfprintf_chk(FILE* stream, int flag, const char* format, va_list arguments) {
  REAL(__vfprintf_chk, int (*)(FILE*, int, const char*, va_list));
  int error = DecideStream(stream);
  if (error) FAIL_WITH(error, -1);
  return real___vfprintf_chk(stream, flag, format, arguments);
}

int __fprintf_chk(FILE* stream, int flag, const char* format, ...) {
  REAL(__vfprintf_chk, int (*)(FILE*, int, const char*, va_list));
  int error = DecideStream(stream);
  if (error) FAIL_WITH(error, -1);
  va_list arguments;
  va_start(arguments, format);
  int written = real___vfprintf_chk(stream, flag, format, arguments);
  va_end(arguments);
  return written;
}
