// The rows a list box's view draws, read on demand from the control's own
// entries: a history of tens of thousands of lines is never copied.
// Qt binding of the named-controls layer (src/forms/qt).
#pragma once

#include <QAbstractListModel>

#include "forms/control.h"

namespace forms::qt {

class ControlListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  // Does not take ownership of `control`, which must outlive the model (the
  // form view holds both for as long as it lives).
  ControlListModel(const Control& control, QObject* parent);

  // Asked once per row whenever the view lays its rows out: kept to a
  // bounds check.
  [[nodiscard]] QModelIndex index(int row, int column = 0,
                                  const QModelIndex& parent = QModelIndex()) const override;
  [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;

  // Brings the rows in step with the control's entries after they changed.
  // Entries added at the end keep the view's selection and scroll position;
  // anything else redraws the list from scratch.
  void Sync();

 private:
  const Control& control_;
  int rows_ = 0;                   // the rows the views were told of
  std::uint64_t changesSeen_ = 0;  // the control's ListChanges() at the last Sync
};

}  // namespace forms::qt
