// The cameras a sync may write to: a check mark per camera, its name and group, and what the
// plan found for it ("+12 ~2 -3", or why it cannot be synced). GUI thread only.
#pragma once

#include <QAbstractTableModel>
#include <QSet>
#include <QVector>

#include "dbutil/devicelabels.h"
#include "dbutil/records.h"

class SyncTargetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Camera, Name, Group, Plan, ColumnCount };

    struct Target {
        SDeviceInfo device;
        DeviceLabel label;
        QSet<QString> onlyUids;  // a retry names the records it works on; empty: all
        bool checked = true;
        QString plan;          // what the plan found, empty until it answered
        bool refused = false;  // the plan found it cannot be synced
    };

    explicit SyncTargetModel(QObject* parent = nullptr);

    void setTargets(const QVector<Target>& targets);
    const QVector<Target>& targets() const { return targets_; }
    // Rows of the checked cameras, in order.
    QVector<int> checkedRows() const;
    void setAllChecked(bool checked);
    bool allChecked() const;
    // While a plan or an apply runs the marks stay as they are.
    void setLocked(bool locked);

    void setPlan(int row, const QString& text, bool refused);
    void clearPlans();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QVector<Target> targets_;
    bool locked_ = false;
};
