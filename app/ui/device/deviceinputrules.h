// The character rules and length checks of the device dialogs' fields.
#pragma once

class QLineEdit;
class QString;
struct DeviceLabel;

namespace deviceinput {

void setIpRule(QLineEdit* edit);
void setUserNameRule(QLineEdit* edit);
// Also shows the password as dots.
void setPasswordRule(QLineEdit* edit);
// The user name is 4..16 characters and the password 6..16.
bool credentialsFit(const QString& user, const QString& password);
// A camera's name or group: at most its length in characters.
void setLabelRule(QLineEdit* edit);
// The trimmed name and group; false with a message when one holds control characters.
bool readLabel(const QLineEdit* name, const QLineEdit* group, DeviceLabel* label, QString* message);

}  // namespace deviceinput
