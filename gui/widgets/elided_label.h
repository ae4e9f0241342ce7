#pragma once

#include <QFrame>
#include <QString>

class QTextLayout;

// A frame that paints its text in at most max_lines lines and elides the last one. The text is
// always plain.
class ElidedLabel : public QFrame {
  Q_OBJECT
  Q_PROPERTY(QString text READ text WRITE set_text)
  Q_PROPERTY(int max_lines READ max_lines WRITE set_max_lines)
  Q_PROPERTY(WrapMode wrap_mode READ wrap_mode WRITE set_wrap_mode)
  Q_PROPERTY(Alignment alignment READ alignment WRITE set_alignment)
  Q_PROPERTY(Qt::TextElideMode elide_mode READ elide_mode WRITE set_elide_mode)
  Q_PROPERTY(bool elided READ elided NOTIFY ElisionChanged)

 public:
  enum WrapMode { NoWrap = 0, WordWrap = 1, WrapAtWordBoundaryOrAnywhere = 2 };
  Q_ENUM(WrapMode)
  enum Alignment { NoAlign = 0, AlignSingleLineHCenter = 1, AlignVCenter = 2 };
  Q_ENUM(Alignment)

  explicit ElidedLabel(QWidget* parent = nullptr);
  ElidedLabel(QString text, QWidget* parent = nullptr);

  QString text() const { return text_; }
  void set_text(const QString& text);
  int max_lines() const { return max_lines_; }
  void set_max_lines(int max_lines) { max_lines_ = max_lines; }
  WrapMode wrap_mode() const { return wrap_mode_; }
  void set_wrap_mode(WrapMode mode) { wrap_mode_ = mode; }
  Alignment alignment() const { return alignment_; }
  void set_alignment(Alignment alignment) { alignment_ = alignment; }
  Qt::TextElideMode elide_mode() const { return elide_mode_; }
  void set_elide_mode(Qt::TextElideMode mode) { elide_mode_ = mode; }
  bool elided() const { return elided_; }

  bool hasHeightForWidth() const override;
  int heightForWidth(int width) const override;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void ElisionChanged(bool elided);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct LineLayout {
    int lines = 0;           // lines that will be drawn
    bool last_elided = false;  // the last drawn line takes the rest of the text, elided
  };
  // How many lines the text takes in the given line width and available height (negative
  // height: no limit but max_lines).
  LineLayout Plan(const QFont& font, int line_width, int available_height) const;
  void SetUpLayout(QTextLayout& layout, const QFont& font) const;

  QString text_;
  int max_lines_ = 1;
  WrapMode wrap_mode_ = WordWrap;
  Alignment alignment_ = NoAlign;
  Qt::TextElideMode elide_mode_ = Qt::ElideRight;
  bool elided_ = false;
};
