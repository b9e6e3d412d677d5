#pragma once
// Answers the real modal dialogs that the program shows during a test.
// A timer looks for the active modal widget, records what it shows and
// presses the button that the test queued for it, in order of appearance.
//
// A test states every dialog it expects: a dialog nothing was queued for (or
// whose queued answer does not fit it) fails the test, and so does an answer
// still queued when the answerer goes. A box the program shows unasked, such
// as an error, never passes unseen.
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

struct SeenDialog {
    QString className;
    QString title;
    QString text;
    QStringList buttons; // button texts without mnemonics, in layout order
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool answered = false; // false: nothing fitting was queued; the dialog was rejected
};

class DialogAnswerer : public QObject {
    Q_OBJECT
public:
    DialogAnswerer();
    // Fails the test when answers are left over.
    ~DialogAnswerer() override;

    // Press the standard button of the next message box.
    DialogAnswerer& press(QMessageBox::StandardButton button);
    // Press the button of the next dialog whose text (mnemonics removed) is this.
    DialogAnswerer& pressText(const QString& buttonText);
    // Hand the next dialog to a callback, which must close it.
    DialogAnswerer& handle(std::function<void(QWidget*)> callback);

    const QList<SeenDialog>& seen() const { return seen_; }
    int pending() const { return static_cast<int>(answers_.size()); }
    // Drops the answers not used yet, for a test that queued one in case a
    // dialog might show.
    void forgetPending() { answers_.clear(); }

private:
    void poll();
    void answer(QWidget* dialog);
    void forgetDialog();
    static SeenDialog describe(QWidget* dialog);

    QTimer timer_;
    std::deque<std::function<bool(QWidget*)>> answers_;
    QList<SeenDialog> seen_;
    // Dialogs seen and still open: one that becomes the active modal widget
    // again when a box it opened closes is no new appearance.
    QList<QPointer<QWidget>> open_;
};
