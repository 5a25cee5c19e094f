// What the library add and edit dialogs share: the name and threshold form, the name check,
// the threshold restored when its field is left empty, and the name cleared on close.
#pragma once

#include <QDialog>

#include "dbutil/records.h"

namespace Ui {
class DbDialog;
}
class TextFieldRule;

class DbDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kDefaultThreshold = 74;

    ~DbDialog() override;

    const SDBInfo& library() const { return library_; }

    // The camera the dialog was opened for; its Ok changes nothing elsewhere.
    void setTargetIp(const QString& ip) { targetIp_ = ip; }
    const QString& targetIp() const { return targetIp_; }

signals:
    void signalFinshed(SDBInfo library);

protected:
    explicit DbDialog(QWidget* parent);

    // Shows the record's name and threshold; an emptied threshold then falls back to it.
    void showLibrary(const SDBInfo& library);
    void setFallbackThreshold(int threshold) { fallbackThreshold_ = threshold; }

    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private slots:
    void on_btn_ok_clicked();
    void on_btn_cancel_clicked();

private:
    // Why the name cannot be sent, or nothing.
    QString nameProblem() const;

    Ui::DbDialog* ui;
    TextFieldRule* nameRule_ = nullptr;
    QString targetIp_;
    SDBInfo library_;
    int fallbackThreshold_ = kDefaultThreshold;
};

// Creates a library: an empty name and the default threshold.
class DbAddDialog : public DbDialog {
    Q_OBJECT
public:
    explicit DbAddDialog(QWidget* parent = nullptr);
};

// Renames a library or changes its threshold; the record keeps its libid.
class DbEditDialog : public DbDialog {
    Q_OBJECT
public:
    explicit DbEditDialog(QWidget* parent = nullptr);
    void setLibrary(const SDBInfo& library);
};
