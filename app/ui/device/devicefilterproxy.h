// What the device table shows of the device list: the rows matching the filter text (address,
// name, group, firmware, status; any case) and the chosen group, sorted by the clicked column.
#pragma once

#include <QSortFilterProxyModel>
#include <QString>

class DeviceFilterProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    enum class Groups { All, Named, None };

    explicit DeviceFilterProxy(QObject* parent = nullptr);

    void setText(const QString& text);
    // group is used with Groups::Named only.
    void setGroups(Groups which, const QString& group = QString());

    // The source row shown at a row of the view, or -1.
    int sourceRow(int row) const;
    // The row of the view showing a source row, or -1 when it is filtered out.
    int viewRow(int sourceRow) const;
    // Whether the source row passes the filter, whatever is shown now.
    bool shows(int sourceRow) const { return filterAcceptsRow(sourceRow, QModelIndex()); }

signals:
    // The rows shown changed by the filter text or the group.
    void signalFilterChanged();

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    QString cell(int sourceRow, int column) const;

    QString text_;
    Groups groups_ = Groups::All;
    QString group_;
};
