// The rule of a dialog's text field that may show a text loaded from a camera or a package:
// what is typed is word characters up to the typed limit, while a loaded text is shown whole
// (it may be longer, or hold other characters) and stays editable. The camera's own limit is
// checked in UTF-8 bytes when the dialog is confirmed (fitsCameraText).
#pragma once

#include <QString>
#include <QValidator>

class QLineEdit;

class TextFieldRule : public QValidator {
    Q_OBJECT
public:
    // Installs the rule on field with the typed limit.
    static TextFieldRule* install(QLineEdit* field, int typedLimit);

    // Shows text in the field without cutting it; its characters stay allowed while editing.
    void load(const QString& text);
    // Back to an empty field under the typed limit.
    void clear();
    // The loaded text is still there, untouched: the typed limits do not apply to it.
    bool isLoadedText() const;

    State validate(QString& input, int& pos) const override;

private:
    TextFieldRule(QLineEdit* field, int typedLimit);

    QLineEdit* field_;
    const int typedLimit_;
    QString loaded_;
};
