#include "app/Dialogs.h"

#include "app/LongWork.h"
#include "app/NormalCursor.h"
#include "app/ScreenText.h"

#include <QApplication>
#include <QMessageBox>

#include <memory>

const char* const ApplicationTitle = "Corvelo";

namespace {

QWidget* dialogParent() {
    return QApplication::activeWindow();
}

// Message boxes of the program never show a detail or help button, and the
// text is shown as plain text (a message may hold "<" from the server).
QMessageBox* makeBox(const std::string& text, const QString& title, QMessageBox::Icon icon) {
    auto* box = new QMessageBox(dialogParent());
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    box->setTextFormat(Qt::PlainText);
    box->setWindowTitle(title);
    box->setText(toScreen(text));
    box->setIcon(icon);
    box->setWindowModality(Qt::ApplicationModal);
    return box;
}

int showSystemMessageBox(const std::string& text, const std::string& title, int flags) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    if ((flags & 0xF0) == MB_ICONQUESTION)
        icon = QMessageBox::Question;
    else if ((flags & 0xF0) == MB_ICONINFORMATION)
        icon = QMessageBox::Information;
    std::unique_ptr<QMessageBox> box(makeBox(text, toScreen(title), icon));
    switch (flags & 0x0F) {
    case MB_YESNOCANCEL:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box->setEscapeButton(QMessageBox::Cancel);
        break;
    case MB_YESNO:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setEscapeButton(QMessageBox::No);
        break;
    default:
        box->setStandardButtons(QMessageBox::Ok);
        break;
    }
    NormalCursor normal;
    switch (box->exec()) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Ok:
        return IDOK;
    default:
        return IDCANCEL;
    }
}

} // namespace

// Long work runs on a thread of its own; its dialogs show on the window's.
void ShowMessage(const std::string& text) {
    OnWindowThread([&] {
        std::unique_ptr<QMessageBox> box(
            makeBox(text, QString::fromLatin1(ApplicationTitle), QMessageBox::NoIcon));
        box->setStandardButtons(QMessageBox::Ok);
        NormalCursor normal;
        box->exec();
    });
}

bool WarningOkCancel(const std::string& text) {
    bool ok = false;
    OnWindowThread([&] {
        std::unique_ptr<QMessageBox> box(makeBox(text, QStringLiteral("Warning"), QMessageBox::Warning));
        box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Ok);
        box->setEscapeButton(QMessageBox::Cancel);
        NormalCursor normal;
        ok = box->exec() == QMessageBox::Ok;
    });
    return ok;
}

int SystemMessageBox(const std::string& text, const std::string& title, int flags) {
    int answer = IDCANCEL;
    OnWindowThread([&] { answer = showSystemMessageBox(text, title, flags); });
    return answer;
}
