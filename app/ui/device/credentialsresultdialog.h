// What became of new credentials on each camera: taken, or refused with the reason (the old
// credentials stay), or not tried because the operator cancelled.
#pragma once

#include <QDialog>
#include <QVector>

#include "fleet/credentialsjob.h"

namespace Ui {
class CredentialsResultDialog;
}

class CredentialsResultDialog : public QDialog {
    Q_OBJECT
public:
    explicit CredentialsResultDialog(QWidget* parent = nullptr);
    ~CredentialsResultDialog() override;

    void setResults(const QVector<CredentialsJob::Result>& results);

private slots:
    void on_btn_ok_clicked();

private:
    QString outcomeText(const CredentialsJob::Result& result) const;

    Ui::CredentialsResultDialog* ui;
};
