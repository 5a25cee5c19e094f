#include "credentialsresultdialog.h"

#include <QHeaderView>

#include "dbutil/errortext.h"
#include "dbutil/resultcode.h"
#include "ui_credentialsresultdialog.h"

CredentialsResultDialog::CredentialsResultDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::CredentialsResultDialog) {
    ui->setupUi(this);
    ui->btn_ok->setProperty("qstyle", tr("btn1"));
    ui->btn_ok->setDefault(true);
    ui->table_results->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
}

CredentialsResultDialog::~CredentialsResultDialog() {
    delete ui;
}

void CredentialsResultDialog::setResults(const QVector<CredentialsJob::Result>& results) {
    int taken = 0;
    ui->table_results->setRowCount(results.size());
    for (int row = 0; row < results.size(); ++row) {
        const CredentialsJob::Result& result = results.at(row);
        taken += result.outcome == CredentialsJob::Taken;
        ui->table_results->setItem(row, 0, new QTableWidgetItem(result.device.ip));
        auto* outcome = new QTableWidgetItem(outcomeText(result));
        if (result.outcome == CredentialsJob::Refused) outcome->setForeground(QColor("#C62828"));
        ui->table_results->setItem(row, 1, outcome);
    }
    ui->lbl_summary->setText(tr("%1 of %2 cameras took the new credentials; the others keep "
                                "their old ones.")
                                 .arg(taken)
                                 .arg(results.size()));
}

QString CredentialsResultDialog::outcomeText(const CredentialsJob::Result& result) const {
    switch (result.outcome) {
        case CredentialsJob::Taken:
            return tr("Taken");
        case CredentialsJob::NotTried:
            return tr("Not tried (cancelled)");
        case CredentialsJob::Refused:
            break;
    }
    if (result.login.code == resultcode::LoginRefused)
        return tr("Refused: login failed, %1 tries left").arg(result.login.left);
    if (result.login.code == resultcode::AccountLocked)
        return tr("Refused: account locked for %1 s").arg(result.login.left);
    return tr("Refused: %1 (%2)").arg(ErrorText(result.code)).arg(result.code);
}

void CredentialsResultDialog::on_btn_ok_clicked() {
    accept();
}
