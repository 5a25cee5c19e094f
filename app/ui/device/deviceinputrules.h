// The character rules and length checks of the device dialogs' fields.
#pragma once

class QLineEdit;
class QString;

namespace deviceinput {

void setIpRule(QLineEdit* edit);
void setUserNameRule(QLineEdit* edit);
// Also shows the password as dots.
void setPasswordRule(QLineEdit* edit);
// The user name is 4..16 characters and the password 6..16.
bool credentialsFit(const QString& user, const QString& password);

}  // namespace deviceinput
