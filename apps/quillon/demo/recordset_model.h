// A recordset the host received, as a Qt table model: one row per row of its view, the field
// names as column headers. Cells are read when the view asks for them, so large recordsets
// cost nothing until they are scrolled to. They read as the dialogs' lists read
// (ui/qt/cell_display.h): numbers right-aligned, fractional ones with the account's quantity
// decimals, negative ones red, dates in one form; NULL in grey.
#pragma once

#include <QAbstractTableModel>
#include <memory>
#include <string>
#include <vector>

#include "ui/qt/cell_display.h"

namespace quillon::ado {
class Recordset;
class RecordsetView;
}  // namespace quillon::ado

namespace quillon::cli::demo {

class RecordsetModel : public QAbstractTableModel {
 public:
  // `rows` is the model's own copy; null or closed shows nothing. `numberFormat` is the pattern
  // of fractional numbers ("##0.00"; empty: as they come).
  explicit RecordsetModel(std::shared_ptr<ado::Recordset> rows, std::string numberFormat = {},
                          QObject* parent = nullptr);
  ~RecordsetModel() override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::shared_ptr<ado::Recordset> rows_;
  std::unique_ptr<ado::RecordsetView> view_;
  std::vector<ui::qt::ColumnLook> looks_;
};

}  // namespace quillon::cli::demo
