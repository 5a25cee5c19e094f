#include "dbdialog.h"

#include <QEvent>
#include <QLineEdit>
#include <QMessageBox>

#include "dbutil/inputcheck.h"
#include "textfieldrule.h"
#include "ui_dbdialog.h"

DbDialog::DbDialog(QWidget* parent) : QDialog(parent), ui(new Ui::DbDialog) {
    ui->setupUi(this);
    setFixedSize(size());
    nameRule_ = TextFieldRule::install(ui->input_name, kLibraryNameMaxLength);
    ui->spin_threshold->setRange(0, 100);
    ui->spin_threshold->setValue(kDefaultThreshold);
    // The spin box hands its focus to its line edit: watch both.
    ui->spin_threshold->installEventFilter(this);
    if (auto* edit = ui->spin_threshold->findChild<QLineEdit*>()) edit->installEventFilter(this);
}

DbDialog::~DbDialog() {
    delete ui;
}

void DbDialog::showLibrary(const SDBInfo& library) {
    library_ = library;
    nameRule_->load(library.name);
    ui->spin_threshold->setValue(library.threshold);
}

bool DbDialog::eventFilter(QObject* watched, QEvent* event) {
    const bool threshold = watched == ui->spin_threshold || watched->parent() == ui->spin_threshold;
    if (threshold && event->type() == QEvent::FocusOut && ui->spin_threshold->text().isEmpty()) {
        // setValue alone leaves the emptied text when the value did not change.
        ui->spin_threshold->setValue(fallbackThreshold_ == 0 ? 1 : 0);
        ui->spin_threshold->setValue(fallbackThreshold_);
    }
    return QDialog::eventFilter(watched, event);
}

void DbDialog::done(int result) {
    nameRule_->clear();
    QDialog::done(result);
}

void DbDialog::on_btn_ok_clicked() {
    library_.name = ui->input_name->text();
    library_.threshold = ui->spin_threshold->value();
    library_.selected = false;
    const QString problem = nameProblem();
    if (!problem.isEmpty()) {
        QMessageBox::information(this, tr("Failed"), problem);
        return;
    }
    emit signalFinshed(library_);
    accept();
}

QString DbDialog::nameProblem() const {
    // A name loaded from the camera is kept as it is; the typed limit holds for a typed one.
    const bool loaded = nameRule_->isLoadedText() && !library_.name.trimmed().isEmpty();
    if (!loaded && !isValidLibraryName(library_.name)) return tr("Db name is invalid");
    if (!fitsCameraText(library_.name)) return tr("Text too long for the camera");
    return {};
}

void DbDialog::on_btn_cancel_clicked() {
    reject();
}

DbAddDialog::DbAddDialog(QWidget* parent) : DbDialog(parent) {
    setWindowTitle(tr("Add"));
}

DbEditDialog::DbEditDialog(QWidget* parent) : DbDialog(parent) {
    setWindowTitle(tr("Edit"));
}

void DbEditDialog::setLibrary(const SDBInfo& library) {
    showLibrary(library);
    setFallbackThreshold(library.threshold);
}
