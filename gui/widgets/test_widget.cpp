#include "gui/widgets/test_widget.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMovie>
#include <QPixmap>
#include <QProgressBar>
#include <QResizeEvent>
#include <QStringList>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/translation_keys.h"
#include "gui/widgets/elided_label.h"
#include "gui/widgets/literal_button_text.h"
#include "gui/widgets/progress_bar_style.h"

namespace {

const char kSmallFontStyle[] = ".QLabel { \nfont: 8pt \"Segoe UI\"; }";
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
    : QWidget(parent), test_name_(std::move(test_name)) {
  // The background first: set on a finished tree, it would style every child again.
  setStyleSheet(row % 2 == 0 ? "background-color: #FFFFFF;" : "background-color: #EEEEEE;");
  BuildWidgetTree();
  test_name_label_->set_text(test_name_);
  test_name_label_->setToolTip(LiteralToolTip(test_name_));
  test_progressBar_->setTextVisible(false);
  progress_label_->hide();
  movie_ = new QMovie(kLoadingGif, QByteArray(), loading_gif_label_);
  loading_gif_label_->setMovie(movie_);
  loading_gif_label_->hide();
  test_messages_label_->hide();
  test_messages_label_->setWordWrap(true);
}

TestWidget::~TestWidget() = default;

void TestWidget::BuildWidgetTree() {
  setObjectName("TestWidget");
  resize(790, 46);
  setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);
  setMinimumHeight(23);
  setAccessibleName(QString());

  test_widget_layout_ = new QHBoxLayout(this);
  test_widget_layout_->setObjectName("test_widget_layout");
  test_widget_layout_->setSpacing(0);
  test_widget_layout_->setContentsMargins(0, 0, 0, 0);
  BuildTextsColumn();
  test_widget_layout_->addWidget(texts_frame_);
  BuildStatusColumn();
  test_widget_layout_->addWidget(progress_bar_widgets_);
}

// Each widget is made under its final parent: a widget moved later would be polished twice.
void TestWidget::BuildTextsColumn() {
  texts_frame_ = new QFrame(this);
  texts_frame_->setObjectName("texts_frame");
  texts_frame_->setFrameShape(QFrame::NoFrame);
  texts_frame_->setFrameShadow(QFrame::Plain);
  texts_frame_->setLineWidth(0);
  texts_frame_->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);
  texts_layout_ = new QVBoxLayout(texts_frame_);
  texts_layout_->setObjectName("texts_layout");
  texts_layout_->setSpacing(0);
  texts_layout_->setContentsMargins(0, 4, 0, 4);

  // Names and messages come from the engine: never interpret them as markup. Ignored
  // horizontally, neither asks the row for width, so the status column stays in the row.
  test_name_label_ = new ElidedLabel(texts_frame_);
  test_name_label_->setObjectName("test_name_label");
  test_name_label_->setFixedHeight(20);
  test_name_label_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  test_name_label_->setFont(QFont(QStringLiteral("Segoe UI"), 8));
  test_name_label_->setContentsMargins(10, 0, 0, 0);
  test_name_label_->set_wrap_mode(ElidedLabel::NoWrap);
  test_name_label_->set_alignment(ElidedLabel::AlignVCenter);
  texts_layout_->addWidget(test_name_label_);

  test_messages_label_ = new QLabel(texts_frame_);
  test_messages_label_->setObjectName("test_messages_label");
  test_messages_label_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  test_messages_label_->setMargin(0);
  test_messages_label_->setIndent(20);
  test_messages_label_->setTextFormat(Qt::PlainText);
  test_messages_label_->setOpenExternalLinks(false);
  test_messages_label_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  texts_layout_->addWidget(test_messages_label_);
}

void TestWidget::BuildStatusColumn() {
  progress_bar_widgets_ = new QWidget(this);
  progress_bar_widgets_->setObjectName("progress_bar_widgets");
  progress_bar_widgets_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::MinimumExpanding);
  progress_bar_widgets_->setMinimumHeight(23);
  horizontalLayout_ = new QHBoxLayout(progress_bar_widgets_);
  horizontalLayout_->setObjectName("horizontalLayout");
  horizontalLayout_->setSpacing(6);
  horizontalLayout_->setContentsMargins(0, 0, 10, 0);

  loading_gif_label_ = new QLabel(progress_bar_widgets_);
  loading_gif_label_->setObjectName("loading_gif_label");
  loading_gif_label_->setFixedSize(16, 16);
  horizontalLayout_->addWidget(loading_gif_label_);

  progress_label_ = new QLabel(progress_bar_widgets_);
  progress_label_->setObjectName("progress_label");
  progress_label_->setMinimumSize(25, 20);
  progress_label_->setMaximumHeight(20);
  progress_label_->setStyleSheet(kSmallFontStyle);
  progress_label_->setText("0%");
  horizontalLayout_->addWidget(progress_label_);

  test_progressBar_ = new QProgressBar(progress_bar_widgets_);
  test_progressBar_->setObjectName("test_progressBar");
  test_progressBar_->setFixedSize(90, 7);
  test_progressBar_->setFocusPolicy(Qt::StrongFocus);
  test_progressBar_->setValue(0);
  test_progressBar_->setTextVisible(false);
  test_progressBar_->setFormat("%p%");
  test_progressBar_->setStyleSheet(kRunningProgressBarStyle);
  horizontalLayout_->addWidget(test_progressBar_);

  img_label_ = new QLabel(progress_bar_widgets_);
  img_label_->setObjectName("img_label");
  img_label_->setFixedHeight(20);
  horizontalLayout_->addWidget(img_label_);

  test_status_ = new QLabel(progress_bar_widgets_);
  test_status_->setObjectName("test_status");
  test_status_->setFixedHeight(20);
  test_status_->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
  test_status_->setFrameShape(QFrame::NoFrame);
  test_status_->setScaledContents(true);
  test_status_->setTextFormat(Qt::PlainText);
  horizontalLayout_->addWidget(test_status_);
}

void TestWidget::set_status(KolvLiteTestStatus status) {
  status_ = status;
  switch (status) {
    case WAITING:
      test_status_->setText(KolvLiteTranslate(TranslationKeys::WAITING));
      UiWhenTestWaiting();
      return;
    case RUNNING:
      test_status_->setText(KolvLiteTranslate(TranslationKeys::RUNNING));
      UiWhenTestRunning();
      return;
    default:
      break;
  }
  QPixmap icon;
  if (status > RUNNING && status < kStatusCount) {
    const FinishedStatus& finished = kFinishedStatuses[status];
    icon = QPixmap(QString(kStatusIconFolder) + finished.icon);
    test_status_->setText(KolvLiteTranslate(finished.key));
  }
  ShowFinishedLook(icon);
}

int TestWidget::test_status() const { return status_; }

void TestWidget::set_progress(int progress) {
  progress_ = progress;
  UpdateProgressBar();
}

QLabel* TestWidget::UiTestStatusLabel() const { return test_status_; }

void TestWidget::UiWhenTestWaiting() {
  test_name_label_->setEnabled(false);
  test_status_->setEnabled(false);
  progress_label_->hide();
  img_label_->hide();
  test_progressBar_->hide();
}

void TestWidget::UiWhenTestRunning() {
  test_name_label_->setEnabled(true);
  test_status_->setEnabled(true);
  progress_label_->show();
  test_progressBar_->show();
  img_label_->hide();
  loading_gif_label_->show();
  movie_->start();
}

void TestWidget::UiWhenFinishedTest(QImage* icon) {
  ShowFinishedLook(icon != nullptr ? QPixmap::fromImage(*icon) : QPixmap());
}

void TestWidget::ShowFinishedLook(const QPixmap& icon) {
  progress_label_->hide();
  img_label_->setPixmap(icon);
  img_label_->show();
  test_progressBar_->hide();
  test_name_label_->setEnabled(true);
  test_status_->setEnabled(true);
  StopSpinning();
}

void TestWidget::StopSpinning() {
  loading_gif_label_->hide();
  movie_->stop();
}

bool TestWidget::is_spinning() const {
  return !loading_gif_label_->isHidden() && movie_->state() == QMovie::Running;
}

void TestWidget::UpdateProgressBar() {
  progress_label_->setText(QString::number(progress_) + "%");
  test_progressBar_->setValue(progress_);
  if (test_progressBar_->value() == 100) SetCompletedProgressBarStyle();
}

void TestWidget::SetCompletedProgressBarStyle() {
  if (completed_style_) return;
  completed_style_ = true;
  test_progressBar_->setStyleSheet(kCompletedProgressBarStyle);
}

void TestWidget::AdjustSizeToContents() {
  const QFontMetrics metrics(QApplication::font());
  int widest = 0;
  for (const char* key : {TranslationKeys::WAITING, TranslationKeys::FAILED,
                          TranslationKeys::SUCCESS, TranslationKeys::RUNNING,
                          TranslationKeys::NOT_APPLICABLE}) {
    widest = std::max(widest, metrics.horizontalAdvance(QString::fromLatin1(key)));
  }
  test_status_->setMinimumWidth(widest);
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
    total_height_ += QFontMetrics(test_messages_label_->font()).lineSpacing();
  } else {
    messages_.removeFirst();
  }
  messages_.append(text);
  QString shown;
  for (const QString& each : std::as_const(messages_)) shown += each + QChar('\n');
  test_messages_label_->setText(shown);
  const int height = total_height_;
  setMinimumHeight(height);
  resize(width(), height);
  if (test_messages_label_->isHidden()) test_messages_label_->show();
  emit TestMessageAdded();
}
