#include "devicefilterproxy.h"

#include "deviceinfotablemodel.h"

namespace {

// The columns the filter text looks in.
constexpr int kSearchedColumns[] = {
    DeviceInfoTableModel::ColumnIp,     DeviceInfoTableModel::ColumnName,
    DeviceInfoTableModel::ColumnGroup,  DeviceInfoTableModel::ColumnOta,
    DeviceInfoTableModel::ColumnStatus,
};

// Addresses sort by their numbers ("10.0.0.9" before "10.0.0.10"); anything else after them.
quint64 addressOrder(const QString& ip) {
    const QStringList parts = ip.split(QLatin1Char('.'));
    quint64 value = 0;
    for (const QString& part : parts) {
        bool ok = false;
        const uint number = part.toUInt(&ok);
        if (!ok || number > 255 || parts.size() != 4) return quint64(1) << 32;
        value = (value << 8) | number;
    }
    return value;
}

}  // namespace

DeviceFilterProxy::DeviceFilterProxy(QObject* parent) : QSortFilterProxyModel(parent) {
    setSortCaseSensitivity(Qt::CaseInsensitive);
    setSortLocaleAware(true);
}

void DeviceFilterProxy::setText(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed == text_) return;
    text_ = trimmed;
    invalidateFilter();
    emit signalFilterChanged();
}

void DeviceFilterProxy::setGroups(Groups which, const QString& group) {
    const QString named = which == Groups::Named ? group : QString();
    if (which == groups_ && named == group_) return;
    groups_ = which;
    group_ = named;
    invalidateFilter();
    emit signalFilterChanged();
}

int DeviceFilterProxy::sourceRow(int row) const {
    return mapToSource(index(row, 0)).row();
}

int DeviceFilterProxy::viewRow(int sourceRow) const {
    if (!sourceModel()) return -1;
    return mapFromSource(sourceModel()->index(sourceRow, 0)).row();
}

QString DeviceFilterProxy::cell(int sourceRow, int column) const {
    return sourceModel()->index(sourceRow, column).data().toString();
}

bool DeviceFilterProxy::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    if (groups_ != Groups::All) {
        const QString group = cell(sourceRow, DeviceInfoTableModel::ColumnGroup);
        if (groups_ == Groups::None ? !group.isEmpty() : group != group_) return false;
    }
    if (text_.isEmpty()) return true;
    for (int column : kSearchedColumns)
        if (cell(sourceRow, column).contains(text_, Qt::CaseInsensitive)) return true;
    return false;
}

bool DeviceFilterProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    if (left.column() == DeviceInfoTableModel::ColumnIp)
        return addressOrder(left.data().toString()) < addressOrder(right.data().toString());
    if (left.column() == DeviceInfoTableModel::ColumnCheck)
        return left.data(Qt::CheckStateRole).toInt() < right.data(Qt::CheckStateRole).toInt();
    return QSortFilterProxyModel::lessThan(left, right);
}
