#include "app/BusyCursor.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

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

// Input for a dialog opened during the work (a question, a message) passes.
bool belongsToOpenDialog(QObject* watched) {
    QWidget* modal = QApplication::activeModalWidget();
    auto* widget = qobject_cast<QWidget*>(watched);
    return modal && widget && (widget == modal || modal->isAncestorOf(widget));
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

bool BusyCursor::eventFilter(QObject* watched, QEvent* event) {
    return isUserInput(event->type()) && !belongsToOpenDialog(watched);
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
