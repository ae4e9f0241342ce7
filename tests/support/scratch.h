// The test's private scratch folder and whole-file reads and writes, for plain and Qt tests.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

#ifdef QT_CORE_LIB
#include <QByteArray>
#include <QFile>
#include <QString>
#endif

namespace test_support {

// $KOLV_TEST_TMP, which ctest sets to a folder of the test's own; /tmp when run by hand.
inline std::string ScratchDir() {
  const char* dir = std::getenv("KOLV_TEST_TMP");
  return dir && *dir ? dir : "/tmp";
}

// A fresh, empty folder below the scratch folder; empty when it cannot be made.
inline std::string ScratchDir(const std::string& name) {
  const std::string dir = ScratchDir() + "/" + name;
  std::error_code error;
  std::filesystem::remove_all(dir, error);
  return std::filesystem::create_directories(dir, error) ? dir : std::string();
}

// Throws when the file cannot be written, so that a test never goes on over a missing file.
inline void WriteFile(const std::string& path, std::string_view content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

// The path of the written file.
inline std::string WriteScratchFile(const std::string& name, std::string_view content) {
  const std::string path = ScratchDir() + "/" + name;
  WriteFile(path, content);
  return path;
}

// Empty when the file cannot be read.
inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  // The buffer throws a failed read at the iterator: a /proc file whose process ends between
  // the open and the read fails with ESRCH.
  try {
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const std::ios_base::failure&) {
    return std::string();
  }
}

#ifdef QT_CORE_LIB
inline QString ScratchDir(const QString& name) {
  return QString::fromStdString(ScratchDir(name.toStdString()));
}

// A path in the scratch folder; nothing is made or removed.
inline QString ScratchPath(const QString& name) {
  return QString::fromStdString(ScratchDir()) + QLatin1Char('/') + name;
}

inline bool WriteFile(const QString& path, const QByteArray& content) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

// "(unreadable)" when the file cannot be read, which no test writes.
inline QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}
#endif

}  // namespace test_support
