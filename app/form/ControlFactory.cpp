#include "app/form/ControlFactory.h"

#include "app/widgets/AutoSizeLabel.h"
#include "app/widgets/FlatButton.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

namespace formkit {

namespace {

void placeFitting(QWidget* widget, const QRect& geometry) {
    const QSize hint = widget->sizeHint();
    widget->setGeometry(geometry.left(), geometry.top(), std::max(geometry.width(), hint.width()),
                        std::max(geometry.height(), hint.height()));
}

} // namespace

AutoSizeLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int left, int top) {
    auto* label = new AutoSizeLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(left, top);
    return label;
}

QPushButton* makePushButton(QWidget* parent, const char* name, const QString& caption,
                            const QRect& geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    return button;
}

FlatButton* makeFlatButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry) {
    auto* button = new FlatButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    return button;
}

QGroupBox* makeGroupBox(QWidget* parent, const char* name, const QString& title, const QRect& geometry) {
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(QLatin1String(name));
    group->setGeometry(geometry);
    return group;
}

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& caption, bool checked,
                        const QRect& geometry) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(checked);
    placeFitting(box, geometry);
    return box;
}

QRadioButton* makeRadioButton(QWidget* parent, const char* name, const QString& caption, bool checked,
                              const QRect& geometry) {
    // Radio buttons sharing a parent exclude each other: the group box is the group.
    auto* button = new QRadioButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setChecked(checked);
    placeFitting(button, geometry);
    return button;
}

void setFocusOrder(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

} // namespace formkit
