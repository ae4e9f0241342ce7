// The program's resource file (images, style sheet, catalogues) where the build puts it: in
// <build>/bin, beside the test programs' <build>/tests/bin.
#pragma once

#include <QCoreApplication>
#include <QFileInfo>
#include <QResource>
#include <QString>

namespace gui_test {

inline QString ProgramResourceFile() {
  return QCoreApplication::applicationDirPath() + QStringLiteral("/../../bin/kolv_lite.rcc");
}

// False when the build has not made the file.
inline bool RegisterProgramResources() {
  const QString path = ProgramResourceFile();
  return QFileInfo::exists(path) && QResource::registerResource(path);
}

}  // namespace gui_test
