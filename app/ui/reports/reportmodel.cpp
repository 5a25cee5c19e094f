#include "reportmodel.h"

#include <QBrush>
#include <QColor>

ReportModel::ReportModel(QObject* parent) : QAbstractTableModel(parent) {}

void ReportModel::setReport(const reports::JobReport& report) {
    beginResetModel();
    report_ = report;
    refilter();
    endResetModel();
}

void ReportModel::setFilter(std::optional<reports::Outcome> outcome) {
    beginResetModel();
    filter_ = outcome;
    refilter();
    endResetModel();
}

void ReportModel::refilter() {
    shown_.clear();
    shown_.reserve(report_.rows.size());
    for (int i = 0; i < report_.rows.size(); ++i)
        if (!filter_ || report_.rows.at(i).outcome == *filter_) shown_ << i;
}

int ReportModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shown_.size();
}

int ReportModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ReportModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= shown_.size()) return {};
    const reports::ReportRow& row = report_.rows.at(shown_.at(index.row()));
    if (role == Qt::ForegroundRole && index.column() == Outcome &&
        row.outcome == reports::Outcome::Failed)
        return QBrush(QColor("#C0392B"));
    if (role == Qt::ToolTipRole && index.column() == File) return row.file;
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case Camera:
            return row.camera;
        case Library:
            return row.library;
        case File:
            return row.file;
        case Outcome:
            return reports::outcomeText(row.outcome);
        case Reason:
            return row.reason;
        default:
            return {};
    }
}

QVariant ReportModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    switch (section) {
        case Camera:
            return tr("Camera");
        case Library:
            return tr("Library");
        case File:
            return tr("File");
        case Outcome:
            return tr("Outcome");
        case Reason:
            return tr("Reason");
        default:
            return {};
    }
}
