#include "texts.h"

#include <chrono>
#include <thread>

namespace clitest {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

Capture::Capture() : file_(std::tmpfile()) {}

Capture::~Capture() {
  if (file_) std::fclose(file_);
}

std::string Capture::text() {
  std::fflush(file_);
  std::rewind(file_);
  std::string out;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file_)) > 0) out.append(buffer, n);
  return out;
}

bool FileShows(const std::string& path, const std::string& part, int step_ms) {
  const auto guard = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!Contains(ReadFile(path), part)) {
    if (std::chrono::steady_clock::now() > guard) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(step_ms));
  }
  return true;
}

}  // namespace clitest
