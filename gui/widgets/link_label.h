#pragma once

#include <QString>

#include "gui/widgets/clickable_label.h"

class QWidget;

// A clickable label styled as a link: black, green on hover and focus, darker green when checked.
class LinkLabel : public ClickableLabel {
  Q_OBJECT

 public:
  explicit LinkLabel(QWidget* parent = nullptr);

  void UpdateStyle(int state) override;
  // Shows the text, cut with "..." when it is 201 px or wider in the label's font; the full text
  // then goes to the tool tip.
  void SetElidedText(QString text);

 private:
  QString base_style_;
  QString normal_style_;
  QString checked_style_;
};
