#pragma once

#include <QFont>
#include <QList>
#include <QString>
#include <QWidget>
#include <memory>

#include "gui/widgets/breadcrumb_step_widget.h"

namespace Ui {
class BreadcrumbWidget;
}  // namespace Ui

// The strip of flow steps at the top of the main window, driven by the screen-flow controller.
class BreadcrumbWidget : public QWidget {
  Q_OBJECT

 public:
  explicit BreadcrumbWidget(QWidget* parent = nullptr);
  ~BreadcrumbWidget() override;

  void AddStep(QString text);
  void RemoveStep(int index);
  void Clear();
  void Reset();
  void SetCurrentStepSubtext(QString subtext);
  void HideCurrentStepSubtext();
  void ShowCurrentStepSubtext();

  int step_count() const { return steps_.size(); }
  BreadcrumbStepWidget* step(int index) const;
  QWidget* separator(int index) const;
  int separator_count() const { return separators_.size(); }
  int current() const { return current_; }
  int previous() const { return previous_; }
  // Shared fonts by label role (see BreadcrumbStepWidget::SetFonts).
  QFont font_for_role(int role) const;

 public slots:
  void NextStep();
  void PreviousStep();

 private:
  void RestyleStep(int index);
  void RestyleAllSteps();
  void RestyleSeparators();
  void FoldStepFonts(BreadcrumbStepWidget* step);
  void ApplyFontsToAll();
  void ResetFonts();
  void RenumberSteps();
  void RefitAllSteps();

  QList<BreadcrumbStepWidget*> steps_;
  QList<QWidget*> separators_;
  QList<QFont*> fonts_;
  int current_ = -1;
  int previous_ = -1;
  std::unique_ptr<Ui::BreadcrumbWidget> form_;
};
