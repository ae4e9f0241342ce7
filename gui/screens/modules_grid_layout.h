// Places widgets left to right and wraps them into rows, like words in a paragraph: the module
// tiles of the home screen and the groups of the system information screen.
#pragma once

#include <QLayout>
#include <QList>

class ModulesGridLayout : public QLayout {
  Q_OBJECT

 public:
  explicit ModulesGridLayout(QWidget* parent = nullptr);
  ~ModulesGridLayout() override;

  void addItem(QLayoutItem* item) override;
  QLayoutItem* itemAt(int index) const override;
  QLayoutItem* takeAt(int index) override;
  int count() const override;

  // Values below 1 keep the spacing as it is.
  void SetItemSpacing(int spacing);
  int item_spacing() const { return spacing_; }

  bool hasHeightForWidth() const override;
  int heightForWidth(int width) const override;
  QSize sizeHint() const override;
  QSize minimumSize() const override;
  void setGeometry(const QRect& rect) override;

 private:
  // Walks the items as setGeometry places them inside rect and returns the height they take;
  // places them only when place is true, so the height asked for and the placement never differ.
  int DoLayout(const QRect& rect, bool place) const;

  int spacing_;
  QList<QLayoutItem*> items_;
};
