#include "deviceinputrules.h"

#include <QLineEdit>
#include <QRegExpValidator>

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

}  // namespace deviceinput
