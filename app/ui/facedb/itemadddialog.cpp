#include "itemadddialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegExpValidator>

#include "dbutil/errortext.h"
#include "dbutil/inputcheck.h"
#include "picturesource.h"
#include "ui_itemadddialog.h"

namespace {
constexpr int kTextMaxLength = 20;

// Where the last picture was chosen, during this run.
QString& lastPictureDirectory() {
    static QString directory(".");
    return directory;
}
}  // namespace

ItemAddDialog::ItemAddDialog(Mode mode, QWidget* parent)
    : QDialog(parent), ui(new Ui::ItemAddDialog), mode_(mode) {
    ui->setupUi(this);
    setFixedSize(size());
    setWindowTitle(mode == AddMode ? tr("Add") : tr("Edit"));
    for (QLineEdit* field : QList<QLineEdit*>{ui->input_name} + extFields()) {
        field->setMaxLength(kTextMaxLength);
        field->setValidator(new QRegExpValidator(QRegExp("^[\\w]+$", Qt::CaseSensitive), field));
    }
    connect(ui->upload_image, &UploadImageWidget::signalUploadClicked, this,
            &ItemAddDialog::slotUploadClicked);
}

ItemAddDialog::~ItemAddDialog() {
    delete ui;
}

QList<QLineEdit*> ItemAddDialog::extFields() const {
    return {ui->input_ext1, ui->input_ext2, ui->input_ext3, ui->input_ext4, ui->input_ext5};
}

void ItemAddDialog::reset() {
    record_.clear();
    ui->input_name->clear();
    for (QLineEdit* field : extFields())
        field->clear();
    ui->upload_image->reset();
}

void ItemAddDialog::setRecord(const SFeatrueInfo& record) {
    record_ = record;
    ui->input_name->setText(record.name);
    const QList<QLineEdit*> fields = extFields();
    for (int i = 0; i < fields.size(); ++i)
        fields[i]->setText(record.ext.value(i));
}

void ItemAddDialog::setPreview(int result, const QByteArray& bytes) {
    ui->upload_image->setPicture(picturesource::picture(result, bytes, picturesource::Dialog));
}

void ItemAddDialog::slotUploadClicked() {
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Open Image"), lastPictureDirectory(), tr("Images (*.jpeg *.jpg)"));
    if (path.isEmpty()) return;
    lastPictureDirectory() = QFileInfo(path).absolutePath();
    choosePicture(path);
}

void ItemAddDialog::choosePicture(const QString& path) {
    record_.path = path;
    const QFileInfo file(path);
    const int code = checkImageFile(file.fileName(), file.absolutePath());
    if (code != 0) {
        QMessageBox::information(this, tr("Information"), ErrorText(code));
        return;
    }
    QPixmap picture;
    if (!picture.load(path)) {
        QMessageBox::information(this, tr("Information"), ErrorText(ImagePixelSizeError));
        return;
    }
    ui->upload_image->setPicture(picture);
}

void ItemAddDialog::on_btn_ok_clicked() {
    record_.name = ui->input_name->text();
    const QList<QLineEdit*> fields = extFields();
    record_.ext = QStringList();
    for (QLineEdit* field : fields)
        record_.ext.append(field->text());
    if (!isValidImageName(record_.name)) {
        QMessageBox::information(this, tr("Failed"), tr("Image name is invalid"));
        return;
    }
    if (!ui->upload_image->hasPicture()) {
        QMessageBox::information(this, tr("Failed"), tr("Please select one photograph"));
        return;
    }
    emit signalAddItemFinished();
    close();
}

void ItemAddDialog::on_btn_cancel_clicked() {
    reject();
}
