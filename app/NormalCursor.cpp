#include "app/NormalCursor.h"

#include <QApplication>

NormalCursor::NormalCursor() {
    if (QApplication::overrideCursor()) {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        pushed_ = true;
    }
}

NormalCursor::~NormalCursor() {
    if (pushed_)
        QApplication::restoreOverrideCursor();
}
