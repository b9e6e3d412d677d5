#pragma once
// The program's four kinds of message, each a real modal dialog.
#include <string>

class QWidget;

// Flags of the system message box: buttons plus icon.
enum MessageBoxFlags : int {
    MB_OK = 0,
    MB_YESNOCANCEL = 3,
    MB_YESNO = 4,
    MB_ICONQUESTION = 32,
    MB_ICONINFORMATION = 64,
};

// What the system message box returns.
enum MessageBoxResult : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// The application's title, used by the plain message dialog.
extern const char* const ApplicationTitle;

// Plain message: the text, one OK button, no icon, the application's title.
void ShowMessage(const std::string& text);

// Warning with OK and Cancel (title "Warning", warning icon); true only for OK.
bool WarningOkCancel(const std::string& text);

// System message box with a title and the flags above; returns IDOK, IDCANCEL,
// IDYES or IDNO. Closing the box by its title bar counts as Cancel (or No when
// the box has no Cancel button).
int SystemMessageBox(const std::string& text, const std::string& title, int flags);
