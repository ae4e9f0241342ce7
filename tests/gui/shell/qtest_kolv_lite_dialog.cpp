// The interaction dialogs on the offscreen platform, answered by simulated clicks.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <functional>
#include <initializer_list>
#include <memory>

#include "gui/shell/action_button.h"
#include "gui/shell/kolv_lite_bootable_dialog.h"
#include "gui/shell/kolv_lite_dialog.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/widgets/literal_button_text.h"
#include "tests/gui/support/program_resources.h"

namespace {

// Runs action once the dialog's own event loop is going, then exec()s the dialog.
void ExecWith(QDialog* dialog, std::function<void()> action) {
  QTimer::singleShot(0, dialog, std::move(action));
  dialog->exec();
}

QPushButton* Button(QWidget* dialog, const char* name) {
  return dialog->findChild<QPushButton*>(QString::fromLatin1(name));
}

QList<QPushButton*> AnswerButtons(QWidget* dialog) {
  QList<QPushButton*> buttons;
  for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
    if (b->accessibleName() == QLatin1String("white_button")) buttons << b;
  }
  return buttons;
}

// The label fields of a dialog, in order.
QList<QLabel*> FieldLabels(QWidget* dialog) {
  return dialog->findChild<QWidget*>("fields_widget")
      ->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
}

// The whole literal, NUL bytes included.
template <size_t N>
std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

}  // namespace

class TestKolvLiteDialog : public QObject {
  Q_OBJECT

 private slots:
  void answersFollowTheButton_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<int>("answer");
    QTest::newRow("ok alone") << int(InputRequest::kOk) << "ok_pushButton" << 1;
    QTest::newRow("ok of two") << int(InputRequest::kOkCancel) << "ok_pushButton" << 1;
    QTest::newRow("cancel") << int(InputRequest::kOkCancel) << "cancel_pushButton" << 2;
    QTest::newRow("closed") << int(InputRequest::kOkCancel) << "close_pushButton" << 0;
    QTest::newRow("close only") << int(InputRequest::kCloseOnly) << "close_pushButton" << 0;
  }

  void answersFollowTheButton() {
    QFETCH(int, buttons);
    QFETCH(QString, clicked);
    QFETCH(int, answer);
    InputRequest request("TITLE_KEY", "MESSAGE_KEY", InputRequest::kQuestion, buttons);
    request.answer = 7;  // the dialog always writes its answer
    KolvLiteDialog dialog(&request);
    bool found = false;
    ExecWith(&dialog, [&] {
      QPushButton* b = dialog.findChild<QPushButton*>(clicked);
      found = b != nullptr;
      if (b) {
        QTest::mouseClick(b, Qt::LeftButton);
      } else {
        dialog.close();
      }
    });
    QVERIFY(found);
    QCOMPARE(request.answer, answer);
  }

  void buttonsFollowTheRequest() {
    InputRequest one("T", "M", InputRequest::kInformation, InputRequest::kOk);
    KolvLiteDialog one_dialog(&one);
    QCOMPARE(AnswerButtons(&one_dialog).size(), 1);
    QCOMPARE(AnswerButtons(&one_dialog).first()->text(), QStringLiteral("OK"));

    InputRequest two("T", "M", InputRequest::kWarning, InputRequest::kOkCancel);
    KolvLiteDialog two_dialog(&two);
    const QList<QPushButton*> buttons = AnswerButtons(&two_dialog);
    QCOMPARE(buttons.size(), 2);
    two_dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&two_dialog));
    QVERIFY(Button(&two_dialog, "ok_pushButton")->x() < Button(&two_dialog, "cancel_pushButton")->x());

    InputRequest none("T", "M", InputRequest::kError, 5);
    KolvLiteDialog none_dialog(&none);
    QVERIFY(AnswerButtons(&none_dialog).isEmpty());
    QCOMPARE(none_dialog.width(), 331);
    QCOMPARE(none_dialog.windowTitle(), QStringLiteral("KOLV Lite"));
  }

  void escapeLeavesTheRequestUnanswered() {
    InputRequest request("T", "M", InputRequest::kQuestion, InputRequest::kOkCancel);
    KolvLiteDialog dialog(&request);
    ExecWith(&dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    QCOMPARE(request.answer, 0);
  }

  void labelFieldsShownInOrderOthersSkipped() {
    InputRequest request("T", "M", InputRequest::kQuestion, InputRequest::kOk);
    InputFieldLabel first, second;
    InputField other;
    first.set_text("FIRST_FIELD");
    first.set_tooltip("FIRST_TIP");
    other.set_text("NOT_A_LABEL");
    second.set_text("SECOND_FIELD");
    request.fields = {&first, &other, &second};
    KolvLiteDialog dialog(&request);
    QWidget* fields = dialog.findChild<QWidget*>("fields_widget");
    QVERIFY(fields);
    QVERIFY(!fields->isHidden());
    const QList<QLabel*> labels = fields->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    QCOMPARE(labels.size(), 2);
    QCOMPARE(labels.at(0)->text(), QStringLiteral("FIRST_FIELD"));
    QCOMPARE(labels.at(0)->toolTip(), QStringLiteral("FIRST_TIP"));
    QCOMPARE(labels.at(1)->text(), QStringLiteral("SECOND_FIELD"));
    QCOMPARE(labels.at(0)->width(), 265);
    QVERIFY(labels.at(0)->wordWrap());
  }

  void noFieldsMeansNoFieldsArea() {
    InputRequest request("T", "M", InputRequest::kQuestion, InputRequest::kOk);
    KolvLiteDialog dialog(&request);
    QVERIFY(dialog.findChild<QWidget*>("fields_widget")->isHidden());
  }

  void engineTextIsShownLiterally() {
    const std::string hostile = "<a href=\"file:///etc/passwd\">open</a><img src=\"file:///x\">";
    InputRequest request(hostile, hostile, InputRequest::kQuestion, InputRequest::kOk);
    InputFieldLabel field;
    field.set_text(hostile);
    field.set_tooltip("<b>bold</b>");
    request.fields = {&field};
    KolvLiteDialog dialog(&request);
    const QString raw = QString::fromStdString(hostile);
    for (const char* name : {"message_label", "header_label"}) {
      QLabel* label = dialog.findChild<QLabel*>(name);
      QVERIFY(label);
      QCOMPARE(label->textFormat(), Qt::PlainText);
      QVERIFY(!label->openExternalLinks());
      QCOMPARE(label->text(), raw);
    }
    QLabel* field_label =
        dialog.findChild<QWidget*>("fields_widget")->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(field_label->textFormat(), Qt::PlainText);
    QVERIFY(!field_label->openExternalLinks());
    // A tool tip is rich text only as an escaped paragraph, so the tags show as written.
    QVERIFY(field_label->toolTip().contains(QStringLiteral("&lt;b&gt;bold&lt;/b&gt;")));
  }

  // A NUL byte in engine text neither cuts it short nor makes it pass for catalogue text, not
  // even when what comes before the NUL is a key the catalogue holds.
  void engineTextWithANulStaysWholeAndLiteral() {
    QVERIFY(gui_test::RegisterProgramResources());
    KolvLiteTranslator::set_locale("en_US");
    QTranslator catalogue;
    QVERIFY(KolvLiteTranslator::InstallKolvLiteTranslator(&catalogue));
    const std::string title = Bytes("<b>BOLD title</b>\0");
    const std::string message = Bytes("<a href='http://x/'>click</a>\0x");
    const std::string known = Bytes("PLEASE_REINSTALL_MESSAGE\0<a href='http://x/'>more</a>");
    InputRequest request(title, message, InputRequest::kQuestion, InputRequest::kOk);
    InputFieldLabel field, catalogue_field;
    field.set_text(message);
    const std::string tip = Bytes("<b>tip</b>\0") + message;
    field.set_tooltip(tip);
    catalogue_field.set_text(known);
    catalogue_field.set_tooltip(known);
    request.fields = {&field, &catalogue_field};
    KolvLiteDialog dialog(&request);

    const QList<QLabel*> fields = FieldLabels(&dialog);
    QCOMPARE(fields.size(), 2);
    const QList<std::pair<QLabel*, std::string>> shown = {
        {dialog.findChild<QLabel*>("header_label"), title},
        {dialog.findChild<QLabel*>("message_label"), message},
        {fields.at(0), message},
        {fields.at(1), known}};
    for (const auto& [label, text] : shown) {
      QVERIFY(label != nullptr);
      QCOMPARE(label->text(), QString::fromStdString(text));
      QCOMPARE(label->textFormat(), Qt::PlainText);
      QVERIFY(!label->openExternalLinks());
    }
    QCOMPARE(fields.at(0)->toolTip(), LiteralToolTip(QString::fromStdString(tip)));
    QVERIFY(fields.at(0)->toolTip().contains(QStringLiteral("&lt;b&gt;tip&lt;/b&gt;")));
    QVERIFY(fields.at(0)->toolTip().endsWith(QStringLiteral("x</p>")));
    QVERIFY(fields.at(1)->toolTip().contains(QStringLiteral("&lt;a href")));
  }

  // Markup the program writes itself is drawn, and its links open by mouse and keyboard; the
  // same markup in a field of the engine's kind stays literal text.
  void programMarkupIsDrawnEngineMarkupIsNot() {
    const std::string markup = "<span style=\"color: #666;\">A, <a href=\"https://x\">B</a></span>";
    InputRequest request("T", "M", InputRequest::kError, InputRequest::kOk);
    KolvLiteRichTextLabel own;
    own.set_text(markup);
    InputFieldLabel engine;
    engine.set_text(markup);
    request.fields = {&own, &engine};
    KolvLiteDialog dialog(&request);
    const QList<QLabel*> labels = FieldLabels(&dialog);
    QCOMPARE(labels.size(), 2);
    QCOMPARE(labels.at(0)->textFormat(), Qt::RichText);
    QVERIFY(labels.at(0)->openExternalLinks());
    QVERIFY(labels.at(0)->textInteractionFlags().testFlag(Qt::LinksAccessibleByMouse));
    QVERIFY(labels.at(0)->textInteractionFlags().testFlag(Qt::LinksAccessibleByKeyboard));
    QCOMPARE(labels.at(1)->textFormat(), Qt::PlainText);
    QVERIFY(!labels.at(1)->openExternalLinks());

    // A field from the program's catalogue opens its links by keyboard as well.
    QVERIFY(gui_test::RegisterProgramResources());
    KolvLiteTranslator::set_locale("en_US");
    QTranslator catalogue;
    QVERIFY(KolvLiteTranslator::InstallKolvLiteTranslator(&catalogue));
    InputFieldLabel advice;
    advice.set_text("PLEASE_REINSTALL_MESSAGE");
    request.fields = {&advice};
    KolvLiteDialog translated(&request);
    QLabel* advice_label = translated.findChild<QWidget*>("fields_widget")
                               ->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(advice_label->text() != QLatin1String("PLEASE_REINSTALL_MESSAGE"));
    QVERIFY(advice_label->openExternalLinks());
    QVERIFY(advice_label->textInteractionFlags().testFlag(Qt::LinksAccessibleByKeyboard));
  }

  void answerableWhileParentWindowIsDisabled() {
    // After a confirmed close the main window is disabled, yet a running test may still ask.
    QWidget main_window;
    main_window.show();
    main_window.setEnabled(false);
    InputRequest request("T", "M", InputRequest::kQuestion, InputRequest::kOkCancel);
    KolvLiteDialog dialog(&request, &main_window);
    QVERIFY(dialog.isEnabled());
    ExecWith(&dialog, [&] {
      QTest::mouseClick(Button(&dialog, "cancel_pushButton"), Qt::LeftButton);
    });
    QCOMPARE(request.answer, 2);

    // ... and when the window is disabled while the question is open.
    main_window.setEnabled(true);
    InputRequest later("T", "M", InputRequest::kQuestion, InputRequest::kOk);
    KolvLiteDialog later_dialog(&later, &main_window);
    ExecWith(&later_dialog, [&] {
      main_window.setEnabled(false);
      QTest::mouseClick(Button(&later_dialog, "ok_pushButton"), Qt::LeftButton);
    });
    QCOMPARE(later.answer, 1);
  }

  // Both dialogs wear the same header and follow the same drag rules.
  void draggedByHeaderOnly_data() {
    QTest::addColumn<bool>("log_name");
    QTest::newRow("question") << false;
    QTest::newRow("log name") << true;
  }

  void draggedByHeaderOnly() {
    QFETCH(bool, log_name);
    InputRequest request("T", "M", InputRequest::kQuestion, InputRequest::kOk);
    std::unique_ptr<QDialog> shown;
    if (log_name) {
      shown = std::make_unique<KolvLiteBootableDialog>();
    } else {
      shown = std::make_unique<KolvLiteDialog>(&request);
    }
    QDialog& dialog = *shown;
    dialog.move(100, 100);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QWidget* header = dialog.findChild<QWidget*>("header_widget");
    QPushButton* close = Button(&dialog, "close_pushButton");
    const QPoint start = dialog.pos();

    // Pressing the close button starts no drag.
    QTest::mousePress(close, Qt::LeftButton, {}, QPoint(3, 3));
    QMouseEvent move_on_close(QEvent::MouseMove, QPointF(40, 40), dialog.mapToGlobal(QPointF(40, 40)),
                              Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &move_on_close);
    QCOMPARE(dialog.pos(), start);
    QTest::mouseRelease(close, Qt::LeftButton, {}, QPoint(3, 3));
    // Not even when the dialog itself is handed the press over the button.
    const QPoint on_close = close->mapTo(&dialog, QPoint(3, 3));
    QTest::mousePress(&dialog, Qt::LeftButton, {}, on_close);
    QApplication::sendEvent(&dialog, &move_on_close);
    QCOMPARE(dialog.pos(), start);
    QTest::mouseRelease(&dialog, Qt::LeftButton, {}, on_close);

    // Pressing the header's empty part does.
    const QPoint grip = header->mapTo(&dialog, QPoint(header->width() / 2, header->height() / 2));
    QVERIFY(dialog.childAt(grip) == header || header->isAncestorOf(dialog.childAt(grip)));
    QTest::mousePress(&dialog, Qt::LeftButton, {}, grip);
    const QPointF global = QPointF(start + grip + QPoint(30, 20));
    QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(30, 20)), global, Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &move);
    QTRY_COMPARE(dialog.pos(), start + QPoint(30, 20));
    QTest::mouseRelease(&dialog, Qt::LeftButton, {}, grip);
  }

  // The dialogs hold no sheet of their own: the program's sheet gives their buttons the white
  // look of the action bar's.
  void dialogButtonsLookAsTheActionBars() {
    QVERIFY(gui_test::RegisterProgramResources());
    QFile style(QStringLiteral(":/kolv_lite/Resources/Styles/kolv_lite.qss"));
    QVERIFY(style.open(QIODevice::ReadOnly));
    qApp->setStyleSheet(QString::fromUtf8(style.readAll()));
    InputRequest request("T", "M", InputRequest::kQuestion, InputRequest::kOkCancel);
    KolvLiteDialog dialog(&request);
    KolvLiteBootableDialog bootable(nullptr);
    for (QDialog* shown : std::initializer_list<QDialog*>{&dialog, &bootable}) {
      shown->show();
      QVERIFY(QTest::qWaitForWindowExposed(shown));
      QPushButton* cancel = Button(shown, "cancel_pushButton");
      std::unique_ptr<QPushButton> bar(
          MakeActionButtonWithText(cancel->text(), QString(), ActionButtonSize::kNatural));
      bar->resize(cancel->size());
      QCOMPARE(cancel->grab().toImage().convertToFormat(QImage::Format_RGB32),
               bar->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }
    qApp->setStyleSheet(QString());
  }

  void bootableDialogReportsItsAnswer() {
    KolvLiteBootableDialog closed(nullptr);
    ExecWith(&closed, [&] { QTest::mouseClick(Button(&closed, "close_pushButton"), Qt::LeftButton); });
    QCOMPARE(closed.getResult(), 0);
    QCOMPARE(closed.getText(), QStringLiteral("kolv_lite_log.html"));

    KolvLiteBootableDialog accepted(nullptr, QStringLiteral("run.html"));
    ExecWith(&accepted, [&] {
      QLineEdit* edit = accepted.findChild<QLineEdit*>("logNameField");
      edit->setText(QStringLiteral("renamed.html"));
      QTest::mouseClick(Button(&accepted, "ok_pushButton"), Qt::LeftButton);
    });
    QCOMPARE(accepted.getResult(), 1);
    QCOMPARE(accepted.getText(), QStringLiteral("renamed.html"));

    KolvLiteBootableDialog cancelled(nullptr);
    ExecWith(&cancelled, [&] { QTest::mouseClick(Button(&cancelled, "cancel_pushButton"), Qt::LeftButton); });
    QCOMPARE(cancelled.getResult(), 0);
  }
};

QTEST_MAIN(TestKolvLiteDialog)
#include "qtest_kolv_lite_dialog.moc"
