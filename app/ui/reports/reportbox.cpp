#include "reportbox.h"

#include <QCoreApplication>
#include <QPushButton>

#include "reportdialog.h"

namespace reportbox {

void show(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
          const reports::JobReport& report) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    QPushButton* details = box.addButton(
        QCoreApplication::translate("ReportDialog", "Details"), QMessageBox::ActionRole);
    details->setObjectName("btn_details");
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    if (box.clickedButton() == details) ReportDialog::open(parent, report);
}

}  // namespace reportbox
