#include "texts.h"

#include <fstream>
#include <sstream>

namespace clitest {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
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

}  // namespace clitest
