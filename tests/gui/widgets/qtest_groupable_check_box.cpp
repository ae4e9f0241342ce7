// Grouped check boxes: a parent's tri-state follows its children, and a click on the parent
// pushes its state down, through nested levels both ways.
#include <QKeySequence>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <vector>

#include "gui/widgets/groupable_check_box.h"

namespace {

const QChar kEllipsis(0x2026);

// A button label as it is drawn: "&&" is one "&", a lone "&" only marks the next letter.
QString Drawn(const QString& label) {
  QString drawn;
  for (qsizetype i = 0; i < label.size(); ++i) {
    if (label[i] == QLatin1Char('&') && ++i == label.size()) break;
    drawn += label[i];
  }
  return drawn;
}

// The width the style draws the box's label in.
int LabelRoom(GroupableCheckBox& box) {
  QStyleOptionButton option;
  option.initFrom(&box);
  option.text = box.text();
  return box.style()->subElementRect(QStyle::SE_CheckBoxContents, &option, &box).width();
}

}  // namespace

class TestGroupableCheckBox : public QObject {
  Q_OBJECT

 private slots:
  void parentFollowsChildren() {
    GroupableCheckBox parent("All");
    GroupableCheckBox first("First"), second("Second");
    QVERIFY(parent.AddChild(&first));
    QVERIFY(parent.AddChild(&second));
    QVERIFY(!parent.AddChild(&first));
    QVERIFY(!parent.AddChild(&parent));
    QCOMPARE(parent.Children().size(), 2);
    QCOMPARE(parent.checkState(), Qt::Unchecked);
    QSignalSpy at_least_one(&parent, &GroupableCheckBox::HasAtLeastOneChecked);

    first.setChecked(true);
    QCOMPARE(parent.checkState(), Qt::PartiallyChecked);
    QCOMPARE(at_least_one.count(), 1);
    QCOMPARE(at_least_one.last().first().toBool(), true);
    // Becoming partial must not push the state down to the other child.
    QCOMPARE(second.checkState(), Qt::Unchecked);

    second.setChecked(true);
    QCOMPARE(parent.checkState(), Qt::Checked);
    QCOMPARE(first.checkState(), Qt::Checked);

    first.setChecked(false);
    second.setChecked(false);
    QCOMPARE(parent.checkState(), Qt::Unchecked);
    QCOMPARE(at_least_one.last().first().toBool(), false);
  }

  void clickOnParentChecksAndUnchecksAll() {
    GroupableCheckBox parent("All");
    GroupableCheckBox a, b, c;
    parent.AddChild(&a);
    parent.AddChild(&b);
    parent.AddChild(&c);

    parent.click();
    QCOMPARE(parent.checkState(), Qt::Checked);
    QVERIFY(a.isChecked() && b.isChecked() && c.isChecked());
    parent.click();
    QCOMPARE(parent.checkState(), Qt::Unchecked);
    QVERIFY(!a.isChecked() && !b.isChecked() && !c.isChecked());

    // From partial a click checks everything.
    b.setChecked(true);
    QCOMPARE(parent.checkState(), Qt::PartiallyChecked);
    parent.click();
    QCOMPARE(parent.checkState(), Qt::Checked);
    QVERIFY(a.isChecked() && b.isChecked() && c.isChecked());
  }

  void nestedLevelsBothWays() {
    GroupableCheckBox root("Devices");
    GroupableCheckBox disk0("Disk 0"), disk1("Disk 1");
    GroupableCheckBox read0, seek0, read1;
    disk0.AddChild(&read0);
    disk0.AddChild(&seek0);
    disk1.AddChild(&read1);
    root.AddChild(&disk0);
    root.AddChild(&disk1);
    QSignalSpy root_changed(&root, &GroupableCheckBox::HasAtLeastOneChecked);

    // Upwards: one leaf makes its device and the root partial.
    seek0.setChecked(true);
    QCOMPARE(disk0.checkState(), Qt::PartiallyChecked);
    QCOMPARE(root.checkState(), Qt::PartiallyChecked);
    QVERIFY(!read0.isChecked());
    QCOMPARE(root_changed.last().first().toBool(), true);

    read1.setChecked(true);
    QCOMPARE(disk1.checkState(), Qt::Checked);
    QCOMPARE(root.checkState(), Qt::PartiallyChecked);
    read0.setChecked(true);
    QCOMPARE(disk0.checkState(), Qt::Checked);
    QCOMPARE(root.checkState(), Qt::Checked);

    // Downwards: a click on the root reaches every leaf.
    root.click();
    QCOMPARE(root.checkState(), Qt::Unchecked);
    QVERIFY(!read0.isChecked() && !seek0.isChecked() && !read1.isChecked());
    QCOMPARE(disk0.checkState(), Qt::Unchecked);
    root.click();
    QVERIFY(read0.isChecked() && seek0.isChecked() && read1.isChecked());

    // A click on a middle level updates both its leaves and the root.
    disk1.click();
    QVERIFY(!read1.isChecked());
    QCOMPARE(root.checkState(), Qt::PartiallyChecked);
    QVERIFY(read0.isChecked() && seek0.isChecked());
  }

  void removingChildren() {
    GroupableCheckBox parent;
    GroupableCheckBox a, b;
    parent.AddChild(&a);
    parent.AddChild(&b);
    a.setChecked(true);
    QCOMPARE(parent.checkState(), Qt::PartiallyChecked);

    QVERIFY(parent.RemoveChild(&b));
    QVERIFY(!parent.RemoveChild(&b));
    QCOMPARE(parent.checkState(), Qt::Checked);
    // A removed child no longer moves its old parent.
    b.setChecked(true);
    b.setChecked(false);
    QCOMPARE(parent.checkState(), Qt::Checked);

    QVERIFY(parent.RemoveChild(&a));
    QVERIFY(!parent.HasChildren());
    QCOMPARE(parent.checkState(), Qt::Checked);

    parent.AddChild(&a);
    parent.AddChild(&b);
    parent.RemoveAll();
    QCOMPARE(parent.Children().size(), 0);
    a.setChecked(false);
    QCOMPARE(parent.checkState(), Qt::Checked);
  }

  void longTextIsElidedToTheWidth() {
    const QString text(200, QChar('x'));
    GroupableCheckBox box(text);
    box.resize(120, 24);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QString shown = box.elided_text();
    QVERIFY2(shown.endsWith(kEllipsis) && shown.size() > 1, qPrintable(shown));
    QVERIFY(text.startsWith(shown.chopped(1)));
    QVERIFY(box.fontMetrics().horizontalAdvance(shown) <= LabelRoom(box));
    // A larger font at the same width cuts the name shorter.
    box.setStyleSheet("font: 16pt");
    box.repaint();
    QVERIFY(box.fontMetrics().horizontalAdvance(box.elided_text()) <= LabelRoom(box));
    // Painting must cope with any width, down to nothing.
    box.resize(1, 24);
    box.repaint();
    box.setText("short");
    box.repaint();
    QCOMPARE(box.text(), QString("short"));
    box.resize(box.sizeHint());
    box.repaint();
    QCOMPARE(box.elided_text(), QString("short"));
  }

  // Engine names come with their "&" doubled so that it shows as written. Such a name fits in
  // the width its size hint asks for, and a narrower box cuts it where a reader sees it cut:
  // never between the two halves of "&&", which would underline the ellipsis.
  void doubledAmpersandsAreElidedAsShown_data() {
    QTest::addColumn<QString>("sheet");
    QTest::newRow("own style") << QString();
    QTest::newRow("device row style")
        << ".GroupableCheckBox { font: 8pt \"Segoe UI\"; spacing: 5px; font-weight: bold }";
  }
  void doubledAmpersandsAreElidedAsShown() {
    QFETCH(QString, sheet);
    GroupableCheckBox box;
    if (!sheet.isEmpty()) box.setStyleSheet(sheet);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    for (const QString text : {"Disk && Co", "Disk && Cx", "A&&B&&C&&D&&E&&F&&G"}) {
      box.setText(text);
      box.resize(box.sizeHint());
      box.repaint();
      QCOMPARE(box.elided_text(), text);
      for (int width = box.sizeHint().width() - 1; width > 0; --width) {
        box.resize(width, box.height());
        const QString shown = box.elided_text();
        const QString drawn = Drawn(shown);
        QVERIFY2(box.fontMetrics().horizontalAdvance(drawn) <= std::max(LabelRoom(box), 0),
                 qPrintable(shown));
        if (shown == text) continue;
        QVERIFY2(QKeySequence::mnemonic(shown).isEmpty(), qPrintable(shown));
        QVERIFY2(drawn.endsWith(kEllipsis) || drawn.isEmpty(), qPrintable(shown));
        QVERIFY2(Drawn(text).startsWith(drawn.chopped(drawn.isEmpty() ? 0 : 1)), qPrintable(shown));
      }
    }
  }
};

QTEST_MAIN(TestGroupableCheckBox)
#include "qtest_groupable_check_box.moc"
