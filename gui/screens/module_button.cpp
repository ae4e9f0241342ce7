#include "gui/screens/module_button.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QStyleOptionButton>
#include <QTextLayout>
#include <cmath>

#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/translation_keys.h"
#include "morva_service/types.h"
#include "morva_service/views.h"

namespace {

constexpr int kContentMargin = 5;
constexpr int kMaxTitleLines = 2;
constexpr int kIconToTitleGap = 10;
constexpr double kTileInches = 1.3958;
constexpr double kIconInches = 0.8125;
constexpr double kDisabledOpacity = 0.4;
constexpr int kFallbackDpi = 96;

const char kStyleSheet[] =
    "ModuleButton{    border: 1px solid transparent;    padding: 5px;\tborder-radius: 2px;}"
    "ModuleButton:hover {\tborder: 1px solid #6ebfff;\tbackground-color: #dbfeff;}"
    "ModuleButton:pressed {\tborder: 1px solid #6ebfff;\tbackground-color: #dbfeff;}"
    "ModuleButton:focus {\tborder: 1px solid #6ebfff;\tbackground-color: #dbfeff;}";
const char kIconPathTemplate[] = ":%1/resources/icon/icon.png";
const char kVersionTemplate[] = "v%1.%2.%3.%4";

QFont TitleFont() {
  QFont font(QStringLiteral("Segoe UI"), 9);
  font.setWeight(QFont::Bold);
  return font;
}

QFont StatusFont() {
  QFont font(QStringLiteral("Segoe UI"), 8);
  font.setWeight(QFont::Normal);
  return font;
}

void PhysicalDpi(double& x, double& y) {
  x = y = kFallbackDpi;
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    if (screen->physicalDotsPerInchX() > 0) x = screen->physicalDotsPerInchX();
    if (screen->physicalDotsPerInchY() > 0) y = screen->physicalDotsPerInchY();
  }
}

}  // namespace

QString ModuleButton::IconPath(const QString& module_name) {
  return QString::fromLatin1(kIconPathTemplate).arg(module_name.toLower());
}

ModuleButton::ModuleButton(morva_service::ModuleInterfaceView* module, QWidget* parent)
    : QPushButton(parent), module_(module) {
  const std::string name = module_ != nullptr ? module_->name() : std::string();
  icon_ = QPixmap(IconPath(QString::fromStdString(name)));

  setContentsMargins(kContentMargin, kContentMargin, kContentMargin, kContentMargin);
  setStyleSheet(QLatin1String(kStyleSheet));

  double dpi_x = 0;
  double dpi_y = 0;
  PhysicalDpi(dpi_x, dpi_y);
  setFixedSize(static_cast<int>(std::ceil(dpi_x * kTileInches)),
               static_cast<int>(std::ceil(dpi_y * kTileInches)));
  if (!icon_.isNull()) {
    icon_ = icon_.scaledToHeight(static_cast<int>(dpi_y * kIconInches), Qt::SmoothTransformation);
  }

  title_ = KolvLiteTranslate(name, name);
  // A module may come without a version; the tile then simply shows none.
  const morva_service::ProductVersion* version = module_ != nullptr ? module_->version() : nullptr;
  if (version != nullptr) {
    version_text_ = QString::fromLatin1(kVersionTemplate)
                        .arg(version->major_number())
                        .arg(version->minor_number())
                        .arg(version->build_number())
                        .arg(version->revision_number());
  }

  connect(this, &QPushButton::clicked, this, &ModuleButton::on_click);
  // The state change event does not come for the initial state.
  setCursor(isEnabled() ? Qt::PointingHandCursor : Qt::ArrowCursor);
  setFocusPolicy(isEnabled() ? Qt::StrongFocus : Qt::NoFocus);
}

ModuleButton::~ModuleButton() = default;

void ModuleButton::on_click() { emit clicked(module_); }

void ModuleButton::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) {
    if (isEnabled()) {
      setCursor(Qt::PointingHandCursor);
      setFocusPolicy(Qt::StrongFocus);
    } else {
      setCursor(Qt::ArrowCursor);
      setFocusPolicy(Qt::NoFocus);
    }
  }
  QPushButton::changeEvent(event);
}

QStringList ModuleButton::TitleLines() const {
  QStringList lines;
  const QRect contents = contentsRect();
  QTextLayout layout(title_, TitleFont());
  QTextOption option(Qt::AlignHCenter);
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  layout.beginLayout();
  while (lines.size() < kMaxTitleLines) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    line.setLineWidth(contents.width());
    lines << title_.mid(line.textStart(), line.textLength()).trimmed();
  }
  layout.endLayout();
  return lines;
}

QString ModuleButton::StatusText() const {
  if (!isEnabled()) return KolvLiteTranslate(TranslationKeys::NOT_AVAILABLE);
  if (underMouse() || hasFocus()) return version_text_;
  return QString();
}

void ModuleButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.setOpacity(isEnabled() ? 1.0 : kDisabledOpacity);

  QStyleOptionButton panel;
  initStyleOption(&panel);
  panel.text.clear();
  panel.icon = QIcon();
  style()->drawControl(QStyle::CE_PushButtonBevel, &panel, &painter, this);

  const QMargins margins = contentsMargins();
  const QRect contents = contentsRect();
  if (!icon_.isNull()) {
    painter.drawPixmap(margins.left() + (contents.width() - icon_.width()) / 2, margins.top(),
                       icon_);
  }

  // Two lines of the title at most; the rest is not shown.
  const QFont title_font = TitleFont();
  const QFontMetrics title_metrics(title_font);
  painter.setFont(title_font);
  int y = icon_.height() + kIconToTitleGap;
  for (const QString& line : TitleLines()) {
    y += title_metrics.leading();
    painter.drawText(QRect(contents.left(), y, contents.width(), title_metrics.height()),
                     Qt::AlignHCenter | Qt::AlignTop, line);
    y += title_metrics.height();
  }

  const QString status = StatusText();
  if (!status.isEmpty()) {
    const QFont status_font = StatusFont();
    painter.setFont(status_font);
    const QRect status_rect(contents.left(), y, contents.width(),
                            QFontMetrics(status_font).height());
    painter.drawText(status_rect, Qt::AlignHCenter | Qt::AlignTop, status);
  }
}
