// Accordion: which sections may be open together in each mode, section loading and hiding,
// content, checkable headers and clearing.
#include <QCheckBox>
#include <QKeySequence>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "gui/widgets/accordion_widget.h"
#include "gui/widgets/button_frame.h"
#include "gui/widgets/elided_label.h"
#include "gui/widgets/sub_accordion_widget.h"

namespace {

void ClickHeader(AccordionWidget& accordion, int index) {
  QTest::mouseClick(accordion.section(index)->header(), Qt::LeftButton, {}, QPoint(3, 3));
}

QList<int> OpenSections(const AccordionWidget& accordion) {
  QList<int> open;
  for (int i = 0; i < accordion.section_count(); ++i) {
    SubAccordionWidget* section = accordion.section(i);
    if (section->content_shown()) {
      // What is recorded and what is shown must agree.
      if (section->body()->isHidden()) return {-100};
      open << i;
    } else if (!section->body()->isHidden()) {
      return {-200};
    }
  }
  return open;
}

void FillSections(AccordionWidget& accordion, int count) {
  for (int i = 0; i < count; ++i) accordion.AddSection(QString("Section %1").arg(i), false);
}

}  // namespace

class TestAccordionWidget : public QObject {
  Q_OBJECT

 private slots:
  void modeZeroOneOpenAndClosable() {
    AccordionWidget accordion(nullptr, AccordionWidget::kSingleClosable);
    FillSections(accordion, 3);
    QSignalSpy changed(&accordion, &AccordionWidget::ChangedCurrentTab);
    QCOMPARE(OpenSections(accordion), QList<int>{});

    ClickHeader(accordion, 0);
    QCOMPARE(OpenSections(accordion), QList<int>{0});
    QCOMPARE(accordion.current(), 0);
    ClickHeader(accordion, 2);
    QCOMPARE(OpenSections(accordion), QList<int>{2});
    QCOMPARE(accordion.current(), 2);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.last().first().toInt(), 2);

    ClickHeader(accordion, 2);
    QCOMPARE(OpenSections(accordion), QList<int>{});
    QCOMPARE(accordion.current(), -1);
  }

  void modeOneKeepsTheOpenSection() {
    AccordionWidget accordion(nullptr, AccordionWidget::kSingleKeepsOpen);
    FillSections(accordion, 3);
    ClickHeader(accordion, 1);
    QCOMPARE(OpenSections(accordion), QList<int>{1});

    ClickHeader(accordion, 1);
    QCOMPARE(OpenSections(accordion), QList<int>{1});
    QCOMPARE(accordion.current(), 1);

    // The next section opened closes it: never two open.
    ClickHeader(accordion, 0);
    QCOMPARE(OpenSections(accordion), QList<int>{0});
    QVERIFY(accordion.OpenSection(2));
    QCOMPARE(OpenSections(accordion), QList<int>{2});
    QVERIFY(accordion.OpenSection(2));
    QCOMPARE(OpenSections(accordion), QList<int>{2});
  }

  void modeTwoSectionsIndependent() {
    AccordionWidget accordion(nullptr, AccordionWidget::kIndependent);
    FillSections(accordion, 3);
    ClickHeader(accordion, 0);
    ClickHeader(accordion, 2);
    QCOMPARE(OpenSections(accordion), (QList<int>{0, 2}));
    QCOMPARE(accordion.current(), -1);
    ClickHeader(accordion, 0);
    QCOMPARE(OpenSections(accordion), QList<int>{2});
  }

  void modeThreeAlwaysOpen() {
    AccordionWidget accordion(nullptr, AccordionWidget::kAlwaysOpen);
    FillSections(accordion, 3);
    QCOMPARE(OpenSections(accordion), (QList<int>{0, 1, 2}));
    ClickHeader(accordion, 1);
    QCOMPARE(OpenSections(accordion), (QList<int>{0, 1, 2}));
    QVERIFY(accordion.OpenSection(0));
    QVERIFY(accordion.OpenSection(2));
    QCOMPARE(OpenSections(accordion), (QList<int>{0, 1, 2}));
    QCOMPARE(accordion.current(), 2);
  }

  void openSectionBounds() {
    AccordionWidget accordion(nullptr, AccordionWidget::kSingleClosable);
    QVERIFY(!accordion.OpenSection(0));
    FillSections(accordion, 2);
    QVERIFY(!accordion.OpenSection(2));
    QVERIFY(!accordion.OpenSection(-1));
    QVERIFY(accordion.OpenSection(1));
    QCOMPARE(OpenSections(accordion), QList<int>{1});
  }

  void headerKeysAndButton() {
    AccordionWidget accordion(nullptr, AccordionWidget::kSingleClosable);
    FillSections(accordion, 2);
    ButtonFrame* header = accordion.section(1)->header();
    QTest::keyClick(header, Qt::Key_Space);
    QCOMPARE(OpenSections(accordion), QList<int>{1});
    QTest::keyClick(header, Qt::Key_Return);
    QCOMPARE(OpenSections(accordion), QList<int>{});
    QTest::keyClick(header, Qt::Key_A);
    QCOMPARE(OpenSections(accordion), QList<int>{});
    header->button()->click();
    QCOMPARE(OpenSections(accordion), QList<int>{1});
    // A release outside the header is no click.
    QTest::mousePress(header, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseRelease(header, Qt::LeftButton, {}, QPoint(-20, 3));
    QCOMPARE(OpenSections(accordion), QList<int>{1});
  }

  void loadingReachesEverySection() {
    AccordionWidget accordion(nullptr, AccordionWidget::kSingleClosable);
    FillSections(accordion, 2);
    accordion.SetSectionLoading(0, true);
    QVERIFY(!accordion.section(0)->isEnabled());
    QVERIFY(accordion.section(0)->loading());
    accordion.SetSectionLoading(1, true);
    QVERIFY(accordion.section(1)->loading());
    accordion.SetSectionLoading(0, false);
    QVERIFY(accordion.section(0)->isEnabled());
    QVERIFY(!accordion.section(0)->loading());
    accordion.SetSectionLoading(2, true);  // no such section: nothing happens
    accordion.SetSectionLoading(-1, true);
  }

  void hidingASectionHidesItsSeparator() {
    AccordionWidget accordion(nullptr, AccordionWidget::kSingleClosable);
    FillSections(accordion, 3);
    QVERIFY(accordion.separator(1) != nullptr);
    accordion.SetSectionHidden(2, true);
    QVERIFY(accordion.section(2)->isHidden());
    QVERIFY(accordion.separator(1)->isHidden());
    QVERIFY(!accordion.separator(0)->isHidden());
    accordion.SetSectionHidden(0, true);
    QVERIFY(accordion.section(0)->isHidden());
    QVERIFY(!accordion.separator(0)->isHidden());
    accordion.SetSectionHidden(2, false);
    QVERIFY(!accordion.separator(1)->isHidden());
  }

  void contentGoesToAnExistingSection() {
    AccordionWidget accordion(nullptr, AccordionWidget::kSingleClosable);
    QWidget stray;
    QCOMPARE(accordion.AddWidgetToSection(&stray, 0), -1);
    FillSections(accordion, 2);
    QCOMPARE(accordion.AddWidgetToSection(new QLabel("a"), 0), 0);
    QCOMPARE(accordion.AddWidgetToSection(new QLabel("b"), 7), 1);
    QCOMPARE(accordion.AddWidgetToSection(new QLabel("c"), -3), -1);
    QCOMPARE(accordion.section(0)->content_count(), 1);
    QCOMPARE(accordion.section(1)->content_count(), 1);
  }

  void checkableHeaderFollowsItsChildren() {
    AccordionWidget accordion(nullptr, AccordionWidget::kIndependent);
    accordion.AddSection("Tests", true);
    SubAccordionWidget* section = accordion.section(0);
    QCheckBox* master = section->master_check_box();
    QVERIFY(master != nullptr);
    QCOMPARE(master->text(), QString("Tests"));
    QSignalSpy header_state(section, &SubAccordionWidget::HeaderCheckState);

    QCheckBox a("a"), b("b"), c("c");
    section->child_check_boxes() << &a << &b << &c;
    b.setChecked(true);
    section->ChangeMasterCheckBoxState();
    QCOMPARE(master->checkState(), Qt::PartiallyChecked);
    QVERIFY(master->isTristate());
    QCOMPARE(header_state.last().first().toInt(), int(Qt::PartiallyChecked));

    a.setChecked(true);
    c.setChecked(true);
    section->ChangeMasterCheckBoxState();
    QCOMPARE(master->checkState(), Qt::Checked);
    QVERIFY(!master->isTristate());

    a.setChecked(false);
    b.setChecked(false);
    c.setChecked(false);
    section->ChangeMasterCheckBoxState();
    QCOMPARE(master->checkState(), Qt::Unchecked);
    QVERIFY(!master->isTristate());
    QCOMPARE(header_state.last().first().toInt(), int(Qt::Unchecked));

    // A user click goes straight between checked and unchecked again.
    master->click();
    QCOMPARE(master->checkState(), Qt::Checked);
  }

  // Section titles are module names: an "&" in one is a character, never a keyboard shortcut.
  void checkableHeaderShowsItsTitleAsWritten() {
    AccordionWidget accordion(nullptr, AccordionWidget::kIndependent);
    accordion.AddSection("<b>R&D", true);
    QCheckBox* master = accordion.section(0)->master_check_box();
    QVERIFY(master != nullptr);
    QVERIFY(QKeySequence::mnemonic(master->text()).isEmpty());
    QCOMPARE(master->text(), QString("<b>R&&D"));
  }

  void retitlingDropsTheOldHeader() {
    AccordionWidget accordion(nullptr, AccordionWidget::kSingleClosable);
    accordion.AddSection("One", true);
    SubAccordionWidget* section = accordion.section(0);
    QPointer<QCheckBox> master = section->master_check_box();
    QVERIFY(section->set_checkable_header(false));
    QVERIFY(master.isNull());
    QCOMPARE(section->master_check_box(), static_cast<QCheckBox*>(nullptr));
    auto* title = qobject_cast<ElidedLabel*>(section->header_widget());
    QVERIFY(title != nullptr);
    QCOMPARE(title->text(), QString("One"));
    section->ChangeMasterCheckBoxState();  // no header check box: nothing to do
    section->SetTitle("Two");
    QCOMPARE(qobject_cast<ElidedLabel*>(section->header_widget())->text(), QString("Two"));
    QCOMPARE(section->header()->widget(), section->header_widget());
  }

  void headerButtonsHiddenForLaterSectionsToo() {
    AccordionWidget accordion(nullptr, AccordionWidget::kSingleClosable);
    accordion.AddSection("a", false);
    accordion.SetHeaderButtonsHidden(true);
    accordion.AddSection("b", false);
    QVERIFY(accordion.section(0)->header()->button()->isHidden());
    QVERIFY(accordion.section(1)->header()->button()->isHidden());
    accordion.SetHeaderButtonsHidden(false);
    QVERIFY(!accordion.section(1)->header()->button()->isHidden());
  }

  void clearRemovesEverything() {
    AccordionWidget accordion(nullptr, AccordionWidget::kSingleClosable);
    FillSections(accordion, 3);
    accordion.OpenSection(1);
    QPointer<SubAccordionWidget> section = accordion.section(2);
    accordion.Clear();
    QVERIFY(section.isNull());
    QCOMPARE(accordion.section_count(), 0);
    QCOMPARE(accordion.current(), -1);
    QCOMPARE(accordion.separator(0), static_cast<QFrame*>(nullptr));
    QCOMPARE(accordion.AddSection("again", false), 0);
    QCOMPARE(accordion.section(0)->index(), 0);
  }
};

QTEST_MAIN(TestAccordionWidget)
#include "qtest_accordion_widget.moc"
