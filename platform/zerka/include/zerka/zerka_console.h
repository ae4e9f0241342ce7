#pragma once

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

// Created on each call, given back through release_console_instance.
ZerkaConsole* get_console();
void release_console_instance(ZerkaConsole* console);
