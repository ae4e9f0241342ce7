// The tile of one diagnostics module on the home screen: the module's icon, its name on at most
// two lines and a status line (the version under the mouse, "not available" while disabled).
#pragma once

#include <QPixmap>
#include <QPushButton>
#include <QString>

namespace morva_service {
class ModuleInterfaceView;
}

class QEvent;
class QPaintEvent;

class ModuleButton : public QPushButton {
  Q_OBJECT

 public:
  // The icon comes from the module's own resource file, which must be registered by then.
  ModuleButton(morva_service::ModuleInterfaceView* module, QWidget* parent = nullptr);
  ~ModuleButton() override;

  morva_service::ModuleInterfaceView* module() const { return module_; }
  QString title() const { return title_; }
  // Empty when the module has no version.
  QString version_text() const { return version_text_; }
  QPixmap icon_pixmap() const { return icon_; }
  // The title lines that fit, as the tile draws them (two at most).
  QStringList TitleLines() const;
  // What the status line says in the tile's present state.
  QString StatusText() const;

  static QString IconPath(const QString& module_name);

 signals:
  void clicked(morva_service::ModuleInterfaceView* module);

 protected slots:
  void on_click();

 protected:
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  morva_service::ModuleInterfaceView* module_;
  QString title_;
  QString version_text_;
  QPixmap icon_;
};
