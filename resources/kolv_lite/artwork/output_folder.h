// The folder the artwork program fills, which counts what it could not write.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace artwork {

class OutputFolder {
 public:
  explicit OutputFolder(QString root);

  // name is the path below the folder, as the resource file lists it.
  void SavePng(const QString& name, const QImage& image);
  void SaveFile(const QString& name, const QByteArray& bytes);

  bool ok() const { return failures_ == 0; }

 private:
  QString PathOf(const QString& name) const;
  void Fail(const QString& path);

  QString root_;
  int failures_ = 0;
};

}  // namespace artwork
