// UniformListView: rows placed by arithmetic, painted only where shown.
// Qt binding of the named-controls layer (src/forms/qt).
#include "forms/qt/uniform_list_view.h"

#include <algorithm>

#include <QAbstractItemDelegate>
#include <QAccessible>
#include <QCursor>
#include <QEvent>
#include <QItemSelectionModel>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionViewItem>

namespace forms::qt {

UniformListView::UniformListView(QWidget* parent) : QListView(parent) { setUniformItemSizes(true); }

QSize UniformListView::rowSize() const {
  if (!rowSize_.isValid()) {
    if (rowCount() == 0) return {};
    // The last row, as QListView takes it: the likeliest to be the widest.
    const QModelIndex last = model()->index(rowCount() - 1, modelColumn(), rootIndex());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    rowSize_ = itemDelegateForIndex(last)->sizeHint(option, last);
  }
  return rowSize_;
}

int UniformListView::rowCount() const {
  return model() != nullptr ? model()->rowCount(rootIndex()) : 0;
}

int UniformListView::wholeRowsShown() const {
  const int height = rowSize().height();
  return height > 0 ? std::max(1, viewport()->height() / height) : 1;
}

std::pair<int, int> UniformListView::rowsIn(const QRect& rect) const {
  const QSize size = rowSize();
  const int count = rowCount();
  constexpr std::pair<int, int> kNone{0, -1};
  if (count == 0 || size.height() <= 0 || !rect.isValid()) return kNone;
  const int width = std::max(size.width(), viewport()->width());
  const int left = rect.left() + horizontalOffset();
  const int top = rect.top() + verticalOffset();
  const int bottom = rect.bottom() + verticalOffset();
  if (rect.right() + horizontalOffset() < 0 || left >= width) return kNone;
  if (bottom < 0 || top >= count * size.height()) return kNone;
  return {std::max(0, top / size.height()), std::min(count - 1, bottom / size.height())};
}

// Whatever QListView would lay out in one pass over every row is left out:
// the rows need no places of their own.
void UniformListView::doItemsLayout() {
  forgetRowSize();
  QAbstractItemView::doItemsLayout();
}

void UniformListView::reset() {
  forgetRowSize();
  QListView::reset();
}

void UniformListView::rowsInserted(const QModelIndex& parent, int start, int end) {
  forgetRowSize();
  QListView::rowsInserted(parent, start, end);
}

void UniformListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                  const QList<int>& roles) {
  if (bottomRight.row() == rowCount() - 1) forgetRowSize();
  QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
}

void UniformListView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) forgetRowSize();
  QListView::changeEvent(event);
}

// The scroll bars QListView gives these lists: the vertical one counts rows
// (its page the rows wholly shown, its end the top row that shows the last
// one), the horizontal one pixels of the rows' width.
void UniformListView::updateGeometries() {
  forgetRowSize();
  const QSize size = rowSize();
  const int count = rowCount();
  QScrollBar* vertical = verticalScrollBar();
  QScrollBar* horizontal = horizontalScrollBar();
  if (geometry().isEmpty() || count == 0 || size.height() <= 0) {
    horizontal->setRange(0, 0);
    vertical->setRange(0, 0);
  } else {
    horizontal->setSingleStep(size.width());
    horizontal->setPageStep(viewport()->width());
    horizontal->setRange(0, std::max(0, size.width() - viewport()->width()));
    const bool fits = count * size.height() <= viewport()->height();
    const int page = fits ? count + 1 : viewport()->height() / size.height();
    vertical->setSingleStep(1);
    vertical->setPageStep(page);
    vertical->setRange(0, std::max(0, count - page));
  }
  QAbstractItemView::updateGeometries();
  if (horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff) horizontal->setRange(0, 0);
}

int UniformListView::horizontalOffset() const { return horizontalScrollBar()->value(); }

int UniformListView::verticalOffset() const {
  return verticalScrollBar()->value() * std::max(0, rowSize().height());
}

void UniformListView::scrollContentsBy(int dx, int dy) {
  // The vertical bar counts rows; the viewport moves by pixels.
  QAbstractItemView::scrollContentsBy(dx, dy * std::max(0, rowSize().height()));
}

QRect UniformListView::visualRect(const QModelIndex& index) const {
  if (!index.isValid() || index.parent() != rootIndex() || index.column() != modelColumn())
    return {};
  const QSize size = rowSize();
  if (size.height() <= 0) return {};
  // As wide as the viewport, or as the row's text when that is wider.
  return {-horizontalOffset(), index.row() * size.height() - verticalOffset(),
          std::max(size.width(), viewport()->width()), size.height()};
}

QModelIndex UniformListView::indexAt(const QPoint& point) const {
  const auto [first, last] = rowsIn(QRect(point, QSize(1, 1)));
  if (first > last) return {};
  return model()->index(last, modelColumn(), rootIndex());
}

void UniformListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
  if (index.parent() != rootIndex() || index.column() != modelColumn()) return;
  const QRect rect = visualRect(index);
  if (!rect.isValid()) return;
  const QRect area = viewport()->rect();
  if (hint == EnsureVisible) {
    if (area.contains(rect)) {
      viewport()->update(rect);
      return;
    }
    if (rect.top() < area.top()) {
      hint = PositionAtTop;
    } else if (rect.bottom() > area.bottom()) {
      hint = PositionAtBottom;
    } else {
      return;  // taller than the viewport and already across it
    }
  }
  const int row = index.row();
  // The top row that shows `row` as the last whole row.
  const int topForBottom = std::max(0, row - wholeRowsShown() + 1);
  int top = row;
  if (hint == PositionAtBottom) top = topForBottom;
  if (hint == PositionAtCenter) top = (row + topForBottom) / 2;
  verticalScrollBar()->setValue(top);
}

QModelIndex UniformListView::moveCursor(CursorAction action, Qt::KeyboardModifiers /*modifiers*/) {
  const int count = rowCount();
  if (count == 0) return {};
  const QModelIndex current = currentIndex();
  if (!current.isValid()) return model()->index(0, modelColumn(), rootIndex());
  // A page keeps one line of the one before in sight.
  const int page = std::max(1, wholeRowsShown() - 1);
  int row = current.row();
  switch (action) {
    case MoveUp:
    case MovePrevious: row -= 1; break;
    case MoveDown:
    case MoveNext: row += 1; break;
    case MovePageUp: row -= page; break;
    case MovePageDown: row += page; break;
    case MoveHome: row = 0; break;
    case MoveEnd: row = count - 1; break;
    case MoveLeft:
    case MoveRight: break;  // one column
  }
  return model()->index(std::clamp(row, 0, count - 1), modelColumn(), rootIndex());
}

void UniformListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
  if (selectionModel() == nullptr) return;
  auto [first, last] = rowsIn(rect.normalized());
  // A press selects the one row under it.
  if (rect.width() == 1 && rect.height() == 1) first = last;
  QItemSelection selection;
  if (first <= last) {
    const QModelIndex top = model()->index(first, modelColumn(), rootIndex());
    const QModelIndex bottom = model()->index(last, modelColumn(), rootIndex());
    if (first != last || (model()->flags(top) & Qt::ItemIsEnabled)) selection.select(top, bottom);
  }
  selectionModel()->select(selection, command);
}

QRegion UniformListView::visualRegionForSelection(const QItemSelection& selection) const {
  // Only the part of each range that can be seen needs repainting.
  const auto [shownFirst, shownLast] = rowsIn(viewport()->rect());
  QRegion region;
  for (const QItemSelectionRange& range : selection) {
    if (range.parent() != rootIndex() || range.left() > modelColumn() ||
        range.right() < modelColumn())
      continue;
    const int first = std::max(range.top(), shownFirst);
    const int last = std::min(range.bottom(), shownLast);
    if (first > last) continue;
    const QRect top = visualRect(model()->index(first, modelColumn(), rootIndex()));
    const QRect bottom = visualRect(model()->index(last, modelColumn(), rootIndex()));
    region += top.united(bottom);
  }
  return region;
}

void UniformListView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  // QListView's own announcement asks its per-row layout for the row's place.
  if (QAccessible::isActive() && current.isValid() && hasFocus()) {
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(current.row());
    QAccessible::updateAccessibility(&event);
  }
  QAbstractItemView::currentChanged(current, previous);
}

void UniformListView::selectionChanged(const QItemSelection& selected,
                                       const QItemSelection& deselected) {
  if (QAccessible::isActive()) {
    for (const auto& [indexes, type] :
         {std::pair{selected.indexes(), QAccessible::SelectionAdd},
          std::pair{deselected.indexes(), QAccessible::SelectionRemove}}) {
      if (indexes.isEmpty() || !indexes.front().isValid()) continue;
      QAccessibleEvent event(this, type);
      event.setChild(indexes.front().row());
      QAccessible::updateAccessibility(&event);
    }
  }
  QAbstractItemView::selectionChanged(selected, deselected);
}

// The rows the event's rectangle touches, each drawn by the delegate as
// QListView draws it: selection, focus, enabled state, alternate rows.
void UniformListView::paintEvent(QPaintEvent* event) {
  QAbstractItemDelegate* delegate = itemDelegate();
  if (delegate == nullptr) return;
  const auto [first, last] = rowsIn(event->rect());
  if (first > last) return;
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  const QStyle::State state = option.state;
  const bool enabled = (state & QStyle::State_Enabled) != 0;
  const QModelIndex current = currentIndex();
  const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
  QModelIndex hover;
  if (viewport()->testAttribute(Qt::WA_Hover) && viewport()->underMouse())
    hover = indexAt(viewport()->mapFromGlobal(QCursor::pos()));
  const QItemSelectionModel* selections = selectionModel();
  QPainter painter(viewport());
  for (int row = first; row <= last; ++row) {
    const QModelIndex index = model()->index(row, modelColumn(), rootIndex());
    option.rect = visualRect(index);
    option.state = state;
    if (selections != nullptr && selections->isSelected(index))
      option.state |= QStyle::State_Selected;
    if (enabled) {
      const bool itemEnabled = (model()->flags(index) & Qt::ItemIsEnabled) != 0;
      if (!itemEnabled) option.state &= ~QStyle::State_Enabled;
      option.palette.setCurrentColorGroup(itemEnabled ? QPalette::Normal : QPalette::Disabled);
    }
    if (focus && index == current) {
      option.state |= QStyle::State_HasFocus;
      if (this->state() == EditingState) option.state |= QStyle::State_Editing;
    }
    option.state.setFlag(QStyle::State_MouseOver, index == hover);
    option.features.setFlag(QStyleOptionViewItem::Alternate,
                            alternatingRowColors() && row % 2 == 1);
    itemDelegateForIndex(index)->paint(&painter, option, index);
  }
}

}  // namespace forms::qt
