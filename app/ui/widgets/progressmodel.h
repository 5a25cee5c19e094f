// The per-camera rows of a batch job: address, percent, state (running, canceled, finished), note.
#pragma once

#include <QAbstractTableModel>
#include <QMap>
#include <QStringList>

struct ProgressItem {
    enum State { Running = 0, Canceled = 1, Finished = 2 };
    QString device;
    int progress = 0;
    int state = Running;
    QString note;
};

class ProgressModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { DeviceColumn = 0, ProgressColumn = 1, OperationColumn = 2, NoteColumn = 3 };

    explicit ProgressModel(QObject* parent = nullptr);

    // Adds the device's row (true) or updates its progress and note (false); 100 % finishes it.
    bool updateItem(const ProgressItem& item);
    void clearItems();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Accepts only the state, as the user role of the Operation column.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    QStringList headers_;
    QStringList keys_;
    QMap<QString, ProgressItem> items_;
};
