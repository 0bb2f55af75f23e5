// The table model behind the three list views (folder listing, target list,
// order list). It holds no copy of names or dates: a fill takes the display
// order (ListOrder or OrderIndex, positions 1..n) and the rows read their
// entry from the table when the view asks, so filling 100,000 rows is one
// copy of 100,000 numbers and a date is formatted only when its row is drawn.
//
// Columns are set by the header builders: a title and a key ("k1", "k2",
// "k3") each, added and removed at the end. Row r (0-based) is display
// position r + 1. A name shows with each control character as a visible
// symbol (U+240A for a line break), so every entry is one line.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <cstdint>
#include <string>
#include <vector>

#include "core/objects/listing_table.h"
#include "core/objects/object_table.h"

namespace dovetam {

class ListViewModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  ListViewModel(const ListingTable* listing, const ObjectTable* objects, QObject* parent = nullptr);

  // Columns.
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  void AddColumn();
  void RemoveLastColumn();
  QString ColumnTitle(int column) const;
  std::u16string ColumnKey(int column) const;
  void SetColumnTitle(int column, const QString& title);
  void SetColumnKey(int column, const std::u16string& key);

  // Rows: the entries at display positions 1..count of `order`. The date
  // fields of columns 2 and 3 follow the two view settings at fill time.
  void Fill(const std::vector<int32_t>& order, int32_t count, bool viewModified, bool viewCreated);
  void Clear();
  int32_t RowCount() const { return static_cast<int32_t>(entries_.size()); }
  // The texts of a row as shown: a date as formatted, a control character
  // of a name (a line break, a tab, ...) as its visible symbol.
  QString Text(int row, int column) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  enum class Field { None, Modified, Created };
  struct Column {
    QString title;
    std::u16string key;
  };

  const ListingTable* listing_;  // set for the folder listing
  const ObjectTable* objects_;   // set for the target and order lists
  std::vector<Column> columns_;
  std::vector<int32_t> entries_;
  Field fields_[3] = {Field::None, Field::None, Field::None};
  QIcon folderIcon_;
  QIcon fileIcon_;
};

}  // namespace dovetam
