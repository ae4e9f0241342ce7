#pragma once

#include <QFrame>
#include <QString>
#include <memory>

class ElidedLabel;
class QPushButton;
class QTextBrowser;

namespace Ui {
class DescriptionPopup;
}  // namespace Ui

// A shadowed frame with a title, a read-only body and a close button, shown beside an item to
// describe it. While shown it keeps keyboard focus between its close button and its body, until
// the user clicks somewhere else.
class DescriptionPopup : public QFrame {
  Q_OBJECT

 public:
  explicit DescriptionPopup(QWidget* parent = nullptr);
  ~DescriptionPopup() override;

  void SetTitle(QString title);
  // Plain or rich text.
  void SetText(QString text);
  // Shown as written, never taken as markup: for texts from the engine.
  void SetPlainText(const QString& text);

  bool trap_active() const { return trap_active_; }
  ElidedLabel* title_label() const;
  QTextBrowser* body() const;
  QPushButton* close_button() const;

 signals:
  void CloseClicked();

 public slots:
  void focusChanged(QWidget* from, QWidget* to);

 protected:
  bool eventFilter(QObject* object, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  bool Contains(const QObject* object) const;

  bool trap_active_ = false;
  std::unique_ptr<Ui::DescriptionPopup> form_;
};
