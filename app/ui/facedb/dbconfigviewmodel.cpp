#include "dbconfigviewmodel.h"

#include <QBrush>
#include <QColor>

namespace {
const char kCheckedRowColour[] = "#F0F8FF";
}

DBConfigViewModel::DBConfigViewModel(QObject* parent) : QAbstractTableModel(parent) {}

int DBConfigViewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : records_.size();
}

int DBConfigViewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString DBConfigViewModel::statusText(int status) {
    switch (status) {
        case 0:
            return tr("NotExtract");
        case 1:
            return tr("HasExtracted");
        case 2:
            return tr("HasError");
        default:
            return QString();
    }
}

QVariant DBConfigViewModel::displayData(const CheckedRecord& record, int row, int column) const {
    const SFeatrueInfo& info = record.info;
    if (column == NumberColumn) return row + 1;
    if (column == NameColumn) return info.name;
    if (column >= FirstExtColumn && column < FirstExtColumn + SFeatrueInfo::kExtCount)
        return info.ext.value(column - FirstExtColumn);
    if (column == StatusColumn) return statusText(info.status);
    return QVariant();
}

QVariant DBConfigViewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= records_.size()) return QVariant();
    const CheckedRecord& record = *records_.at(index.row());
    switch (role) {
        case Qt::DisplayRole:
            return displayData(record, index.row(), index.column());
        case Qt::CheckStateRole:
            if (index.column() == CheckColumn) return record.checked ? Qt::Checked : Qt::Unchecked;
            return QVariant();
        case Qt::TextAlignmentRole:
            return int(Qt::AlignCenter);
        case Qt::BackgroundRole:
            if (record.checked) return QBrush(QColor(kCheckedRowColour), Qt::SolidPattern);
            return QVariant();
        case Qt::UserRole:
            if (index.column() == ImageColumn) return record.info.url;
            return QVariant();
        default:
            return QVariant();
    }
}

bool DBConfigViewModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= records_.size()) return false;
    if (role != Qt::CheckStateRole || index.column() != CheckColumn) return false;
    const bool checked = value.toInt() == Qt::Checked;
    records_[index.row()]->checked = checked;
    emit signalChecked(checked);
    announceRow(index.row());
    return true;
}

Qt::ItemFlags DBConfigViewModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == CheckColumn) flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant DBConfigViewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return QVariant();
    if (orientation == Qt::Vertical) return QString("%1").arg(section + 1);
    switch (section) {
        case CheckColumn:
            return QString();
        case NumberColumn:
            return tr("All");
        case NameColumn:
            return tr("Name");
        case FirstExtColumn:
            return tr("User define 1");
        case FirstExtColumn + 1:
            return tr("User define 2");
        case FirstExtColumn + 2:
            return tr("User define 3");
        case FirstExtColumn + 3:
            return tr("User define 4");
        case FirstExtColumn + 4:
            return tr("User define 5");
        case StatusColumn:
            return tr("Feature status");
        case ImageColumn:
            return tr("Show Image");
        default:
            return tr("undefined");
    }
}

void DBConfigViewModel::setRecords(const CheckedRecordList& records) {
    beginResetModel();
    records_ = records;
    endResetModel();
}

void DBConfigViewModel::clear() {
    setRecords({});
}

CheckedRecordPtr DBConfigViewModel::record(int row) const {
    return records_.value(row);
}

CheckedRecordList DBConfigViewModel::checkedRecords() const {
    CheckedRecordList checked;
    for (const CheckedRecordPtr& record : records_)
        if (record->checked) checked.append(record);
    return checked;
}

int DBConfigViewModel::checkedCount() const {
    return checkedRecords().size();
}

void DBConfigViewModel::setAllChecked(bool checked) {
    for (const CheckedRecordPtr& record : records_)
        record->checked = checked;
    refreshChecks();
}

void DBConfigViewModel::toggle(int row) {
    if (row < 0 || row >= records_.size()) return;
    setData(index(row, CheckColumn), records_.at(row)->checked ? Qt::Unchecked : Qt::Checked,
            Qt::CheckStateRole);
}

void DBConfigViewModel::refreshChecks() {
    if (records_.isEmpty()) return;
    emit dataChanged(index(0, 0), index(records_.size() - 1, ColumnCount - 1));
}

void DBConfigViewModel::announceRow(int row) {
    // Column 0 too: a toggle by double click must repaint the box.
    emit dataChanged(index(row, CheckColumn), index(row, ColumnCount - 1));
}
