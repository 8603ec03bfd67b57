// A recordset the host received, as a Qt table model: one row per row of its view, the field
// names as column headers. Cells are read when the view asks for them, so large recordsets
// cost nothing until they are scrolled to.
#pragma once

#include <QAbstractTableModel>
#include <memory>

namespace quillon::ado {
class Recordset;
class RecordsetView;
}  // namespace quillon::ado

namespace quillon::cli::demo {

class RecordsetModel : public QAbstractTableModel {
 public:
  // `rows` is the model's own copy; null or closed shows nothing.
  explicit RecordsetModel(std::shared_ptr<ado::Recordset> rows, QObject* parent = nullptr);
  ~RecordsetModel() override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::shared_ptr<ado::Recordset> rows_;
  std::unique_ptr<ado::RecordsetView> view_;
};

}  // namespace quillon::cli::demo
