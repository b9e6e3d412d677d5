#include "app/TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

sigset_t terminationSignals() {
    sigset_t termination;
    sigemptyset(&termination);
    for (const int number : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&termination, number);
    return termination;
}

} // namespace

void BlockTerminationSignals() {
    const sigset_t termination = terminationSignals();
    pthread_sigmask(SIG_BLOCK, &termination, nullptr);
}

void OnTerminationSignal(std::function<void()> handler) {
    BlockTerminationSignals();
    const sigset_t termination = terminationSignals();
    const int fd = ::signalfd(-1, &termination, SFD_NONBLOCK | SFD_CLOEXEC);
    if (fd < 0) {
        // Then the termination keep their default: the program ends at once.
        pthread_sigmask(SIG_UNBLOCK, &termination, nullptr);
        return;
    }
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [fd, handler = std::move(handler)] {
        signalfd_siginfo info;
        while (::read(fd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        }
        handler();
    });
}
