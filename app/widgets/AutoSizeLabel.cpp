#include "app/widgets/AutoSizeLabel.h"

#include <QEvent>

AutoSizeLabel::AutoSizeLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    adjustSize();
}

void AutoSizeLabel::setText(const QString& text) {
    QLabel::setText(text);
    adjustSize();
}

void AutoSizeLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    // A new font or style changes the text's extent.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        adjustSize();
}
