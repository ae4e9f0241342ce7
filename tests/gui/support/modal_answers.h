// Answers the dialogs that the code under test opens. Each dialog is handed to the answer once,
// after it is shown and from inside its own event loop, so an answer never races the dialog's
// setting up and no timer has to guess when the dialog is there.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <functional>
#include <utility>

namespace gui_test {

class ModalAnswers : public QObject {
 public:
  using Answer = std::function<void(QDialog*)>;

  explicit ModalAnswers(Answer answer) : answer_(std::move(answer)) {
    QCoreApplication::instance()->installEventFilter(this);
  }
  ~ModalAnswers() override { Stop(); }

  // Leaves later dialogs to the test.
  void Stop() {
    stopped_ = true;
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Show) return false;
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (dialog == nullptr || !dialog->isWindow()) return false;
    // Shown from exec(): the posted call runs once exec() has entered its loop.
    QPointer<QDialog> shown(dialog);
    QMetaObject::invokeMethod(
        this,
        [this, shown] {
          if (!stopped_ && shown && shown->isVisible()) answer_(shown);
        },
        Qt::QueuedConnection);
    return false;
  }

 private:
  Answer answer_;
  bool stopped_ = false;
};

// Chooses path in a save dialog and accepts it. The name field is written directly and read at
// once: selectFile leaves a focused field as it is, and a row the dialog selected by itself
// would win over the typed name.
inline void ChooseFile(QFileDialog* dialog, const QString& path) {
  dialog->setOption(QFileDialog::DontConfirmOverwrite);
  if (auto* list = dialog->findChild<QListView*>(QStringLiteral("listView"))) {
    list->selectionModel()->clear();
  }
  if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
    name->setText(path);
  } else {
    dialog->selectFile(path);
  }
  // QFileDialog's own accept, which reads the field, through the public slot of the base.
  static_cast<QDialog*>(dialog)->accept();
}

}  // namespace gui_test
