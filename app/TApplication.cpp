#include "app/TApplication.h"

#include "app/Dialogs.h"
#include "app/ErrorHandling.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QString::fromLatin1(ApplicationTitle));
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        HandleApplicationError(receiver, std::current_exception());
        return false;
    }
}
