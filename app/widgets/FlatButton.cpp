#include "app/widgets/FlatButton.h"

#include <QPixmap>

FlatButton::FlatButton(const QString& caption, QWidget* parent) : QToolButton(parent) {
    setText(caption);
    setFocusPolicy(Qt::NoFocus);
    setAutoRaise(false);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
}

void FlatButton::setPicture(const QPixmap& picture) {
    setIcon(QIcon(picture));
    setIconSize(picture.deviceIndependentSize().toSize());
    setToolButtonStyle(Qt::ToolButtonIconOnly);
}
