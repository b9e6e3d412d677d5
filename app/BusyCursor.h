#pragma once
// Long work runs on the window's thread without processing events. While it
// runs the wait cursor shows, and the clicks and keys the user gives the
// window meanwhile are dropped instead of acting once the work is over.
// Dialogs shown during the work still take input and show the normal cursor.
#include <QObject>

class BusyCursor : public QObject {
public:
    BusyCursor();
    ~BusyCursor() override;
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Inside a dialog shown during long work: the normal cursor again.
class NormalCursor {
public:
    NormalCursor();
    ~NormalCursor();
    NormalCursor(const NormalCursor&) = delete;
    NormalCursor& operator=(const NormalCursor&) = delete;

private:
    bool pushed_ = false;
};
