#include "app/Startup.h"

#include "app/Dialogs.h"
#include "app/ProgramIcon.h"
#include "app/QtTranslations.h"
#include "app/ScreenText.h"
#include "app/TApplication.h"
#include "app/TerminationSignals.h"
#include "app/UFuncoes.h"
#include "app/uFrmCorvelo.h"
#include "app/ufrmEmpty.h"
#include "util/FormatSettings.h"

#include <QApplication>
#include <QFont>
#include <QLocale>

namespace {

char singleByte(const QString& text, char fallback) {
    try {
        const std::string bytes = fromScreen(text);
        return bytes.size() == 1 ? bytes[0] : fallback;
    } catch (const std::exception&) {
        return fallback;
    }
}

} // namespace

void LoadSystemFormatSettings() {
    const QLocale system = QLocale::system();
    FormatSettings& settings = formatSettings();
    settings.DecimalSeparator = singleByte(system.decimalPoint(), '.');
    settings.ThousandSeparator = singleByte(system.groupSeparator(), ',');
    settings.DateSeparator = DateSeparatorOf(system.dateFormat(QLocale::ShortFormat));
}

char DateSeparatorOf(const QString& shortDateFormat) {
    // The first sign between the fields. A blank is none: the plain "C"
    // locale writes "d MMM yyyy", and dates typed as numbers need a sign.
    for (const QChar c : shortDateFormat) {
        if (!c.isLetter() && !c.isSpace())
            return singleByte(QString(c), '/');
    }
    return '/';
}

void ApplyProgramFont(QApplication& app) {
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPixelSize(11);
    app.setFont(font);
}

void PrepareApplication(QApplication& app) {
    ApplyProgramFont(app);
    // Before any window: message boxes and file dialogs take their texts when made.
    InstallQtTranslations(app);
    app.setWindowIcon(ProgramIcon());
    // Lets desktops match the window with the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("corvelo"));
}

void CreateForms() {
    frmCorvelo = new TfrmCorvelo();
    frmEmpty = new TfrmEmpty();
    Funcoes = new TFuncoes();
}

void DestroyForms() {
    delete Funcoes;
    delete frmEmpty;
    delete frmCorvelo;
}

int RunProgram(TApplication& app) {
    PrepareApplication(app);
    LoadSystemFormatSettings();
    try {
        CreateForms();
    } catch (const std::exception& error) {
        // The error handler is not in place yet: say it and end, showing no window.
        SystemMessageBox(error.what(), ApplicationTitle, MB_OK);
        DestroyForms();
        return 1;
    }
    // Before any connection is made: see TerminationSignals.h.
    OnTerminationSignal([] { frmCorvelo->CloseWhenIdle(); });
    frmCorvelo->showMaximized();
    const int result = app.exec();
    DestroyForms();
    return result;
}

bool HasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}
