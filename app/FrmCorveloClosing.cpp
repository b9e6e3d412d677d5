// Ending the program from outside, as the close box does, once nothing is under way.
#include "app/uFrmCorvelo.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace {

constexpr int kCheckInterval = 100; // ms

// The answer Escape gives: "No" to a question, "Cancel" to an offer, the one
// button of a message; a form or a file dialog is cancelled.
void answerAsEscape(QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        QAbstractButton* button = box->escapeButton();
        if (!button && box->buttons().size() == 1)
            button = box->buttons().front();
        if (button) {
            button->click();
            return;
        }
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}

} // namespace

void TfrmCorvelo::CloseWhenIdle() {
    if (!closeWhenIdle_) {
        closeWhenIdle_ = new QTimer(this);
        closeWhenIdle_->setInterval(kCheckInterval);
        connect(closeWhenIdle_, &QTimer::timeout, this, [this] {
            if (longWork_->Running()) {
                longWork_->RequestCancel();
                return;
            }
            if (QWidget* modal = QApplication::activeModalWidget()) {
                answerAsEscape(modal);
                return;
            }
            // One attempt: a settings file that cannot be written keeps the
            // window open, and its message is for the user to read.
            closeWhenIdle_->stop();
            close();
        });
    }
    closeWhenIdle_->start();
}
