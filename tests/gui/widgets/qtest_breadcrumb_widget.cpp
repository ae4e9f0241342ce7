// Breadcrumb: steps, shapes and separators, the current step and its moves, removal, the chosen
// option under finished steps, and the shared font sizes.
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QStackedWidget>
#include <QtTest>

#include "gui/widgets/breadcrumb_widget.h"
#include "gui/widgets/breadcrumb_step_widget.h"

namespace {

const QString kNormal = "arrow3.png";
const QString kBeforeCurrent = "arrow1.png";
const QString kAfterCurrent = "arrow2.png";

QString ArrowOf(const BreadcrumbWidget& breadcrumb, int index) {
  const QString style = breadcrumb.separator(index)->styleSheet();
  for (const QString& name : {kNormal, kBeforeCurrent, kAfterCurrent}) {
    if (style.contains(name)) return name;
  }
  return style;
}

int ShapeOf(const BreadcrumbWidget& breadcrumb, int index) {
  return breadcrumb.step(index)->shape();
}

int StateOf(const BreadcrumbWidget& breadcrumb, int index) {
  return breadcrumb.step(index)->state();
}

}  // namespace

class TestBreadcrumb : public QObject {
  Q_OBJECT

 private slots:
  void stepsShapesAndSeparators() {
    BreadcrumbWidget breadcrumb;
    QCOMPARE(breadcrumb.current(), -1);
    breadcrumb.AddStep("MODULE");
    QCOMPARE(breadcrumb.step_count(), 1);
    QCOMPARE(breadcrumb.separator_count(), 0);
    QCOMPARE(ShapeOf(breadcrumb, 0), int(BreadcrumbStepWidget::kFirst));
    QCOMPARE(StateOf(breadcrumb, 0), int(BreadcrumbStepWidget::kFuture));
    QCOMPARE(breadcrumb.step(0)->number(), 1);

    breadcrumb.AddStep("DEVICES");
    QCOMPARE(breadcrumb.separator_count(), 1);
    QCOMPARE(ShapeOf(breadcrumb, 0), int(BreadcrumbStepWidget::kFirst));
    QCOMPARE(ShapeOf(breadcrumb, 1), int(BreadcrumbStepWidget::kLast));
    QCOMPARE(ArrowOf(breadcrumb, 0), kNormal);

    breadcrumb.AddStep("TESTS");
    QCOMPARE(ShapeOf(breadcrumb, 1), int(BreadcrumbStepWidget::kMiddle));
    QCOMPARE(ShapeOf(breadcrumb, 2), int(BreadcrumbStepWidget::kLast));
    QCOMPARE(breadcrumb.step(2)->number(), 3);
    QCOMPARE(breadcrumb.step(2)->text(), QString("TESTS"));
    QCOMPARE(breadcrumb.step(2)->main_text_label_2()->text(), QString("TESTS"));

    // Steps and arrows alternate in the strip.
    auto* strip = breadcrumb.layout();
    QCOMPARE(strip->count(), 5);
    QCOMPARE(strip->itemAt(0)->widget(), static_cast<QWidget*>(breadcrumb.step(0)));
    QCOMPARE(strip->itemAt(1)->widget(), breadcrumb.separator(0));
    QCOMPARE(strip->itemAt(4)->widget(), static_cast<QWidget*>(breadcrumb.step(2)));
  }

  void currentStepMoves() {
    BreadcrumbWidget breadcrumb;
    for (const char* text : {"A", "B", "C"}) breadcrumb.AddStep(text);
    breadcrumb.Reset();
    QCOMPARE(breadcrumb.current(), 0);
    QCOMPARE(breadcrumb.previous(), -1);
    QCOMPARE(StateOf(breadcrumb, 0), int(BreadcrumbStepWidget::kCurrent));
    QCOMPARE(StateOf(breadcrumb, 1), int(BreadcrumbStepWidget::kFuture));
    QCOMPARE(ArrowOf(breadcrumb, 0), kAfterCurrent);
    QCOMPARE(ArrowOf(breadcrumb, 1), kNormal);
    QCOMPARE(breadcrumb.step(0)->icon_label_2()->text(), QString("1"));

    breadcrumb.NextStep();
    QCOMPARE(breadcrumb.current(), 1);
    QCOMPARE(breadcrumb.previous(), 0);
    QCOMPARE(StateOf(breadcrumb, 0), int(BreadcrumbStepWidget::kDone));
    QCOMPARE(breadcrumb.step(0)->content_stacked_widget()->currentIndex(), 0);
    QCOMPARE(StateOf(breadcrumb, 1), int(BreadcrumbStepWidget::kCurrent));
    QCOMPARE(breadcrumb.step(1)->content_stacked_widget()->currentIndex(), 1);
    QCOMPARE(ArrowOf(breadcrumb, 0), kBeforeCurrent);
    QCOMPARE(ArrowOf(breadcrumb, 1), kAfterCurrent);

    breadcrumb.PreviousStep();
    QCOMPARE(breadcrumb.current(), 0);
    QCOMPARE(ArrowOf(breadcrumb, 0), kAfterCurrent);
    QCOMPARE(ArrowOf(breadcrumb, 1), kNormal);
    QCOMPARE(StateOf(breadcrumb, 1), int(BreadcrumbStepWidget::kFuture));

    // No move past either end.
    breadcrumb.PreviousStep();
    QCOMPARE(breadcrumb.current(), 0);
    breadcrumb.NextStep();
    breadcrumb.NextStep();
    breadcrumb.NextStep();
    QCOMPARE(breadcrumb.current(), 2);
    QCOMPARE(ArrowOf(breadcrumb, 0), kNormal);
    QCOMPARE(ArrowOf(breadcrumb, 1), kBeforeCurrent);

    // Starting again from the end leaves no old highlight behind.
    breadcrumb.Reset();
    QCOMPARE(ArrowOf(breadcrumb, 0), kAfterCurrent);
    QCOMPARE(ArrowOf(breadcrumb, 1), kNormal);
    QCOMPARE(StateOf(breadcrumb, 2), int(BreadcrumbStepWidget::kFuture));
  }

  void chosenOptionUnderFinishedStep() {
    BreadcrumbWidget breadcrumb;
    breadcrumb.AddStep("MODULE");
    breadcrumb.AddStep("DEVICES");
    breadcrumb.Reset();
    breadcrumb.SetCurrentStepSubtext("Storage");
    breadcrumb.NextStep();
    BreadcrumbStepWidget* done = breadcrumb.step(0);
    QCOMPARE(done->subtext(), QString("Storage"));
    QCOMPARE(done->sub_text_label()->text(), QString("Storage"));
    QVERIFY(!done->sub_text_frame()->isHidden());

    breadcrumb.PreviousStep();
    breadcrumb.HideCurrentStepSubtext();
    breadcrumb.NextStep();
    QVERIFY(done->sub_text_frame()->isHidden());
    breadcrumb.PreviousStep();
    breadcrumb.ShowCurrentStepSubtext();
    QVERIFY(!done->sub_text_frame()->isHidden());
  }

  void removingSteps() {
    BreadcrumbWidget breadcrumb;
    for (const char* text : {"A", "B", "C"}) breadcrumb.AddStep(text);
    breadcrumb.Reset();
    breadcrumb.NextStep();  // current 1

    breadcrumb.RemoveStep(2);
    QCOMPARE(breadcrumb.step_count(), 2);
    QCOMPARE(breadcrumb.separator_count(), 1);
    QCOMPARE(ShapeOf(breadcrumb, 1), int(BreadcrumbStepWidget::kLast));
    QCOMPARE(breadcrumb.current(), 1);
    QCOMPARE(ArrowOf(breadcrumb, 0), kBeforeCurrent);

    breadcrumb.RemoveStep(5);
    breadcrumb.RemoveStep(-1);
    QCOMPARE(breadcrumb.step_count(), 2);

    // Removing the first step: the next one becomes first, renumbered, and the current index
    // follows it.
    breadcrumb.RemoveStep(0);
    QCOMPARE(breadcrumb.step_count(), 1);
    QCOMPARE(breadcrumb.separator_count(), 0);
    QCOMPARE(ShapeOf(breadcrumb, 0), int(BreadcrumbStepWidget::kFirst));
    QCOMPARE(breadcrumb.step(0)->text(), QString("B"));
    QCOMPARE(breadcrumb.step(0)->number(), 1);
    QCOMPARE(breadcrumb.step(0)->icon_label_2()->text(), QString("1"));
    QCOMPARE(breadcrumb.current(), 0);
  }

  void removingTheCurrentStepLeavesNoneCurrent() {
    BreadcrumbWidget breadcrumb;
    for (const char* text : {"A", "B", "C"}) breadcrumb.AddStep(text);
    breadcrumb.Reset();
    breadcrumb.NextStep();
    breadcrumb.RemoveStep(1);
    QCOMPARE(breadcrumb.current(), -1);
    QCOMPARE(breadcrumb.previous(), -1);
    QCOMPARE(breadcrumb.separator_count(), 1);
    QCOMPARE(ArrowOf(breadcrumb, 0), kNormal);
    QCOMPARE(StateOf(breadcrumb, 0), int(BreadcrumbStepWidget::kFuture));
    QCOMPARE(breadcrumb.step(1)->number(), 2);
    breadcrumb.NextStep();  // does nothing harmful with no current step
    breadcrumb.SetCurrentStepSubtext("x");
    breadcrumb.Reset();
    QCOMPARE(breadcrumb.current(), 0);
  }

  void longTextShrinksEveryStepAlike() {
    BreadcrumbWidget breadcrumb;
    breadcrumb.AddStep("A");
    const QFont full = breadcrumb.font_for_role(1);
    const QString long_text(60, QChar('W'));
    breadcrumb.AddStep(long_text);
    breadcrumb.AddStep("C");

    const QFont shrunk = breadcrumb.font_for_role(1);
    QVERIFY(shrunk.pointSizeF() < full.pointSizeF());
    // The long text now fits its box, and every step shows the same size.
    QVERIFY(QFontMetrics(shrunk).boundingRect(long_text).width() <=
            breadcrumb.step(1)->width());
    for (int i = 0; i < breadcrumb.step_count(); ++i) {
      QCOMPARE(breadcrumb.step(i)->main_text_label_2()->font().pointSizeF(), shrunk.pointSizeF());
      QCOMPARE(breadcrumb.step(i)->main_text_label()->font().pointSizeF(),
               breadcrumb.font_for_role(0).pointSizeF());
    }
    QVERIFY(breadcrumb.font_for_role(0).pointSizeF() < full.pointSizeF());

    // Without the long step the texts go back to full size.
    breadcrumb.RemoveStep(1);
    QCOMPARE(breadcrumb.font_for_role(1).pointSizeF(), full.pointSizeF());
    QCOMPARE(breadcrumb.step(1)->main_text_label_2()->font().pointSizeF(), full.pointSizeF());
  }

  void newFlowStartsWithFullSizeFonts() {
    BreadcrumbWidget breadcrumb;
    breadcrumb.AddStep("A");
    const qreal full = breadcrumb.font_for_role(1).pointSizeF();
    breadcrumb.AddStep(QString(80, QChar('M')));
    QVERIFY(breadcrumb.font_for_role(1).pointSizeF() < full);

    breadcrumb.Clear();
    QCOMPARE(breadcrumb.step_count(), 0);
    QCOMPARE(breadcrumb.separator_count(), 0);
    QCOMPARE(breadcrumb.current(), -1);
    breadcrumb.AddStep("X");
    breadcrumb.AddStep("Y");
    QCOMPARE(breadcrumb.font_for_role(1).pointSizeF(), full);
    QCOMPARE(breadcrumb.step(0)->main_text_label_2()->font().pointSizeF(), full);
  }

  void longSubtextShrinksTheSubtextRole() {
    BreadcrumbWidget breadcrumb;
    breadcrumb.AddStep("A");
    breadcrumb.AddStep("B");
    breadcrumb.Reset();
    const qreal full = breadcrumb.font_for_role(2).pointSizeF();
    breadcrumb.SetCurrentStepSubtext(QString(70, QChar('W')));
    QVERIFY(breadcrumb.font_for_role(2).pointSizeF() < full);
    QCOMPARE(breadcrumb.step(1)->sub_text_label()->font().pointSizeF(),
             breadcrumb.font_for_role(2).pointSizeF());
    // The main text roles are not touched by a subtext.
    QCOMPARE(breadcrumb.font_for_role(1).pointSizeF(), 10.0);
  }

  void firstStepHasRoundedCorner() {
    BreadcrumbWidget breadcrumb;
    breadcrumb.AddStep("A");
    breadcrumb.AddStep("B");
    BreadcrumbStepWidget* first = breadcrumb.step(0);
    first->resize(100, 40);
    QVERIFY(!first->mask().contains(QPoint(0, 0)));
    QVERIFY(!first->mask().contains(QPoint(1, 0)));
    QVERIFY(first->mask().contains(QPoint(1, 1)));
    QVERIFY(first->mask().contains(QPoint(99, 39)));
    QVERIFY(breadcrumb.step(1)->mask().isEmpty());
    // A step that becomes first gets the corner too.
    breadcrumb.RemoveStep(0);
    breadcrumb.step(0)->resize(80, 40);
    QVERIFY(!breadcrumb.step(0)->mask().contains(QPoint(0, 0)));
  }
};

QTEST_MAIN(TestBreadcrumb)
#include "qtest_breadcrumb_widget.moc"
