#include "itemadddialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "dbutil/errortext.h"
#include "dbutil/inputcheck.h"
#include "picturesource.h"
#include "textfieldrule.h"
#include "ui_itemadddialog.h"

namespace {
constexpr int kTextMaxLength = 20;  // what may be typed; loaded texts are kept whole

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
    for (QLineEdit* field : QList<QLineEdit*>{ui->input_name} + extFields())
        rules_.append(TextFieldRule::install(field, kTextMaxLength));
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
    newPicture_ = false;
    for (TextFieldRule* rule : rules_)
        rule->clear();
    ui->upload_image->reset();
}

void ItemAddDialog::setRecord(const SFeatrueInfo& record) {
    record_ = record;
    rules_[0]->load(record.name);
    for (int i = 1; i < rules_.size(); ++i)
        rules_[i]->load(record.ext.value(i - 1));
}

void ItemAddDialog::setTarget(const QString& ip, const QString& libid) {
    targetIp_ = ip;
    targetLibid_ = libid;
}

bool ItemAddDialog::isTarget(const QString& ip, const QString& libid) const {
    return !targetIp_.isEmpty() && targetIp_ == ip && targetLibid_ == libid;
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
    const QFileInfo file(path);
    const int code = checkImageFile(file.fileName(), file.absolutePath());
    if (code != 0) {
        QMessageBox::information(this, tr("Information"), ErrorText(code));
        return;
    }
    QPixmap picture;
    if (!picture.load(path)) {
        QMessageBox::information(this, tr("Information"),
                                 ErrorText(resultcode::ImagePixelSizeError));
        return;
    }
    ui->upload_image->setPicture(picture);
    record_.path = path;  // only a picture that passed is ever sent
    newPicture_ = true;
}

QString ItemAddDialog::textProblem() const {
    // The name's typed limit holds for a typed name; one loaded from the camera is kept.
    if (!isValidImageName(record_.name) && !rules_[0]->isLoadedText())
        return tr("Image name is invalid");
    for (const QString& text : QStringList(record_.name) + record_.ext)
        if (!fitsCameraText(text)) return tr("Text too long for the camera");
    return {};
}

void ItemAddDialog::on_btn_ok_clicked() {
    record_.name = ui->input_name->text();
    const QList<QLineEdit*> fields = extFields();
    record_.ext = QStringList();
    for (QLineEdit* field : fields)
        record_.ext.append(field->text());
    const QString problem = textProblem();
    if (!problem.isEmpty()) {
        QMessageBox::information(this, tr("Failed"), problem);
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
