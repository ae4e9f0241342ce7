// The program's one main window: frameless and translucent, with its own title area, window
// buttons, global buttons (previous logs, system information, help menu) and bottom bar. A close
// request only emits CloseClicked(); the application decides whether the window really closes.
#pragma once

#include <memory>

#include <QKeyEvent>
#include <QList>
#include <QMainWindow>
#include <QObject>
#include <QRect>
#include <QString>

class GripHandler;
class QFrame;
class QMenu;
class QPushButton;
class QSizeGrip;

namespace Ui {
class KolvLiteWindow;
}

class KolvLiteWindow : public QMainWindow {
  Q_OBJECT

 public:
  enum GlobalButton : int { kLogButton = 0, kSystemInfoButton = 1, kBothButtons = 2 };

  explicit KolvLiteWindow(const QString& title, QWidget* parent = nullptr);
  ~KolvLiteWindow() override;

  // Shows the machine's serial number in the bottom bar.
  void SetBiosSerial(QString serial);
  // Puts a widget (the controller) into the middle of the window.
  void AddScreenWidget(QWidget* widget);

  bool is_maximized() const { return maximized_; }
  bool accepts_close() const { return accept_close_; }

 signals:
  void LogClicked();
  void SystemInfoClicked();
  void AboutClicked();
  void CloseClicked();
  void KeyPressed(QKeyEvent* event);

 public slots:
  void HideGlobalButtons(KolvLiteWindow::GlobalButton button);
  void HideGlobalButtons();
  void ShowGlobalButtons(KolvLiteWindow::GlobalButton button);
  void ShowGlobalButtons();
  void DisableGlobalButton(KolvLiteWindow::GlobalButton button);
  void DisableGlobalButton();
  void EnableGlobalButton(KolvLiteWindow::GlobalButton button);
  void EnableGlobalButton();
  void AcceptClose();
  void IgnoreClose();

 private slots:
  void Maximize();
  void Restore();
  void MaximizeUiState();
  void RestoreUiState();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void InstallGrips();
  QList<QPushButton*> GlobalButtons(GlobalButton button) const;

  bool maximized_;
  bool accept_close_;
  QSizeGrip* size_grip_;
  GripHandler* top_grip_;
  GripHandler* bottom_grip_;
  GripHandler* right_grip_;
  GripHandler* left_grip_;
  GripHandler* top_right_grip_;
  GripHandler* top_left_grip_;
  GripHandler* bottom_right_grip_;
  GripHandler* bottom_left_grip_;
  GripHandler* move_grip_;
  QRect saved_geometry_;

  std::unique_ptr<Ui::KolvLiteWindow> ui_;
  QList<QFrame*> edge_grips_;
  QMenu* help_menu_;
};
