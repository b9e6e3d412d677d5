#include "app/widgets/UpperCaseLineEdit.h"

#include <QValidator>

namespace {

// A validator may rewrite the text before it lands in the box; that covers
// typing, pasting, drops and setText in one place.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override {
        input = UpperCaseLineEdit::toUpperCase(input);
        return Acceptable;
    }
};

} // namespace

UpperCaseLineEdit::UpperCaseLineEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new UpperCaseValidator(this));
}

QString UpperCaseLineEdit::toUpperCase(const QString& text) {
    QString result = text;
    for (QChar& c : result) {
        if (c == QChar(0x00B5) || c == QChar(0x0192))
            continue;
        // One character for one: the length never changes, so the cursor stays put.
        c = c.toUpper();
    }
    return result;
}
