// The files of one save, put in their places together. Each file is written whole under a name
// of its own beside its place; only when every one is written are they made durable, all at
// once, and then renamed into place in the order they were added. Until then, and whenever any
// step fails, the files that were there before stay as they were. The first file added to a
// folder takes away what killed saves of earlier runs left in it, and only that.
#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <vector>

class SavedFileSet {
 public:
  SavedFileSet() = default;
  // Removes what was written and not put in place.
  ~SavedFileSet();
  SavedFileSet(const SavedFileSet&) = delete;
  SavedFileSet& operator=(const SavedFileSet&) = delete;

  // Writes the bytes for path. False when they cannot all be written or something other than a
  // file is in the way; the whole set has failed then. A link is followed to the file it names.
  bool Add(const QString& path, const QByteArray& bytes);
  // Whether path was added, as it was given.
  bool Holds(const QString& path) const { return added_.contains(path); }
  // Makes every written file durable, puts them in place, the last added last, and makes their
  // names durable. False, with nothing put in place when it can be helped, on any failure.
  bool Commit();

 private:
  struct Written {
    QByteArray temporary;
    QByteArray target;
  };
  bool SyncWritten() const;
  bool SyncFolders() const;
  void Discard();

  std::vector<Written> written_;
  QSet<QString> added_;
  QSet<QByteArray> swept_;  // folders cleared of earlier saves' temporaries
  bool failed_ = false;
};
