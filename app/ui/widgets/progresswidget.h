// One row per camera while a batch job runs: address, progress bar, Cancel button, note.
#pragma once

#include <QModelIndex>
#include <QWidget>
#include <memory>

class ProgressModel;
class ProgressDelegate;
class QTableView;

namespace Ui {
class ProgressWidget;
}

class ProgressWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 40;
    static constexpr int kClearedWidth = 600;

    explicit ProgressWidget(QWidget* parent = nullptr);
    ~ProgressWidget() override;

    void updateRow(const QString& device, int percent, const QString& note);
    void clearRows();
    int rowCount() const;
    // Sum of the column widths: the width the widget takes once it has rows.
    int contentWidth() const;

    QTableView* table() const;
    ProgressModel* model() const { return model_; }

signals:
    void cancled(QString deviceIp);

private slots:
    void slotCancled(const QModelIndex& index);

private:
    std::unique_ptr<Ui::ProgressWidget> ui_;
    ProgressModel* model_;
    ProgressDelegate* delegate_;
};
