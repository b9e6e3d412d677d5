#pragma once
// Small builders for the form's controls: each one names the control, sets
// its caption or text and places it at its design position in its parent.
#include <QLineEdit>
#include <QRect>
#include <QString>
#include <initializer_list>

class AutoSizeLabel;
class FlatButton;
class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace formkit {

// Labels are placed by their top-left corner and take the size of their text.
AutoSizeLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int left, int top);

template <class Edit = QLineEdit>
Edit* makeEdit(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    auto* edit = new Edit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setText(text);
    edit->setGeometry(geometry);
    return edit;
}

QPushButton* makePushButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry);
FlatButton* makeFlatButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry);
QGroupBox* makeGroupBox(QWidget* parent, const char* name, const QString& title, const QRect& geometry);

// Check boxes and radio buttons keep their place but grow to their caption
// when the design size would clip it with the font in use.
QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& caption, bool checked,
                        const QRect& geometry);
QRadioButton* makeRadioButton(QWidget* parent, const char* name, const QString& caption, bool checked,
                              const QRect& geometry);

// Chains the keyboard focus through the widgets in the order given.
void setFocusOrder(std::initializer_list<QWidget*> widgets);

} // namespace formkit
