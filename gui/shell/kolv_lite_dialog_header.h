// The dark title bar both dialogs wear: an icon for the kind of question, the title, and the
// close button. The dialogs have no window frame, so this is also what the user drags them by.
// Each dialog's form places it and gives the title its own look (titleStyleSheet).
#pragma once

#include <memory>

#include <QWidget>

class QLabel;
class QPushButton;
class QString;

namespace Ui {
class KolvLiteDialogHeader;
}

// No Q_OBJECT: it adds no signal, slot or property, and so stays a plain QWidget wherever the
// widget tree is walked by class.
class KolvLiteDialogHeader : public QWidget {
 public:
  explicit KolvLiteDialogHeader(QWidget* parent = nullptr);
  ~KolvLiteDialogHeader() override;

  // Called by the dialogs' forms.
  void setTitleStyleSheet(const QString& sheet);

  QLabel* icon_label() const;
  QLabel* title_label() const;
  QPushButton* close_button() const;

 private:
  std::unique_ptr<Ui::KolvLiteDialogHeader> ui_;
};
