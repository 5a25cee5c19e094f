#include "devicelistimportdialog.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>

#include "ui_devicelistimportdialog.h"

DeviceListImportDialog::DeviceListImportDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::DeviceListImportDialog) {
    ui->setupUi(this);
    QTableWidget* table = ui->tbl_cameras;
    table->setColumnCount(5);
    table->setHorizontalHeaderLabels(
        {tr("Line"), tr("Device Ip"), tr("Username"), tr("Name"), tr("Group")});
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table->verticalHeader()->hide();
}

DeviceListImportDialog::~DeviceListImportDialog() {
    delete ui;
}

void DeviceListImportDialog::setReading(const QString& fileName,
                                        const devicecsv::Reading& reading) {
    reading_ = reading;
    ui->lbl_summary->setText(summary(fileName));
    QTableWidget* table = ui->tbl_cameras;
    table->setRowCount(reading.cameras.size());
    for (int row = 0; row < reading.cameras.size(); ++row) {
        const devicecsv::Camera& camera = reading.cameras.at(row);
        const QStringList cells{QString::number(camera.line), camera.ip, camera.user,
                                camera.label.name, camera.label.group};
        for (int column = 0; column < cells.size(); ++column)
            table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    ui->list_problems->clear();
    ui->list_problems->addItems(reading.errors + reading.duplicates);
    const bool problems = !reading.errors.isEmpty() || !reading.duplicates.isEmpty();
    ui->lbl_problems->setVisible(problems);
    ui->list_problems->setVisible(problems);
    ui->btn_add->setEnabled(!reading.refused() && !reading.cameras.isEmpty());
}

QString DeviceListImportDialog::summary(const QString& fileName) const {
    const QString file = QDir::toNativeSeparators(QFileInfo(fileName).fileName());
    if (reading_.refused())
        return tr("%1: lines breaking the rules: %2. Nothing is added; correct the file and "
                  "import it again.")
            .arg(file)
            .arg(reading_.errors.size());
    QString text = tr("%1: cameras to add: %2.").arg(file).arg(reading_.cameras.size());
    if (!reading_.duplicates.isEmpty())
        text += QLatin1Char(' ') +
                tr("Listed already or repeated, left out: %1.").arg(reading_.duplicates.size());
    return text;
}

void DeviceListImportDialog::on_btn_add_clicked() {
    if (reading_.refused()) return;
    accept();
    emit signalAddCameras();
}

void DeviceListImportDialog::on_btn_cancel_clicked() {
    reject();
}
