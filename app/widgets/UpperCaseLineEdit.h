#pragma once
#include <QLineEdit>

// One-line edit box that turns every letter it receives into upper case,
// whether typed, pasted or set from code.
class UpperCaseLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit UpperCaseLineEdit(QWidget* parent = nullptr);

    // The rule, kept apart so it can be checked on its own: every letter goes
    // to its capital, except those whose capital the 8-bit code page 1252
    // cannot hold (the micro sign, the f with hook), which stay as they are.
    static QString toUpperCase(const QString& text);
};
