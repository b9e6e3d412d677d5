#include "app/BusyCursor.h"

#include <QApplication>
#include <QEvent>

namespace {

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

// While a dialog is open (a question, a message) input passes: the dialog
// needs it, and the window's own modality keeps it away from everything else.
// (Input reaches the dialog's window object before any of its widgets, so
// testing the receiver would not do.)
bool dialogOpen() {
    return QApplication::activeModalWidget() != nullptr;
}

} // namespace

BusyCursor::BusyCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    qApp->installEventFilter(this);
}

BusyCursor::~BusyCursor() {
    // Input that queued up while nothing was processed is read now, with the
    // filter still in place, so it is dropped rather than acted on. Timers
    // are left for the event loop.
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers | QEventLoop::X11ExcludeTimers);
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
}

bool BusyCursor::eventFilter(QObject*, QEvent* event) {
    return isUserInput(event->type()) && !dialogOpen();
}

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
