#include "app/ErrorHandling.h"

#include "app/Dialogs.h"
#include "util/Exceptions.h"

#include <cstdio>
#include <stdexcept>

namespace {
ApplicationErrorHandler& installedHandler() {
    static ApplicationErrorHandler handler;
    return handler;
}
} // namespace

void SetApplicationErrorHandler(ApplicationErrorHandler handler) {
    installedHandler() = std::move(handler);
}

bool HasApplicationErrorHandler() {
    return static_cast<bool>(installedHandler());
}

void HandleApplicationError(QObject* sender, std::exception_ptr error) {
    try {
        try {
            std::rethrow_exception(error);
        } catch (const EAbort&) {
            return; // silent by definition
        } catch (const OperationCancelled& cancelled) {
            // Not an error: the user stopped the work, and is told where it stands.
            SystemMessageBox(cancelled.Message(), ApplicationTitle, MB_OK | MB_ICONINFORMATION);
        } catch (const std::exception& e) {
            if (installedHandler())
                installedHandler()(sender, e);
            else
                SystemMessageBox(e.what(), ApplicationTitle, MB_OK);
        } catch (...) {
            const std::runtime_error unknown("Unknown error");
            if (installedHandler())
                installedHandler()(sender, unknown);
            else
                SystemMessageBox(unknown.what(), ApplicationTitle, MB_OK);
        }
    } catch (...) {
        // The handler itself failed (no memory for the box, say): say it where we can.
        std::fputs("Corvelo: an error could not be shown\n", stderr);
    }
}
