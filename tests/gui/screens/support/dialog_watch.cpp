#include "dialog_watch.h"

#include <QLabel>
#include <QPushButton>
#include <utility>

#include "gui/shell/kolv_lite_dialog.h"

namespace {

bool IsAnswer(const QPushButton* button) {
  return button->accessibleName() == QLatin1String("white_button");
}

}  // namespace

DialogWatch::DialogWatch(Handler handler)
    : handler_(std::move(handler)), answers_([this](QDialog* dialog) {
        if (auto* asked = qobject_cast<KolvLiteDialog*>(dialog)) handler_(asked);
      }) {}

QStringList DialogLabels(const KolvLiteDialog* dialog) {
  QStringList texts;
  for (const QLabel* label : dialog->findChildren<QLabel*>()) texts << label->text();
  return texts;
}

bool ClickFirstAnswer(KolvLiteDialog* dialog) {
  for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
    if (IsAnswer(button)) {
      button->click();
      return true;
    }
  }
  return false;
}

bool ClickLastVisibleAnswer(KolvLiteDialog* dialog) {
  QPushButton* last = nullptr;
  for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
    if (IsAnswer(button) && button->isVisible()) last = button;
  }
  if (last == nullptr) return false;
  last->click();
  return true;
}
