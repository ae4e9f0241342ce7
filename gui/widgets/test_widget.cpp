#include "gui/widgets/test_widget.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QMovie>
#include <QPixmap>
#include <QProgressBar>
#include <QResizeEvent>
#include <QStringList>

#include <algorithm>
#include <utility>

#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/translation_keys.h"
#include "gui/widgets/elided_label.h"
#include "gui/widgets/literal_button_text.h"
#include "gui/widgets/progress_bar_style.h"
#include "ui_test_widget.h"

namespace {

const char kLoadingGif[] = ":/kolv_lite/Resources/Images/General/smallLoading.gif";
const char kStatusIconFolder[] = ":/kolv_lite/Resources/Images/Statuses/";

// Icon file and text key of each finished status, indexed by status value.
struct FinishedStatus {
  const char* icon;
  const char* key;
};
const FinishedStatus kFinishedStatuses[] = {
    {nullptr, nullptr},
    {nullptr, nullptr},
    {"icn_OK16x16.png", TranslationKeys::SUCCESS},
    {"icn_Error16x16.png", TranslationKeys::FAILED},
    {"icn_Unsupported16x16.png", TranslationKeys::NOT_APPLICABLE},
    {"icn_Aborted16x16.png", TranslationKeys::ABORTED},
    {"icn_Warning16x16.png", TranslationKeys::WARNING_STATUS},
    {"icn_Invalid_16x16.png", TranslationKeys::INVALID},
};
constexpr int kStatusCount = static_cast<int>(sizeof(kFinishedStatuses) / sizeof(FinishedStatus));

// Punctuation that may end a word of a message, in the order it is looked for.
const QChar kPunctuation[] = {'.', ':', ',', '?', ';'};

}  // namespace

TestWidget::TestWidget(QString test_name, int row, QWidget* parent)
    : QWidget(parent),
      test_name_(std::move(test_name)),
      form_(std::make_unique<Ui::TestWidget>()) {
  // The background first: set on a finished tree, it would style every child again.
  setStyleSheet(row % 2 == 0 ? "background-color: #FFFFFF;" : "background-color: #EEEEEE;");
  form_->setupUi(this);
  // Set here, not in the form: the form's policy would keep the label's height for width, which
  // a one-line name never asks for. Ignored horizontally, the name leaves the status column room.
  form_->test_name_label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  form_->test_name_label->setContentsMargins(10, 0, 0, 0);
  // The bar's style follows the run: it changes once the bar is full.
  form_->test_progressBar->setStyleSheet(kRunningProgressBarStyle);
  form_->test_name_label->set_text(test_name_);
  form_->test_name_label->setToolTip(LiteralToolTip(test_name_));
  form_->test_progressBar->setTextVisible(false);
  form_->progress_label->hide();
  movie_ = new QMovie(kLoadingGif, QByteArray(), form_->loading_gif_label);
  form_->loading_gif_label->setMovie(movie_);
  form_->loading_gif_label->hide();
  form_->test_messages_label->hide();
  form_->test_messages_label->setWordWrap(true);
}

TestWidget::~TestWidget() = default;

ElidedLabel* TestWidget::test_name_label() const { return form_->test_name_label; }

QLabel* TestWidget::test_messages_label() const { return form_->test_messages_label; }

QLabel* TestWidget::progress_label() const { return form_->progress_label; }

QLabel* TestWidget::img_label() const { return form_->img_label; }

QLabel* TestWidget::loading_gif_label() const { return form_->loading_gif_label; }

QProgressBar* TestWidget::progress_bar() const { return form_->test_progressBar; }

void TestWidget::set_status(KolvLiteTestStatus status) {
  status_ = status;
  switch (status) {
    case WAITING:
      form_->test_status->setText(KolvLiteTranslate(TranslationKeys::WAITING));
      UiWhenTestWaiting();
      return;
    case RUNNING:
      form_->test_status->setText(KolvLiteTranslate(TranslationKeys::RUNNING));
      UiWhenTestRunning();
      return;
    default:
      break;
  }
  QPixmap icon;
  if (status > RUNNING && status < kStatusCount) {
    const FinishedStatus& finished = kFinishedStatuses[status];
    icon = QPixmap(QString(kStatusIconFolder) + finished.icon);
    form_->test_status->setText(KolvLiteTranslate(finished.key));
  }
  ShowFinishedLook(icon);
}

int TestWidget::test_status() const { return status_; }

void TestWidget::set_progress(int progress) {
  progress_ = progress;
  UpdateProgressBar();
}

QLabel* TestWidget::UiTestStatusLabel() const { return form_->test_status; }

void TestWidget::UiWhenTestWaiting() {
  form_->test_name_label->setEnabled(false);
  form_->test_status->setEnabled(false);
  form_->progress_label->hide();
  form_->img_label->hide();
  form_->test_progressBar->hide();
}

void TestWidget::UiWhenTestRunning() {
  form_->test_name_label->setEnabled(true);
  form_->test_status->setEnabled(true);
  form_->progress_label->show();
  form_->test_progressBar->show();
  form_->img_label->hide();
  form_->loading_gif_label->show();
  movie_->start();
}

void TestWidget::UiWhenFinishedTest(QImage* icon) {
  ShowFinishedLook(icon != nullptr ? QPixmap::fromImage(*icon) : QPixmap());
}

void TestWidget::ShowFinishedLook(const QPixmap& icon) {
  form_->progress_label->hide();
  form_->img_label->setPixmap(icon);
  form_->img_label->show();
  form_->test_progressBar->hide();
  form_->test_name_label->setEnabled(true);
  form_->test_status->setEnabled(true);
  StopSpinning();
}

void TestWidget::StopSpinning() {
  form_->loading_gif_label->hide();
  movie_->stop();
}

bool TestWidget::is_spinning() const {
  return !form_->loading_gif_label->isHidden() && movie_->state() == QMovie::Running;
}

void TestWidget::UpdateProgressBar() {
  form_->progress_label->setText(QString::number(progress_) + "%");
  form_->test_progressBar->setValue(progress_);
  if (form_->test_progressBar->value() == 100) SetCompletedProgressBarStyle();
}

void TestWidget::SetCompletedProgressBarStyle() {
  if (completed_style_) return;
  completed_style_ = true;
  form_->test_progressBar->setStyleSheet(kCompletedProgressBarStyle);
}

void TestWidget::AdjustSizeToContents() {
  const QFontMetrics metrics(QApplication::font());
  int widest = 0;
  for (const char* key : {TranslationKeys::WAITING, TranslationKeys::FAILED,
                          TranslationKeys::SUCCESS, TranslationKeys::RUNNING,
                          TranslationKeys::NOT_APPLICABLE}) {
    widest = std::max(widest, metrics.horizontalAdvance(QString::fromLatin1(key)));
  }
  form_->test_status->setMinimumWidth(widest);
}

QSize TestWidget::sizeHint() const {
  // The table sizes its rows by their hints: the messages wrap at the row's own width, not at
  // the narrow one a wrapping label's hint assumes.
  const QSize hint = QWidget::sizeHint();
  const int for_width = heightForWidth(width());
  return for_width < 0 ? hint : QSize(hint.width(), for_width);
}

void TestWidget::resizeEvent(QResizeEvent* event) {
  total_height_ = event->size().height();
  QWidget::resizeEvent(event);
}

QString TestWidget::HandleMessageTranslation(QString message, QString context) {
  const std::string context_name = context.toStdString();
  QString result;
  const QStringList words = message.split(QChar(' '), Qt::KeepEmptyParts);
  for (const QString& word : words) {
    const QString translated = KolvLiteTranslate(context_name, word.toStdString());
    if (translated != word) {
      result += translated;
    } else {
      QString stripped = word;
      stripped.remove(QChar('|'));
      QString punctuation;
      for (QChar mark : kPunctuation) {
        if (stripped.contains(mark)) {
          stripped.remove(mark);
          punctuation = mark;
          break;
        }
      }
      const QString bare = KolvLiteTranslate(context_name, stripped.toStdString());
      result += bare != stripped ? bare + punctuation : translated;
    }
    result += QChar(' ');
  }
  return result;
}

void TestWidget::AddTestMessage(QString message, QString context) {
  if (message.isEmpty()) return;
  const QString text = HandleMessageTranslation(std::move(message), std::move(context));
  // A hidden row gets no resize events; start from the height it has now.
  total_height_ = height();
  // The row grows for the first three messages only; later ones push out the oldest.
  if (messages_.size() < max_messages_) {
    total_height_ += QFontMetrics(form_->test_messages_label->font()).lineSpacing();
  } else {
    messages_.removeFirst();
  }
  messages_.append(text);
  QString shown;
  for (const QString& each : std::as_const(messages_)) shown += each + QChar('\n');
  form_->test_messages_label->setText(shown);
  const int height = total_height_;
  setMinimumHeight(height);
  resize(width(), height);
  if (form_->test_messages_label->isHidden()) form_->test_messages_label->show();
  emit TestMessageAdded();
}
