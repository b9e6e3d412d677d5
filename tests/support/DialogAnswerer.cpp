#include "tests/support/DialogAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <gtest/gtest.h>

namespace {
QString withoutMnemonic(QString text) {
    return text.remove(QLatin1Char('&'));
}
} // namespace

DialogAnswerer::DialogAnswerer() {
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, &DialogAnswerer::poll);
    timer_.start();
}

DialogAnswerer::~DialogAnswerer() {
    timer_.stop();
    if (!answers_.empty())
        ADD_FAILURE() << answers_.size()
                      << " queued dialog answer(s) never used: an expected dialog did not show";
}

DialogAnswerer& DialogAnswerer::press(QMessageBox::StandardButton button) {
    answers_.push_back([button](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        if (!box || !box->button(button))
            return false;
        box->button(button)->click();
        return true;
    });
    return *this;
}

DialogAnswerer& DialogAnswerer::pressText(const QString& buttonText) {
    answers_.push_back([buttonText](QWidget* dialog) {
        for (auto* button : dialog->findChildren<QAbstractButton*>()) {
            if (withoutMnemonic(button->text()) == buttonText && button->isVisible()) {
                button->click();
                return true;
            }
        }
        return false;
    });
    return *this;
}

DialogAnswerer& DialogAnswerer::handle(std::function<void(QWidget*)> callback) {
    answers_.push_back([callback](QWidget* dialog) {
        callback(dialog);
        return true;
    });
    return *this;
}

SeenDialog DialogAnswerer::describe(QWidget* dialog) {
    SeenDialog seen;
    seen.className = QString::fromLatin1(dialog->metaObject()->className());
    seen.title = dialog->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        seen.text = box->text();
        seen.icon = box->icon();
        for (auto* button : box->buttons())
            seen.buttons << withoutMnemonic(button->text());
    }
    return seen;
}

void DialogAnswerer::poll() {
    // A dialog that was hidden is closed; when it shows again it counts again.
    open_.removeIf([](const QPointer<QWidget>& seen) { return !seen || !seen->isVisible(); });
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog || !dialog->isVisible() || open_.contains(dialog))
        return;
    open_.append(dialog);
    // A dialog that is kept and shown again later is a new appearance, even
    // when no event is processed between its two showings.
    if (auto* asDialog = qobject_cast<QDialog*>(dialog))
        connect(asDialog, &QDialog::finished, this, &DialogAnswerer::forgetDialog, Qt::UniqueConnection);
    // Answer a moment later, from inside the dialog's own event loop: a dialog
    // can be found while it is still being shown, before its loop runs.
    QTimer::singleShot(30, this, [this, target = QPointer<QWidget>(dialog)] { answer(target); });
}

void DialogAnswerer::answer(QWidget* dialog) {
    if (!dialog)
        return;
    SeenDialog seen = describe(dialog);
    bool answered = false;
    if (!answers_.empty()) {
        auto next = std::move(answers_.front());
        answers_.pop_front();
        answered = next(dialog);
    }
    seen.answered = answered;
    seen_ << seen;
    if (!answered) {
        ADD_FAILURE() << "a dialog the test did not expect: [" << seen.title.toStdString() << "] "
                      << seen.text.toStdString() << " (buttons: " << seen.buttons.join(", ").toStdString()
                      << ")";
        // Closed so the test cannot hang.
        if (auto* asDialog = qobject_cast<QDialog*>(dialog))
            asDialog->reject();
        else
            dialog->close();
    }
}

void DialogAnswerer::forgetDialog() {
    open_.removeAll(qobject_cast<QWidget*>(sender()));
}
