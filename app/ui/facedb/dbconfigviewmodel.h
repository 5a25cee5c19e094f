// The image records of one page of a library as a table: a check column, the row number, the
// name, the five user texts, the feature status and a column where the delegate draws the
// "Photo" button.
#pragma once

#include <QAbstractTableModel>
#include <QSharedPointer>
#include <QStringList>
#include <QVector>

#include "dbutil/records.h"

// An image record with the check mark of its row, shared by the table and the picture grid.
struct CheckedRecord {
    SFeatrueInfo info;
    bool checked = false;
};
using CheckedRecordPtr = QSharedPointer<CheckedRecord>;
using CheckedRecordList = QVector<CheckedRecordPtr>;

class DBConfigViewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        CheckColumn = 0,
        NumberColumn = 1,
        NameColumn = 2,
        FirstExtColumn = 3,
        StatusColumn = 8,
        ImageColumn = 9,
        ColumnCount = 10,
    };

    explicit DBConfigViewModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void setRecords(const CheckedRecordList& records);
    void clear();
    const CheckedRecordList& records() const { return records_; }
    CheckedRecordPtr record(int row) const;
    // The records whose rows are checked, in page order.
    CheckedRecordList checkedRecords() const;
    int checkedCount() const;
    // Sets every row's check mark.
    void setAllChecked(bool checked);
    // Toggles one row's check mark (double click).
    void toggle(int row);
    // Repaints the rows after their marks changed elsewhere (the picture grid).
    void refreshChecks();

    // The user text of a feature status; empty for a status without one.
    static QString statusText(int status);

signals:
    void signalChecked(bool checked);

private:
    QVariant displayData(const CheckedRecord& record, int row, int column) const;
    void announceRow(int row);

    CheckedRecordList records_;
};
