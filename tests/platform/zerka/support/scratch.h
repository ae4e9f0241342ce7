// Private scratch folders and small file helpers for the platform tests.
#pragma once

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace zerka_test {

// A fresh, empty folder under $KOLV_TEST_TMP (or /tmp) for one test.
inline std::string ScratchDir(const std::string& name) {
  const char* base = std::getenv("KOLV_TEST_TMP");
  std::string dir = std::string(base && *base ? base : "/tmp") + "/" + name;
  std::string command = "rm -rf '" + dir + "' && mkdir -p '" + dir + "'";
  if (std::system(command.c_str()) != 0) return std::string();
  return dir;
}

inline void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path) << text;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool Exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

}  // namespace zerka_test
