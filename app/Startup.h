#pragma once
// Start-up and shutdown of the program: the three forms in their order.
class TApplication;
class QApplication;
class QString;

// Number and date settings from the system's regional settings; the main
// window's activation then fixes the program's own three.
void LoadSystemFormatSettings();
// The date separator a locale's short date format uses; "/" when it has none.
char DateSeparatorOf(const QString& shortDateFormat);

// The font every control uses unless it says otherwise.
void ApplyProgramFont(QApplication& app);

// What the application carries before its first window: the font, Qt's own
// texts in Portuguese, the window icon and the name of the menu entry.
void PrepareApplication(QApplication& app);

// Creates frmCorvelo, frmEmpty and Funcoes in that order (the last installs
// the error handler). Throws what a form's creation throws.
void CreateForms();
// Releases the forms and everything they own.
void DestroyForms();

// The whole run: forms, the maximized main window, the event loop.
int RunProgram(TApplication& app);

// Whether a windowing system is there to show the program on.
bool HasDisplay();
