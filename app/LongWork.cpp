#include "app/LongWork.h"

#include "db/CancelGate.h"
#include "util/Exceptions.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <exception>
#include <thread>

namespace {

constexpr std::chrono::milliseconds kRefresh{100};

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

bool isMouse(QEvent::Type type) {
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
           type == QEvent::MouseButtonDblClick;
}

// While a dialog is open (a question, a message) input passes: the dialog
// needs it, and its own modality keeps it away from everything else. (Input
// reaches the dialog's window object before any of its widgets, so testing
// the receiver would not do.)
bool dialogOpen() {
    return QApplication::activeModalWidget() != nullptr;
}

bool isWithin(QObject* object, const QWidget* widget) {
    for (; object; object = object->parent())
        if (object == widget)
            return true;
    return false;
}

// Thousands grouped with "." as a Portuguese reader expects.
QString grouped(std::int64_t number) {
    QString digits = QString::number(number);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(at, u'.');
    return digits;
}

} // namespace

LongWork::LongWork(QWidget& window, QLabel& progressLine, QPushButton& cancelButton,
                   std::function<void()> freeze, std::function<void()> thaw)
    : window_(window), progressLine_(progressLine), cancelButton_(cancelButton), freeze_(std::move(freeze)),
      thaw_(std::move(thaw)), timer_(new QTimer(this)) {
    timer_->setInterval(kRefresh);
    connect(timer_, &QTimer::timeout, this, [this] { showProgress(); });
    connect(&cancelButton_, &QPushButton::clicked, this, [this] { RequestCancel(); });
}

LongWork::~LongWork() = default;

QString LongWork::ProgressText(const QString& unit, std::int64_t done, std::int64_t total, double perSecond) {
    QString text = QStringLiteral(" Processando... %1: %2").arg(unit, grouped(done));
    if (total >= 0)
        text += QStringLiteral(" de %1").arg(grouped(total));
    if (perSecond > 0)
        text += QStringLiteral(" (%1/s)").arg(grouped(static_cast<std::int64_t>(perSecond + 0.5)));
    return text;
}

void LongWork::showProgress() {
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    const std::int64_t done = done_.load(std::memory_order_relaxed);
    progressLine_.setText(
        ProgressText(unit_, done, total_.load(std::memory_order_relaxed), seconds >= 1 ? done / seconds : 0));
    progressLine_.show();
    progressLine_.raise();
    if (stop_ != Stop::Never) {
        cancelButton_.setEnabled(!cancelRequested_);
        cancelButton_.show();
        cancelButton_.raise();
    }
}

void LongWork::RequestCancel() {
    if (!running_ || stop_ == Stop::Never || cancelRequested_.exchange(true))
        return;
    if (stop_ == Stop::AlsoInStatements)
        CancelGate::CancelRunningCall();
    cancelButton_.setEnabled(false);
}

void LongWork::Run(const std::function<void()>& work, Stop stop, const QString& unit) {
    // Work inside work (a handler calling another) runs where it is.
    if (running_) {
        work();
        return;
    }
    running_ = true;
    stop_ = stop;
    unit_ = unit;
    started_ = std::chrono::steady_clock::now();
    done_ = 0;
    total_ = -1;
    cancelRequested_ = false;
    freeze_();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    qApp->installEventFilter(this);
    if (stop == Stop::AlsoInStatements)
        CancelGate::Arm();
    showProgress();
    timer_->start();

    std::exception_ptr failure;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued: the loop ends after every update the work posted before.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();

    CancelGate::Disarm();
    timer_->stop();
    // Input that queued up at the very end is read now, with the filter still
    // in place, so it is dropped rather than acted on. Timers are left for
    // the event loop.
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers | QEventLoop::X11ExcludeTimers);
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    progressLine_.hide();
    cancelButton_.hide();
    running_ = false;
    thaw_();
    if (!failure)
        return;
    if (cancelRequested_) {
        try {
            std::rethrow_exception(failure);
        } catch (const OperationCancelled&) {
            throw;
        } catch (const std::exception& error) {
            // The server stopped the statement the user cancelled.
            if (CancelGate::IsCancelled(error))
                throw OperationCancelled();
        }
    }
    std::rethrow_exception(failure);
}

bool LongWork::eventFilter(QObject* watched, QEvent* event) {
    if (!isUserInput(event->type()) || dialogOpen())
        return false;
    // The cancel button takes its clicks, and Escape anywhere asks the same.
    // (A click reaches the window's own window object first, then the button.)
    if (cancelButton_.isVisible() && isWithin(watched, &cancelButton_))
        return false;
    if (cancelButton_.isVisible() && watched == window_.windowHandle() && isMouse(event->type())) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (cancelButton_.geometry().contains(cancelButton_.parentWidget()->mapFrom(&window_, at)))
            return false;
    }
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        RequestCancel();
    return true;
}

void OnWindowThread(const std::function<void()>& f) {
    if (QThread::currentThread() == qApp->thread()) {
        f();
        return;
    }
    std::exception_ptr failure;
    QMetaObject::invokeMethod(
        qApp,
        [&] {
            try {
                f();
            } catch (...) {
                failure = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (failure)
        std::rethrow_exception(failure);
}

void PostToWindowThread(std::function<void()> f) {
    if (QThread::currentThread() == qApp->thread()) {
        f();
        return;
    }
    QMetaObject::invokeMethod(qApp, std::move(f), Qt::QueuedConnection);
}
