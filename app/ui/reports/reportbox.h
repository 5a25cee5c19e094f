// The box that ends a long job: its summary text, "OK" and "Details", which opens the job's
// report once the box has closed.
#pragma once

#include <QMessageBox>
#include <QString>

#include "reports/jobreport.h"

namespace reportbox {

// Shows the box (modal, like the summary boxes before it); the report dialog it may open is
// modeless, a child of parent.
void show(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
          const reports::JobReport& report);
inline void information(QWidget* parent, const QString& title, const QString& text,
                        const reports::JobReport& report) {
    show(parent, QMessageBox::Information, title, text, report);
}

}  // namespace reportbox
