// ControlListModel: the control's entries as item-view rows, converted to
// UTF-16 only when a row is drawn or read.
// Qt binding of the named-controls layer (src/forms/qt).
#include "forms/qt/list_model.h"

#include "forms/qt/qt_units.h"

namespace forms::qt {

ControlListModel::ControlListModel(const Control& control, QObject* parent)
    : QAbstractListModel(parent),
      control_(control),
      rows_(control.ListCount()),
      changesSeen_(control.ListChanges()) {}

QModelIndex ControlListModel::index(int row, int column, const QModelIndex& parent) const {
  if (row < 0 || row >= rows_ || column != 0 || parent.isValid()) return {};
  return createIndex(row, column);
}

int ControlListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

QVariant ControlListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
  const std::vector<std::string>& items = control_.Items();
  const int row = index.row();
  // Between a change of the entries and Sync the two counts may differ.
  if (!index.isValid() || row >= rows_ || row >= static_cast<int>(items.size())) return {};
  return ToQString(items[static_cast<std::size_t>(row)]);
}

void ControlListModel::Sync() {
  const int count = control_.ListCount();
  const bool oneChange = control_.ListChanges() == changesSeen_ + 1;
  changesSeen_ = control_.ListChanges();
  const int at = control_.LastInsertedAt();
  if (oneChange && count == rows_ + 1 && at >= 0 && at < rows_) {
    // One line put where it belongs in a sorted list (the rate editor's
    // typed line): the rows after it move down.
    beginInsertRows(QModelIndex(), at, at);
    rows_ = count;
    endInsertRows();
    return;
  }
  if (count > rows_) {
    // Entries added at the end; after several changes told at once, the
    // rows already there are redrawn too (one repaint).
    const int shown = rows_;
    beginInsertRows(QModelIndex(), shown, count - 1);
    rows_ = count;
    endInsertRows();
    if (shown > 0 && !oneChange) emit dataChanged(index(0), index(shown - 1));
    return;
  }
  beginResetModel();
  rows_ = count;
  endResetModel();
}

}  // namespace forms::qt
