#include "deviceinputrules.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QRegExpValidator>

#include "dbutil/devicelabels.h"
#include "dbutil/inputcheck.h"

namespace deviceinput {

namespace {

void setRule(QLineEdit* edit, const char* pattern) {
    edit->setValidator(new QRegExpValidator(QRegExp(pattern, Qt::CaseSensitive), edit));
}

}  // namespace

void setIpRule(QLineEdit* edit) {
    edit->setInputMask(QString());
    setRule(edit, kIpCharacterPattern);
}

void setUserNameRule(QLineEdit* edit) {
    setRule(edit, kUserNameCharacterPattern);
}

void setPasswordRule(QLineEdit* edit) {
    setRule(edit, kPasswordCharacterPattern);
    edit->setEchoMode(QLineEdit::Password);
}

bool credentialsFit(const QString& user, const QString& password) {
    return isValidUserNameLength(user) && isValidPasswordLength(password);
}

void setLabelRule(QLineEdit* edit) {
    edit->setMaxLength(DeviceLabels::kMaxLength);
}

bool readLabel(const QLineEdit* name, const QLineEdit* group, DeviceLabel* label,
               QString* message) {
    if (DeviceLabels::clean(name->text(), &label->name) &&
        DeviceLabels::clean(group->text(), &label->group))
        return true;
    *message =
        QCoreApplication::translate("DeviceInput",
                                    "A name or group is at most %1 characters, without control "
                                    "characters.")
            .arg(DeviceLabels::kMaxLength);
    return false;
}

}  // namespace deviceinput
