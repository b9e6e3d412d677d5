#pragma once
// No exception may cross Qt's event loop. Every handler runs inside
// `guarded`, which hands an escaping error to the application-wide error
// handler (installed by the utility form) and lets the program go on.
#include <exception>
#include <functional>

class QObject;

using ApplicationErrorHandler = std::function<void(QObject* sender, const std::exception& error)>;

// Installs the handler for errors of every window of the program.
void SetApplicationErrorHandler(ApplicationErrorHandler handler);
bool HasApplicationErrorHandler();

// Shows the error that is being handled; silent errors (EAbort) are dropped.
// Without an installed handler the error is shown in a plain error box.
void HandleApplicationError(QObject* sender, std::exception_ptr error);

template <class Handler> void guarded(QObject* sender, Handler&& handler) noexcept {
    try {
        handler();
    } catch (...) {
        HandleApplicationError(sender, std::current_exception());
    }
}
