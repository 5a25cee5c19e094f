#include "progressmodel.h"

ProgressModel::ProgressModel(QObject* parent) : QAbstractTableModel(parent) {
    headers_ = QStringList{tr("Device"), tr("Progress"), tr("Operation"), tr("Note")};
}

bool ProgressModel::updateItem(const ProgressItem& item) {
    if (!items_.contains(item.device)) {
        beginInsertRows(QModelIndex(), keys_.size(), keys_.size());
        items_.insert(item.device, item);
        keys_.append(item.device);
        endInsertRows();
        return true;
    }
    ProgressItem& stored = items_[item.device];
    stored.progress = item.progress;
    stored.note = item.note;
    if (stored.progress >= 100) stored.state = ProgressItem::Finished;
    const int row = keys_.indexOf(item.device);
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    return false;
}

void ProgressModel::clearItems() {
    beginResetModel();
    items_.clear();
    keys_.clear();
    endResetModel();
}

int ProgressModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : keys_.size();
}

int ProgressModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : headers_.size();
}

QVariant ProgressModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= keys_.size()) return QVariant();
    const ProgressItem& item = items_[keys_.at(index.row())];
    const int column = index.column();
    if (role == Qt::DisplayRole && column == DeviceColumn) return item.device;
    if (role == Qt::DisplayRole && column == NoteColumn) return item.note;
    if (role == Qt::TextAlignmentRole && column == NoteColumn) return int(Qt::AlignCenter);
    if (role == Qt::UserRole && column == ProgressColumn) return item.progress;
    if (role == Qt::UserRole && column == OperationColumn) return item.state;
    return QVariant();
}

QVariant ProgressModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return QVariant();
    if (orientation == Qt::Vertical) return QString::number(section + 1);
    return section >= 0 && section < headers_.size() ? headers_.at(section)
                                                     : QStringLiteral("undefined");
}

// The view repaints the button from the changed state: without the notification a canceled
// row would keep showing "Cancel".
bool ProgressModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= keys_.size()) return false;
    if (role != Qt::UserRole || index.column() != OperationColumn) return false;
    items_[keys_.at(index.row())].state = value.toInt();
    emit dataChanged(index, index);
    return true;
}
