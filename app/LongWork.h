#pragma once
// Long work (a row walk, a script run, emptying tables, an export, a
// statement the server may take long over) runs on a thread of its own while
// the window keeps turning: it repaints, answers the window manager, shows in
// its progress line how much is done and offers "Cancelar" (also Escape).
// Other input given meanwhile is dropped, no other handler starts, and the
// grid shows what it showed until the work is over: it never reads or moves
// a dataset under the work. Dialogs the work shows take input as usual.
#include <QObject>
#include <QString>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>

class QEventLoop;
class QLabel;
class QPushButton;
class QTimer;

class LongWork : public QObject {
public:
    // How the work may be stopped: not at all; between its rows, lines or
    // steps; or also inside a statement the server is running.
    enum class Stop { Never, BetweenSteps, AlsoInStatements };

    // The window's progress line and cancel button; `freeze` and `thaw` keep
    // the grid away from the datasets while the work runs.
    LongWork(QWidget& window, QLabel& progressLine, QPushButton& cancelButton, std::function<void()> freeze,
             std::function<void()> thaw);
    ~LongWork() override;

    // Runs `work` on its own thread and returns when it is over, with its
    // error if it failed; a cancel the work stopped for comes as
    // OperationCancelled. `unit` names what the progress line counts.
    void Run(const std::function<void()>& work, Stop stop, const QString& unit = QStringLiteral("registros"));
    bool Running() const { return running_; }

    // From the work: how far it is, and the total where it is known.
    void SetDone(std::int64_t done) { done_.store(done, std::memory_order_relaxed); }
    void SetTotal(std::int64_t total) { total_.store(total, std::memory_order_relaxed); }
    std::int64_t Done() const { return done_.load(std::memory_order_relaxed); }
    bool CancelRequested() const { return cancelRequested_.load(); }
    // The cancel button and Escape.
    void RequestCancel();

    // The progress line's text for so much done (the total -1 when not known).
    static QString ProgressText(const QString& unit, std::int64_t done, std::int64_t total, double perSecond);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showProgress();

    QWidget& window_;
    QLabel& progressLine_;
    QPushButton& cancelButton_;
    std::function<void()> freeze_;
    std::function<void()> thaw_;
    QTimer* timer_;
    bool running_ = false;
    Stop stop_ = Stop::Never;
    QString unit_;
    std::chrono::steady_clock::time_point started_;
    std::atomic<std::int64_t> done_{0};
    std::atomic<std::int64_t> total_{-1};
    std::atomic<bool> cancelRequested_{false};
};

// Runs `f` on the window's thread: at once when called there, else waiting
// until it has run there. What `f` raises reaches the caller.
void OnWindowThread(const std::function<void()>& f);
// The same without waiting; calls keep their order.
void PostToWindowThread(std::function<void()> f);
