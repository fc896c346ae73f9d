// A list box's view whose work does not grow with its rows: one column,
// every row as high as the last, scrolled a whole row at a time.
// Qt binding of the named-controls layer (src/forms/qt).
//
// QListView keeps the position of every row and lays them all out again
// after each change of the rows, even when they are all the same height: a
// history of 32767 lines costs a millisecond per list and per change. Here
// a row's place is its number times the row height, so layout, hit tests,
// scrolling and painting cost what the visible rows cost. It stays a
// QListView (the accessibility list interface, qobject_cast and the input
// routing know it as one) and looks and reacts as one in the mode it is
// used in: top to bottom, no wrapping, no hidden rows, uniform row sizes,
// per-row vertical scrolling.
#pragma once

#include <utility>

#include <QListView>

namespace forms::qt {

class UniformListView : public QListView {
  Q_OBJECT

 public:
  explicit UniformListView(QWidget* parent = nullptr);

  void doItemsLayout() override;
  void reset() override;
  [[nodiscard]] QRect visualRect(const QModelIndex& index) const override;
  [[nodiscard]] QModelIndex indexAt(const QPoint& point) const override;
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

 protected:
  void updateGeometries() override;
  void scrollContentsBy(int dx, int dy) override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void rowsInserted(const QModelIndex& parent, int start, int end) override;
  void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                   const QList<int>& roles = QList<int>()) override;
  [[nodiscard]] QModelIndex moveCursor(CursorAction action,
                                       Qt::KeyboardModifiers modifiers) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
  void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
  [[nodiscard]] QRegion visualRegionForSelection(const QItemSelection& selection) const override;
  [[nodiscard]] int horizontalOffset() const override;
  [[nodiscard]] int verticalOffset() const override;

 private:
  // The size every row is given; empty without rows.
  [[nodiscard]] QSize rowSize() const;
  [[nodiscard]] int rowCount() const;
  // Rows wholly inside the viewport (at least 1 once there are rows).
  [[nodiscard]] int wholeRowsShown() const;
  // The rows [first, last] a rectangle of the viewport touches, clamped to
  // the rows there are; first > last when it touches none.
  [[nodiscard]] std::pair<int, int> rowsIn(const QRect& rect) const;
  void forgetRowSize() { rowSize_ = QSize(); }

  mutable QSize rowSize_;  // asked of the delegate once per layout
};

}  // namespace forms::qt
