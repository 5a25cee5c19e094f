#include "configpage.h"

#include <QDebug>

#include "ui_configpage.h"

ConfigPage::ConfigPage(QWidget* parent) : QWidget(parent), ui(new Ui::ConfigPage) {
    ui->setupUi(this);
    connect(ui->comb_db, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &ConfigPage::slotDbChanged);
    slotDbChanged(-1);
}

ConfigPage::~ConfigPage() {
    delete ui;
}

void ConfigPage::setDevice(const SDeviceInfo& device) {
    device_ = device;
    ui->input_name->clear();
    rebuildSelector();
}

void ConfigPage::on_btn_return_clicked() {
    emit signalReturn(device_.ip, changed_);
}

void ConfigPage::on_comb_db_currentIndexChanged(int index) {
    qDebug() << "comb changed " << index;
    if (index >= 0) ui->input_name->clear();
}

void ConfigPage::slotDbChanged(int index) {
    const QList<QWidget*> needLibrary = {
        ui->btn_images_clear, ui->btn_gen_feature, ui->btn_item_add, ui->btn_item_edit,
        ui->btn_item_delete,  ui->btn_item_muladd, ui->input_name,   ui->btn_search};
    for (QWidget* widget : needLibrary)
        widget->setEnabled(index >= 0);
}

void ConfigPage::rebuildSelector() {
    ui->label_ip->setText(device_.ip);
    ui->comb_db->clear();
    for (const SDBInfo& db : device_.dbs)
        ui->comb_db->addItem(db.name, db.libid);
}
