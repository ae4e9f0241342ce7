#include "gui/widgets/description_popup.h"

#include <QApplication>
#include <QColor>
#include <QEvent>
#include <QGraphicsDropShadowEffect>
#include <QGridLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVariant>

#include <utility>

#include "gui/widgets/elided_label.h"

namespace {

const char kPopupStyle[] =
    "[accessibleName=\"TestDescription\"] {\n"
    "  background-color: white;\n"
    "  border: 1px solid rgb(166, 166, 166);\n"
    "}\n"
    "QScrollBar:vertical {\n"
    "  border: 1px solid #b2b2b2; border-radius: 5px; width: 13px; margin-left: 3px;\n"
    "  background: qlineargradient(x1:0, y1:0, x2:1, y2:0,"
    " stop:0 #2a2a2a, stop:0.5 #333333, stop:1 #2a2a2a);\n"
    "}\n"
    "QScrollBar:horizontal {\n"
    "  border: 1px solid #b2b2b2; border-radius: 5px; height: 13px; margin-top: 3px;\n"
    "  background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
    " stop:0 #2a2a2a, stop:0.5 #333333, stop:1 #2a2a2a);\n"
    "}\n"
    "QScrollBar::handle:vertical { border-radius: 4px; background: #e7e8e9; min-height: 35px; }\n"
    "QScrollBar::handle:horizontal { border-radius: 4px; background: #e7e8e9; min-width: 35px; }\n"
    "QScrollBar::add-page, QScrollBar::sub-page { width: 0px; height: 0px; background: none; }\n"
    "QScrollBar::add-line, QScrollBar::sub-line { width: 0px; height: 0px; border: none; }\n"
    "QAbstractScrollArea::corner { background: transparent; }\n";

const char kTitleStyle[] =
    ".ElidedLabel {\n\tfont: bold 11pt 'Segoe UI';\n\tqproperty-max_lines: 1;\n"
    "\tmargin-top: 7px;\n\tmargin-left: 4px;\n}";

const char kCloseStyle[] =
    "QPushButton {\n"
    "  border: none; background: transparent;\n"
    "  image: url(:/kolv_lite/Resources/Images/Buttons/btnTooltipClose_Normal.png);\n"
    "}\n"
    "QPushButton:hover, QPushButton:focus {\n"
    "  image: url(:/kolv_lite/Resources/Images/Buttons/btnTooltipClose_Over.png);\n"
    "}\n";

// The body shows descriptions that may carry markup; it never follows links and loads images
// only from the program's own resources, never from files or the network.
class DescriptionBody : public QTextBrowser {
 public:
  explicit DescriptionBody(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    setOpenExternalLinks(false);
  }

  QVariant loadResource(int type, const QUrl& name) override {
    const bool own = name.scheme() == QLatin1String("qrc") ||
                     (name.scheme().isEmpty() && name.path().startsWith(QLatin1Char(':')));
    return own ? QTextBrowser::loadResource(type, name) : QVariant();
  }
};

}  // namespace

DescriptionPopup::DescriptionPopup(QWidget* parent) : QFrame(parent) {
  setObjectName("DescriptionPopup");
  resize(400, 150);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  setMinimumSize(400, 150);
  setMaximumSize(400, 243);
  setAccessibleName("TestDescription");
  setFrameShape(QFrame::NoFrame);
  setFrameShadow(QFrame::Plain);
  setLineWidth(0);
  setAutoFillBackground(false);
  setStyleSheet(kPopupStyle);

  gridLayout_ = new QGridLayout(this);
  gridLayout_->setObjectName("gridLayout");
  gridLayout_->setVerticalSpacing(4);
  gridLayout_->setContentsMargins(14, 7, 12, 20);

  frame_ = new ElidedLabel(this);
  frame_->setObjectName("frame");
  frame_->setMinimumHeight(25);
  frame_->setFrameShape(QFrame::NoFrame);
  frame_->setStyleSheet(kTitleStyle);
  gridLayout_->addWidget(frame_, 0, 0, 1, 2);

  pushButton_ = new QPushButton(this);
  pushButton_->setObjectName("pushButton");
  pushButton_->setFixedSize(15, 15);
  pushButton_->setFlat(true);
  pushButton_->setStyleSheet(kCloseStyle);
  gridLayout_->addWidget(pushButton_, 0, 2);

  textBrowser_ = new DescriptionBody(this);
  textBrowser_->setObjectName("textBrowser");
  textBrowser_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
  textBrowser_->setFrameShape(QFrame::NoFrame);
  textBrowser_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  textBrowser_->setContextMenuPolicy(Qt::NoContextMenu);
  gridLayout_->addWidget(textBrowser_, 1, 0, 1, 3);

  auto* shadow = new QGraphicsDropShadowEffect(this);
  shadow->setBlurRadius(10);
  shadow->setOffset(3, 3);
  shadow->setColor(QColor(205, 205, 205));
  setGraphicsEffect(shadow);

  connect(qApp, &QApplication::focusChanged, this, &DescriptionPopup::focusChanged);
  connect(pushButton_, &QPushButton::clicked, this, &DescriptionPopup::CloseClicked);
}

DescriptionPopup::~DescriptionPopup() {
  if (trap_active_) qApp->removeEventFilter(this);
}

void DescriptionPopup::SetTitle(QString title) { frame_->set_text(std::move(title)); }

void DescriptionPopup::SetText(QString text) { textBrowser_->setText(text); }

void DescriptionPopup::SetPlainText(const QString& text) { textBrowser_->setPlainText(text); }

bool DescriptionPopup::Contains(const QObject* object) const {
  const auto* widget = qobject_cast<const QWidget*>(object);
  return widget != nullptr && (widget == this || isAncestorOf(widget));
}

void DescriptionPopup::showEvent(QShowEvent* event) {
  QFrame::showEvent(event);
  qApp->installEventFilter(this);
  trap_active_ = true;
  pushButton_->setFocus();
}

void DescriptionPopup::hideEvent(QHideEvent* event) {
  trap_active_ = false;
  qApp->removeEventFilter(this);
  QFrame::hideEvent(event);
}

bool DescriptionPopup::eventFilter(QObject* object, QEvent* event) {
  // Window objects see the press before the widget under the mouse does; only widgets count.
  if (event->type() == QEvent::MouseButtonPress && object->isWidgetType() && !Contains(object)) {
    trap_active_ = false;
  }
  return false;
}

void DescriptionPopup::focusChanged(QWidget* from, QWidget* to) {
  if (!trap_active_ || Contains(to)) return;
  // Focus leaving the pop-up goes back to its other focusable part, so Tab cycles inside it.
  // The focus moves directly: a synthetic Tab sent after it would move it once more and skip
  // the part just chosen.
  if (from == pushButton_) {
    textBrowser_->setFocus(Qt::TabFocusReason);
  } else if (from == textBrowser_) {
    pushButton_->setFocus(Qt::TabFocusReason);
  }
}
