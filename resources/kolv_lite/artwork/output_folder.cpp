#include "resources/kolv_lite/artwork/output_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>
#include <utility>

namespace artwork {

OutputFolder::OutputFolder(QString root) : root_(std::move(root)) {}

QString OutputFolder::PathOf(const QString& name) const {
  const QString path = root_ + QLatin1Char('/') + name;
  QDir().mkpath(QFileInfo(path).absolutePath());
  return path;
}

void OutputFolder::Fail(const QString& path) {
  std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  ++failures_;
}

void OutputFolder::SavePng(const QString& name, const QImage& image) {
  const QString path = PathOf(name);
  if (!image.save(path, "PNG")) Fail(path);
}

void OutputFolder::SaveFile(const QString& name, const QByteArray& bytes) {
  const QString path = PathOf(name);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    Fail(path);
  }
}

}  // namespace artwork
