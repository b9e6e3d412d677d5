#pragma once
// Qt's own texts (the standard buttons of message boxes, the file dialogs)
// in Brazilian Portuguese, as the users' systems show them, whatever the
// language of this system. The program's own texts are Portuguese already.
#include <QString>

class QCoreApplication;
class QTranslator;

// Where this Qt keeps its translation files.
QString QtTranslationsFolder();

// Installs Qt's Brazilian Portuguese translation from `folder`. A missing or
// unreadable file is no error: nothing is installed, the texts stay in
// English, and the result is null.
QTranslator* InstallQtTranslations(QCoreApplication& app, const QString& folder = QtTranslationsFolder());
