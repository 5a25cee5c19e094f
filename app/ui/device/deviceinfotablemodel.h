// The device table's model: one row per camera of the store, in store order. It reads the
// store's list directly; whoever changes the store tells the model afterwards.
#pragma once

#include <QAbstractTableModel>
#include <QSet>
#include <QString>

class DeviceInfoFactory;
class DeviceLabels;
class HealthCheck;

class DeviceInfoTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        ColumnCheck = 0,
        ColumnNumber,
        ColumnIp,
        ColumnName,
        ColumnGroup,
        ColumnOta,
        ColumnDb1,
        ColumnDb2,
        ColumnStatus,
        ColumnUpdate,
        ColumnOperation,
        ColumnCount
    };

    // On the status column: the status value (1 for a row outside the list). On every column:
    // true when the background check found the camera lost after it had been normal.
    enum Role { StatusRole = Qt::UserRole, LostRole };

    explicit DeviceInfoTableModel(DeviceInfoFactory* store, QObject* parent = nullptr);
    // The names and groups shown beside the addresses; none without.
    void setLabels(const DeviceLabels* labels) { labels_ = labels; }

    // Where the time last seen and the lost marks come from; none by default.
    void setHealth(const HealthCheck* health) { health_ = health; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Every row changed (check marks set from outside).
    void refreshAll();
    // The cells of one row changed.
    void refreshRow(int row);
    // The store's list was replaced, grown or shrunk.
    void reset();
    // The ip of every checked row.
    QSet<QString> checkedIps() const;

signals:
    void signalChecked(bool checked);

private:
    QVariant displayData(int row, int column) const;
    bool lostRow(int row) const;
    QString lastSeenText(int row) const;

    DeviceInfoFactory* store_;
    const DeviceLabels* labels_ = nullptr;
    const HealthCheck* health_ = nullptr;
};
