// Table model of the list views (see list_view_model.h).
#include "ui/widgets/list_view_model.h"

#include <QApplication>
#include <QStyle>

#include "platform/dates.h"

namespace dovetam {

namespace {

// A name as the lists show it: each control character as its visible symbol
// (U+2400 plus its code, U+2421 for DEL; a line break shows as U+240A), so
// that every entry is one row of one line and two names that differ only
// there can be told apart. The name itself is not changed.
QString Shown(const std::u16string& name) {
  QString shown = QString::fromStdU16String(name);
  for (QChar& c : shown) {
    const char16_t code = c.unicode();
    if (code < 0x20)
      c = QChar(static_cast<char16_t>(0x2400 + code));
    else if (code == 0x7F)
      c = QChar(u'\u2421');
  }
  return shown;
}

}  // namespace

ListViewModel::ListViewModel(const ListingTable* listing, const ObjectTable* objects,
                             QObject* parent)
    : QAbstractTableModel(parent), listing_(listing), objects_(objects) {
  columns_.push_back({});
  if (QApplication::instance() != nullptr && qobject_cast<QApplication*>(QApplication::instance())) {
    folderIcon_ = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
    fileIcon_ = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
  }
}

void ListViewModel::AddColumn() {
  const int n = ColumnCount();
  beginInsertColumns(QModelIndex(), n, n);
  columns_.push_back({});
  endInsertColumns();
}

void ListViewModel::RemoveLastColumn() {
  const int n = ColumnCount();
  if (n <= 1) return;
  beginRemoveColumns(QModelIndex(), n - 1, n - 1);
  columns_.pop_back();
  endRemoveColumns();
}

QString ListViewModel::ColumnTitle(int column) const {
  return column >= 0 && column < ColumnCount() ? columns_[column].title : QString();
}

std::u16string ListViewModel::ColumnKey(int column) const {
  return column >= 0 && column < ColumnCount() ? columns_[column].key : std::u16string();
}

void ListViewModel::SetColumnTitle(int column, const QString& title) {
  if (column < 0 || column >= ColumnCount()) return;
  columns_[column].title = title;
  emit headerDataChanged(Qt::Horizontal, column, column);
}

void ListViewModel::SetColumnKey(int column, const std::u16string& key) {
  if (column < 0 || column >= ColumnCount()) return;
  columns_[column].key = key;
}

void ListViewModel::Fill(const std::vector<int32_t>& order, int32_t count, bool viewModified,
                         bool viewCreated) {
  // The rows are made before the reset begins: when memory runs out for
  // them, the model and its views stay as they were.
  std::vector<int32_t> rows(order.begin() + 1, order.begin() + 1 + count);
  beginResetModel();
  entries_.swap(rows);
  fields_[1] = viewModified ? Field::Modified : (viewCreated ? Field::Created : Field::None);
  fields_[2] = viewModified && viewCreated ? Field::Created : Field::None;
  endResetModel();
}

void ListViewModel::Clear() {
  beginResetModel();
  entries_.clear();
  endResetModel();
}

QString ListViewModel::Text(int row, int column) const {
  if (row < 0 || row >= RowCount() || column < 0 || column > 2) return {};
  const int32_t e = entries_[static_cast<std::size_t>(row)];
  if (listing_ != nullptr) {
    if (e < 1 || e >= static_cast<int32_t>(listing_->ListName.size())) return {};
    if (column == 0) return Shown(listing_->ListName[e]);
    if (fields_[column] == Field::Modified) return QString::fromStdU16String(FormatDate(listing_->ListModified[e]));
    if (fields_[column] == Field::Created) return QString::fromStdU16String(FormatDate(listing_->ListCreated[e]));
    return {};
  }
  if (e < 1 || e >= static_cast<int32_t>(objects_->ObjName.size())) return {};
  if (column == 0) return Shown(objects_->ObjFolder[e] + objects_->ObjName[e]);
  if (fields_[column] == Field::Modified) return QString::fromStdU16String(FormatDate(objects_->ObjModified[e]));
  if (fields_[column] == Field::Created) return QString::fromStdU16String(FormatDate(objects_->ObjCreated[e]));
  return {};
}

int ListViewModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : RowCount();
}

int ListViewModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount();
}

QVariant ListViewModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::DisplayRole) return Text(index.row(), index.column());
  if (role == Qt::DecorationRole && index.column() == 0) {
    const int32_t e = entries_[static_cast<std::size_t>(index.row())];
    bool isFolder = false;
    if (listing_ != nullptr) {
      if (e >= 1 && e < static_cast<int32_t>(listing_->ListIsFolder.size())) isFolder = listing_->ListIsFolder[e];
    } else if (e >= 1 && e < static_cast<int32_t>(objects_->ObjIsFolder.size())) {
      isFolder = objects_->ObjIsFolder[e];
    }
    return isFolder ? folderIcon_ : fileIcon_;
  }
  return {};
}

QVariant ListViewModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return ColumnTitle(section);
  return {};
}

Qt::ItemFlags ListViewModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::ItemIsDropEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace dovetam
