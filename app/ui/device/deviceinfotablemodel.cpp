#include "deviceinfotablemodel.h"

#include <QBrush>
#include <QColor>
#include <QLocale>

#include "dbutil/deviceinfofactory.h"
#include "dbutil/devicelabels.h"
#include "fleet/healthcheck.h"

namespace {

constexpr int kStatusReachable = 0;
constexpr int kStatusLost = 1;

}  // namespace

DeviceInfoTableModel::DeviceInfoTableModel(DeviceInfoFactory* store, QObject* parent)
    : QAbstractTableModel(parent), store_(store) {}

int DeviceInfoTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : store_->count();
}

int DeviceInfoTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DeviceInfoTableModel::displayData(int row, int column) const {
    const SDeviceInfo& device = store_->list().at(row);
    switch (column) {
        case ColumnNumber:
            return row + 1;
        case ColumnIp:
            return device.ip;
        case ColumnName:
            return labels_ ? labels_->label(device.ip).name : QString();
        case ColumnGroup:
            return labels_ ? labels_->label(device.ip).group : QString();
        case ColumnOta:
            return device.ota;
        case ColumnDb1:
            return device.dbs.size() > 0 ? device.dbs.at(0).name : QString();
        case ColumnDb2:
            return device.dbs.size() > 1 ? device.dbs.at(1).name : QString();
        case ColumnStatus:
            return device.status == kStatusReachable ? tr("Network Normal") : tr("Network Lost");
        default:
            return QVariant();
    }
}

QVariant DeviceInfoTableModel::data(const QModelIndex& index, int role) const {
    const int row = index.row();
    const bool inList = index.isValid() && row >= 0 && row < store_->count();
    if (role == StatusRole && index.column() == ColumnStatus)
        return inList ? store_->list().at(row).status : kStatusLost;
    if (!inList) return QVariant();
    switch (role) {
        case LostRole:
            return lostRow(row);
        case Qt::ToolTipRole:
            return index.column() == ColumnStatus ? lastSeenText(row) : QVariant();
        case Qt::ForegroundRole:
            if (index.column() != ColumnStatus || !lostRow(row)) return QVariant();
            return QBrush(QColor("#C62828"));
        case Qt::DisplayRole:
            return displayData(row, index.column());
        case Qt::CheckStateRole:
            if (index.column() != ColumnCheck) return QVariant();
            return store_->checked(row) ? Qt::Checked : Qt::Unchecked;
        case Qt::BackgroundRole:
            if (lostRow(row)) return QBrush(QColor("#FDE7E7"), Qt::SolidPattern);
            if (!store_->checked(row)) return QVariant();
            return QBrush(QColor("#F0F8FF"), Qt::SolidPattern);
        case Qt::TextAlignmentRole:
            return int(Qt::AlignCenter);
        default:
            return QVariant();
    }
}

bool DeviceInfoTableModel::lostRow(int row) const {
    const SDeviceInfo& device = store_->list().at(row);
    return health_ && device.status != kStatusReachable && health_->lost(device.ip);
}

QString DeviceInfoTableModel::lastSeenText(int row) const {
    if (!health_) return QString();
    const QDateTime seen = health_->lastSeen(store_->list().at(row).ip);
    if (!seen.isValid()) return tr("Not seen since the program started");
    return tr("Last seen %1").arg(QLocale().toString(seen, QLocale::ShortFormat));
}

QVariant DeviceInfoTableModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
    if (role != Qt::DisplayRole) return QVariant();
    if (orientation == Qt::Vertical) return QString("%1").arg(section + 1);
    switch (section) {
        case ColumnCheck:
            return QString();
        case ColumnNumber:
            return tr("All");
        case ColumnIp:
            return tr("Device Ip");
        case ColumnName:
            return tr("Name");
        case ColumnGroup:
            return tr("Group");
        case ColumnOta:
            return tr("OTA");
        case ColumnDb1:
            return tr("DB1");
        case ColumnDb2:
            return tr("DB2");
        case ColumnStatus:
            return tr("Network Status");
        case ColumnUpdate:
            return tr("Update");
        case ColumnOperation:
            return tr("Operation");
        default:
            return tr("undefined");
    }
}

Qt::ItemFlags DeviceInfoTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (index.column() == ColumnCheck) result |= Qt::ItemIsUserCheckable;
    return result;
}

bool DeviceInfoTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || index.row() >= store_->count())
        return false;
    const bool checked = value.toInt() == Qt::Checked;
    store_->setChecked(index.row(), checked);
    emit signalChecked(checked);
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), ColumnCount - 1));
    return true;
}

void DeviceInfoTableModel::refreshAll() {
    if (store_->count() == 0) return;
    emit dataChanged(index(0, 0), index(store_->count() - 1, ColumnCount - 1));
}

void DeviceInfoTableModel::refreshRow(int row) {
    if (row < 0 || row >= store_->count()) return;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void DeviceInfoTableModel::reset() {
    beginResetModel();
    endResetModel();
}

QSet<QString> DeviceInfoTableModel::checkedIps() const {
    QSet<QString> ips;
    for (const SDeviceInfo& device : store_->list())
        if (device.checked) ips.insert(device.ip);
    return ips;
}
