#include "textfieldrule.h"

#include <QLineEdit>

TextFieldRule::TextFieldRule(QLineEdit* field, int typedLimit)
    : QValidator(field), field_(field), typedLimit_(typedLimit) {}

TextFieldRule* TextFieldRule::install(QLineEdit* field, int typedLimit) {
    auto* rule = new TextFieldRule(field, typedLimit);
    field->setValidator(rule);
    field->setMaxLength(typedLimit);
    return rule;
}

void TextFieldRule::load(const QString& text) {
    loaded_ = text;
    // setText cuts to the maximum length: widen it first.
    field_->setMaxLength(qMax(typedLimit_, text.size()));
    field_->setText(text);
}

void TextFieldRule::clear() {
    loaded_.clear();
    field_->clear();
    field_->setMaxLength(typedLimit_);
}

bool TextFieldRule::isLoadedText() const {
    return !loaded_.isEmpty() && field_->text() == loaded_;
}

QValidator::State TextFieldRule::validate(QString& input, int&) const {
    if (input.isEmpty()) return Intermediate;
    for (const QChar c : input) {
        const bool word = c.isLetterOrNumber() || c.isMark() || c == QLatin1Char('_');
        if (!word && !loaded_.contains(c)) return Invalid;
    }
    return Acceptable;
}
