// The rows of one job report as a table, narrowed to one outcome when asked. Holds its own
// copy of the report; filtering keeps a list of row numbers, so a report of tens of thousands
// of rows filters without copying them.
#pragma once

#include <QAbstractTableModel>
#include <QVector>
#include <optional>

#include "reports/jobreport.h"

class ReportModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Camera, Library, File, Outcome, Reason, ColumnCount };

    explicit ReportModel(QObject* parent = nullptr);

    void setReport(const reports::JobReport& report);
    const reports::JobReport& report() const { return report_; }
    // Only rows of that outcome; nothing for all of them.
    void setFilter(std::optional<reports::Outcome> outcome);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void refilter();

    reports::JobReport report_;
    std::optional<reports::Outcome> filter_;
    QVector<int> shown_;  // rows of report_ shown, in order
};
