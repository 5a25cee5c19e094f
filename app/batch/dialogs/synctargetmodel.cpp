#include "synctargetmodel.h"

#include <QBrush>
#include <QColor>

SyncTargetModel::SyncTargetModel(QObject* parent) : QAbstractTableModel(parent) {}

void SyncTargetModel::setTargets(const QVector<Target>& targets) {
    beginResetModel();
    targets_ = targets;
    endResetModel();
}

QVector<int> SyncTargetModel::checkedRows() const {
    QVector<int> rows;
    for (int row = 0; row < targets_.size(); ++row)
        if (targets_.at(row).checked) rows << row;
    return rows;
}

void SyncTargetModel::setAllChecked(bool checked) {
    if (locked_) return;
    for (Target& target : targets_)
        target.checked = checked;
    if (!targets_.isEmpty()) emit dataChanged(index(0, Camera), index(targets_.size() - 1, Camera));
}

bool SyncTargetModel::allChecked() const {
    for (const Target& target : targets_)
        if (!target.checked) return false;
    return true;
}

void SyncTargetModel::setLocked(bool locked) {
    locked_ = locked;
}

void SyncTargetModel::setPlan(int row, const QString& text, bool refused) {
    if (row < 0 || row >= targets_.size()) return;
    targets_[row].plan = text;
    targets_[row].refused = refused;
    emit dataChanged(index(row, Plan), index(row, Plan));
}

void SyncTargetModel::clearPlans() {
    for (Target& target : targets_) {
        target.plan.clear();
        target.refused = false;
    }
    if (!targets_.isEmpty()) emit dataChanged(index(0, Plan), index(targets_.size() - 1, Plan));
}

int SyncTargetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : targets_.size();
}

int SyncTargetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SyncTargetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= targets_.size()) return {};
    const Target& target = targets_.at(index.row());
    if (role == Qt::CheckStateRole && index.column() == Camera)
        return target.checked ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::ForegroundRole && index.column() == Plan && target.refused)
        return QBrush(QColor("#C0392B"));
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    switch (index.column()) {
        case Camera:
            return target.device.ip;
        case Name:
            return target.label.name;
        case Group:
            return target.label.group;
        case Plan:
            return target.plan;
        default:
            return {};
    }
}

bool SyncTargetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (locked_ || role != Qt::CheckStateRole || index.column() != Camera ||
        index.row() >= targets_.size())
        return false;
    targets_[index.row()].checked = value.toInt() == Qt::Checked;
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags SyncTargetModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == Camera && !locked_) flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant SyncTargetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    switch (section) {
        case Camera:
            return tr("Camera");
        case Name:
            return tr("Name");
        case Group:
            return tr("Group");
        case Plan:
            return tr("Plan");
        default:
            return {};
    }
}
