#pragma once
// The application object: a last guard for errors that leave an event
// handler without passing through `guarded` (a model, a delegate, a filter).
#include <QApplication>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
