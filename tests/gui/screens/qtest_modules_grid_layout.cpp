// The flowing grid of the home screen: rows for one to nine tiles in several widths, the height
// it asks for against the places it gives, and its spacing rule.
#include <QWidget>
#include <QtTest>
#include <memory>

#include "gui/screens/modules_grid_layout.h"

namespace {

constexpr int kTile = 134;
constexpr int kSpacing = 20;

// A grid of fixed tiles inside a parentless container.
struct Grid {
  explicit Grid(int tiles, QSize tile = QSize(kTile, kTile)) : container(new QWidget) {
    layout = new ModulesGridLayout(nullptr);
    layout->SetItemSpacing(kSpacing);
    container->setLayout(layout);
    for (int i = 0; i < tiles; ++i) {
      auto* widget = new QWidget;
      widget->setFixedSize(tile);
      layout->addWidget(widget);
    }
  }
  // Places the tiles in a width and returns the distinct row tops, top to bottom.
  QList<int> RowTops(int width) {
    layout->setGeometry(QRect(0, 0, width, 10000));
    QList<int> tops;
    for (int i = 0; i < layout->count(); ++i) {
      const int top = layout->itemAt(i)->geometry().top();
      if (!tops.contains(top)) tops << top;
    }
    return tops;
  }
  std::unique_ptr<QWidget> container;
  ModulesGridLayout* layout;
};

}  // namespace

class ModulesGridLayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void RowsForOneToNineTiles_data() {
    QTest::addColumn<int>("tiles");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("per_row");
    // A row holds n tiles when n * tile + (n - 1) * spacing fits the width.
    for (int tiles = 1; tiles <= 9; ++tiles) {
      for (int width : {134, 200, 307, 308, 461, 462, 600, 615, 616, 1000}) {
        const int per_row = std::max(1, (width + kSpacing) / (kTile + kSpacing));
        QTest::addRow("%d tiles in %d px", tiles, width) << tiles << width << per_row;
      }
    }
  }

  void RowsForOneToNineTiles() {
    QFETCH(int, tiles);
    QFETCH(int, width);
    QFETCH(int, per_row);
    Grid grid(tiles);
    const int rows = (tiles + per_row - 1) / per_row;
    const QList<int> tops = grid.RowTops(width);
    QCOMPARE(tops.size(), rows);
    for (int row = 0; row < rows; ++row) QCOMPARE(tops[row], row * (kTile + kSpacing));
    // The height asked for is exactly what the placement uses.
    QCOMPARE(grid.layout->heightForWidth(width), rows * kTile + (rows - 1) * kSpacing);
    for (int i = 0; i < tiles; ++i) {
      const QRect place = grid.layout->itemAt(i)->geometry();
      QCOMPARE(place.left(), (i % per_row) * (kTile + kSpacing));
      QVERIFY2(place.right() < width || i % per_row == 0, qPrintable(QString::number(i)));
    }
  }

  void FifthTileWrapsToTheLeftEdge() {
    Grid grid(5);
    grid.layout->setGeometry(QRect(10, 30, 600, 400));
    QCOMPARE(grid.layout->itemAt(3)->geometry(), QRect(10 + 3 * 154, 30, kTile, kTile));
    QCOMPARE(grid.layout->itemAt(4)->geometry(), QRect(10, 30 + kTile + kSpacing, kTile, kTile));
  }

  void TileWiderThanTheAreaKeepsTheFirstRow() {
    Grid grid(2, QSize(300, 50));
    const QList<int> tops = grid.RowTops(200);
    QCOMPARE(tops, (QList<int>{0, 50 + kSpacing}));
    QCOMPARE(grid.layout->heightForWidth(200), 2 * 50 + kSpacing);
  }

  void RowStepIsTheTallestTileSoFar() {
    Grid grid(0);
    for (int height : {40, 90, 30}) {
      auto* widget = new QWidget;
      widget->setFixedSize(100, height);
      grid.layout->addWidget(widget);
    }
    // One tile per row: the third row starts one tallest tile (90) below the second.
    QCOMPARE(grid.RowTops(150), (QList<int>{0, 40 + kSpacing, 40 + 90 + 2 * kSpacing}));
    QCOMPARE(grid.layout->heightForWidth(150), 40 + 90 + 2 * kSpacing + 90);
  }

  void SpacingBelowOneIsIgnored() {
    ModulesGridLayout layout;
    QCOMPARE(layout.item_spacing(), 0);
    layout.SetItemSpacing(20);
    layout.SetItemSpacing(0);
    layout.SetItemSpacing(-3);
    QCOMPARE(layout.item_spacing(), 20);
  }

  void ItemsTakenOutAndSizes() {
    Grid grid(3, QSize(60, 40));
    grid.layout->itemAt(1)->widget()->setFixedSize(80, 30);
    QCOMPARE(grid.layout->minimumSize(), QSize(80, 40));
    QCOMPARE(grid.layout->sizeHint(), QSize(80, 40));
    QVERIFY(grid.layout->hasHeightForWidth());
    QVERIFY(grid.layout->itemAt(-1) == nullptr);
    QVERIFY(grid.layout->itemAt(3) == nullptr);
    QVERIFY(grid.layout->takeAt(3) == nullptr);
    std::unique_ptr<QLayoutItem> item(grid.layout->takeAt(0));
    QVERIFY(item != nullptr);
    QCOMPARE(grid.layout->count(), 2);
    delete item->widget();
    QCOMPARE(ModulesGridLayout().minimumSize(), QSize(-1, -1));
    QCOMPARE(ModulesGridLayout().heightForWidth(500), 0);
  }
};

QTEST_MAIN(ModulesGridLayoutTest)
#include "qtest_modules_grid_layout.moc"
