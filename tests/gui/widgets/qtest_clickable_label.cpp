// Clickable and link labels, the link-text eliding threshold, label groups in their three modes
// with adopted sub-groups, eliding labels and the information button.
#include <QFontMetrics>
#include <QSignalSpy>
#include <QTextDocument>
#include <QtTest>

#include "gui/widgets/clickable_label.h"
#include "gui/widgets/clickable_label_group.h"
#include "gui/widgets/elided_label.h"
#include "gui/widgets/info_button.h"
#include "gui/widgets/link_label.h"

namespace {

void Click(ClickableLabel& label) {
  QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(2, 2));
}

// A text whose bounding width in the metrics is exactly the given width, or an empty string.
QString TextOfWidth(const QFontMetrics& metrics, int width) {
  const QString wide = "W";
  const QString narrow = "i";
  for (int many = 0; many < 80; ++many) {
    for (int few = 0; few < 80; ++few) {
      const QString text = wide.repeated(many) + narrow.repeated(few) + "l";
      const int measured = metrics.boundingRect(text).width();
      if (measured == width) return text;
      if (measured > width) break;
    }
  }
  return QString();
}

// A tool tip as it pops up: rich text when it looks like markup, else the text itself.
QString ToolTipAsShown(const QString& tip) {
  if (!Qt::mightBeRichText(tip)) return tip;
  QTextDocument document;
  document.setHtml(tip);
  return document.toPlainText();
}

}  // namespace

class TestClickableLabel : public QObject {
  Q_OBJECT

 private slots:
  void clicksByMouseAndKeys() {
    ClickableLabel label;
    label.resize(100, 20);
    label.setText("<b>engine text</b>");
    QCOMPARE(label.textFormat(), Qt::PlainText);
    QSignalSpy clicked(&label, &ClickableLabel::Clicked);
    QSignalSpy on_me(&label, &ClickableLabel::ClickedOnMe);
    QSignalSpy toggled(&label, &ClickableLabel::Toggled);

    Click(label);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(on_me.count(), 1);
    QCOMPARE(on_me.first().first().value<ClickableLabel*>(), &label);
    QCOMPARE(toggled.count(), 0);

    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(150, 2));
    QCOMPARE(clicked.count(), 1);

    QTest::keyClick(&label, Qt::Key_Return);
    QTest::keyClick(&label, Qt::Key_Space);
    QTest::keyClick(&label, Qt::Key_Enter);
    QTest::keyClick(&label, Qt::Key_X);
    QCOMPARE(clicked.count(), 4);

    label.set_checkable(true);
    Click(label);
    QVERIFY(label.is_checked());
    QCOMPARE(toggled.last().first().toBool(), true);
    Click(label);
    QVERIFY(!label.is_checked());
    label.set_checked(true);
    QCOMPARE(toggled.count(), 2);
    label.set_checkable(false);
    QVERIFY(!label.is_checked());
  }

  void linkLabelStyles() {
    LinkLabel link;
    QCOMPARE(link.text(), QString("Untitled"));
    QVERIFY(link.styleSheet().contains("rgb(0, 0, 0)"));
    link.set_checked(true);
    QVERIFY(link.styleSheet().contains("rgb(88, 157, 14)"));
    link.set_checked(false);
    QVERIFY(!link.styleSheet().contains("rgb(88, 157, 14)"));
  }

  void linkLabelKeepsTheOwnersStyle() {
    QWidget window;
    auto* link = new LinkLabel(&window);
    link->setStyleSheet(".LinkLabel{font: 9pt 'Segoe UI';}");
    link->set_checkable(true);
    window.show();
    link->ensurePolished();
    QCOMPARE(link->font().pointSize(), 9);
    const QColor normal = link->palette().color(QPalette::WindowText);

    for (int round = 0; round < 3; ++round) {
      link->set_checked(true);
      link->ensurePolished();
      QCOMPARE(link->font().pointSize(), 9);
      QCOMPARE(link->palette().color(QPalette::WindowText), QColor(88, 157, 14));
      link->set_checked(false);
      link->ensurePolished();
      QCOMPARE(link->font().pointSize(), 9);
      QCOMPARE(link->palette().color(QPalette::WindowText), normal);
    }
    // Changes of state do not pile the owner's part up.
    const int length = link->styleSheet().size();
    link->set_checked(true);
    link->set_checked(false);
    QCOMPARE(link->styleSheet().size(), length);
    QCOMPARE(link->styleSheet().count("9pt"), 1);

    // An owner's later change of its part holds as well.
    link->setStyleSheet(".LinkLabel{font: 14pt 'Segoe UI';}");
    link->set_checked(true);
    link->ensurePolished();
    QCOMPARE(link->font().pointSize(), 14);
  }

  void linkTextElidedFromTheThreshold() {
    LinkLabel link;
    link.ensurePolished();
    const QFontMetrics metrics(link.font());

    const QString at_limit = TextOfWidth(metrics, 200);
    if (!at_limit.isEmpty()) {
      link.SetElidedText(at_limit);
      QCOMPARE(link.text(), at_limit);
      QVERIFY(link.toolTip().isEmpty());
    }
    const QString just_over = TextOfWidth(metrics, 201);
    if (!just_over.isEmpty()) {
      link.SetElidedText(just_over);
      QVERIFY(link.text().endsWith("..."));
      QCOMPARE(link.toolTip(), just_over);
    }
    if (at_limit.isEmpty() && just_over.isEmpty()) QSKIP("no text of the exact widths in this font");

    const QString long_text = QString("Removable Storage ").repeated(6);
    link.SetElidedText(long_text);
    QVERIFY(link.text().endsWith("..."));
    QCOMPARE(link.toolTip(), long_text);
    const QString kept = link.text().chopped(3);
    QVERIFY(long_text.startsWith(kept));
    const int limit = 188 - 3 * metrics.boundingRect(".").width();
    QVERIFY(metrics.boundingRect(kept).width() <= limit);
    // Nothing more would fit: one more character of the text is too wide.
    QVERIFY(metrics.boundingRect(long_text.left(kept.size() + 1)).width() > limit);

    // A short text afterwards shows whole and drops the old tool tip.
    link.SetElidedText("Disk 0");
    QCOMPARE(link.text(), QString("Disk 0"));
    QVERIFY(link.toolTip().isEmpty());
    link.SetElidedText(long_text);
    link.SetElidedText(QString());
    QCOMPARE(link.text(), QString());
    QVERIFY(link.toolTip().isEmpty());
  }

  // A device name from the engine that looks like markup pops up as written, not as a heading
  // and a link.
  void elidedLinkToolTipReadsAsTheText() {
    LinkLabel link;
    const QString name =
        QStringList(4, "<h1>Disk</h1> <a href=\"https://example.invalid\">vendor</a> & co")
            .join(' ');
    link.SetElidedText(name);
    QVERIFY(link.text().endsWith("..."));
    QCOMPARE(ToolTipAsShown(link.toolTip()), name);
  }

  void groupModeZeroClearsOnSecondClick() {
    ClickableLabel a, b;
    a.resize(50, 20);
    b.resize(50, 20);
    ClickableLabelGroup group(ClickableLabelGroup::kSingleClearable);
    QCOMPARE(group.AddLabel(&a), 0);
    QCOMPARE(group.AddLabel(&b), 1);
    QSignalSpy changed(&group, &ClickableLabelGroup::GroupStatusChanged);

    Click(a);
    QVERIFY(a.is_checked());
    QCOMPARE(group.checked_id(false), 0);
    Click(b);
    QVERIFY(!a.is_checked());
    QVERIFY(b.is_checked());
    QCOMPARE(group.checked_id(false), 1);
    Click(b);
    QVERIFY(!b.is_checked());
    QCOMPARE(group.checked_id(false), -1);
    QCOMPARE(changed.count(), 3);
  }

  void groupModeOneKeepsSelection() {
    ClickableLabel a, b;
    a.resize(50, 20);
    ClickableLabelGroup group(ClickableLabelGroup::kSingleSticky);
    group.AddLabel(&a);
    group.AddLabel(&b);
    Click(a);
    Click(a);
    QVERIFY(a.is_checked());
    QCOMPARE(group.checked_id(false), 0);
    group.SelectLabel(1);
    QVERIFY(!a.is_checked());
    QVERIFY(b.is_checked());
    group.SelectLabel(7);
    QCOMPARE(group.checked_id(false), 1);
  }

  void groupModeTwoLeavesLabelsAlone() {
    ClickableLabel a, b;
    a.resize(50, 20);
    b.resize(50, 20);
    a.set_checkable(true);
    b.set_checkable(true);
    ClickableLabelGroup group(ClickableLabelGroup::kIndependent);
    group.AddLabel(&a);
    group.AddLabel(&b);
    QSignalSpy changed(&group, &ClickableLabelGroup::GroupStatusChanged);
    Click(a);
    Click(b);
    QVERIFY(a.is_checked() && b.is_checked());
    QCOMPARE(group.checked_id(false), -1);
    QCOMPARE(changed.count(), 0);
  }

  void adoptedSubGroups() {
    ClickableLabel direct, in_sub0, in_sub1;
    for (ClickableLabel* label : {&direct, &in_sub0, &in_sub1}) label->resize(50, 20);
    ClickableLabelGroup sub(ClickableLabelGroup::kSingleClearable);
    sub.AddLabel(&in_sub0);
    sub.AddLabel(&in_sub1);
    ClickableLabelGroup main_group(ClickableLabelGroup::kSingleClearable);
    QCOMPARE(main_group.AddLabel(&direct), 0);
    QCOMPARE(main_group.AddGroup(&sub, 7), 0);
    QVERIFY(!sub.is_active());
    QCOMPARE(main_group.count(), 3);
    QSignalSpy sub_changed(&sub, &ClickableLabelGroup::GroupStatusChanged);

    Click(in_sub1);
    QVERIFY(in_sub1.is_checked());
    QCOMPARE(main_group.checked_group(), 7);
    QCOMPARE(main_group.checked_id(false), 2);
    QCOMPARE(main_group.checked_id(true), 1);
    QCOMPARE(sub.checked_id(false), 1);
    QCOMPARE(sub_changed.count(), 0);  // the adopted group no longer acts itself

    Click(direct);
    QVERIFY(!in_sub1.is_checked());
    QCOMPARE(sub.checked_id(false), -1);
    QCOMPARE(main_group.checked_group(), -1);
    QCOMPARE(main_group.checked_id(true), 0);
  }

  void clearedGroupReactsOnceToLabelsAddedAgain() {
    ClickableLabel a, b;
    a.resize(50, 20);
    b.resize(50, 20);
    ClickableLabelGroup group(ClickableLabelGroup::kSingleClearable);
    group.AddLabel(&a);
    group.AddLabel(&b);
    Click(a);
    group.Clear();
    QCOMPARE(group.count(), 0);
    QCOMPARE(group.checked_id(false), -1);

    // A cleared label's click does not reach the group.
    QSignalSpy changed(&group, &ClickableLabelGroup::GroupStatusChanged);
    Click(b);
    QCOMPARE(changed.count(), 0);

    a.set_checked(false);
    QCOMPARE(group.AddLabel(&b), 0);
    QCOMPARE(group.AddLabel(&a), 1);
    Click(a);
    QVERIFY(a.is_checked());
    QCOMPARE(group.checked_id(false), 1);
    QCOMPARE(changed.count(), 1);
  }

  void elidedLabelLines() {
    ElidedLabel label;
    label.set_max_lines(2);
    const QFontMetrics metrics(label.font());
    const QString text = QString("word ").repeated(60).trimmed();
    const int width = 150;
    label.set_text(text);
    QVERIFY(label.hasHeightForWidth());
    // Two lines at most, margins included, measured the way it is painted.
    QCOMPARE(label.heightForWidth(width), 2 * metrics.lineSpacing());
    label.setContentsMargins(3, 4, 5, 6);
    QCOMPARE(label.heightForWidth(width + 8), 2 * metrics.lineSpacing() + 10);

    label.resize(width + 8, label.heightForWidth(width + 8));
    QSignalSpy elision(&label, &ElidedLabel::ElisionChanged);
    label.grab();
    QVERIFY(label.elided());
    label.grab();
    QCOMPARE(elision.count(), 1);

    label.set_text("word word");
    label.grab();
    QVERIFY(!label.elided());
    QCOMPARE(elision.count(), 2);

    // A text that needs exactly two lines fits the height given for two lines.
    const QString two_lines = "alpha beta gamma delta";
    label.set_text(two_lines);
    const int narrow = metrics.horizontalAdvance("alpha beta gamma") + 8 + 2;
    label.resize(narrow, label.heightForWidth(narrow));
    label.grab();
    QVERIFY(!label.elided());

    label.set_max_lines(0);
    label.grab();
  }

  void elidedLabelProperties() {
    ElidedLabel label("text", nullptr);
    QVERIFY(!label.hasHeightForWidth());
    QCOMPARE(label.max_lines(), 1);
    QCOMPARE(label.wrap_mode(), ElidedLabel::WordWrap);
    QCOMPARE(label.alignment(), ElidedLabel::NoAlign);
    QCOMPARE(label.elide_mode(), Qt::ElideRight);
    label.setStyleSheet(".ElidedLabel { qproperty-max_lines: 3; }");
    label.ensurePolished();
    QCOMPARE(label.max_lines(), 3);
    QVERIFY(label.setProperty("text", "other"));
    QCOMPARE(label.text(), QString("other"));
  }

  void infoButtonReportsHoverFocusAndClick() {
    InfoButton button;
    QSignalSpy enter(&button, &InfoButton::MouseEnter);
    QSignalSpy leave(&button, &InfoButton::MouseLeave);
    QSignalSpy clicked(&button, &InfoButton::Clicked);
    button.click();
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.first().first().value<QWidget*>(), static_cast<QWidget*>(&button));

    QEnterEvent enter_event(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&button, &enter_event);
    QEvent leave_event(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &leave_event);
    QFocusEvent focus_in(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(&button, &focus_in);
    QFocusEvent focus_out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(&button, &focus_out);
    QCOMPARE(enter.count(), 2);
    QCOMPARE(leave.count(), 2);
    QCOMPARE(enter.first().first().value<QWidget*>(), static_cast<QWidget*>(&button));
  }
};

QTEST_MAIN(TestClickableLabel)
#include "qtest_clickable_label.moc"
