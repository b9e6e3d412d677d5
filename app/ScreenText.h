#pragma once
// The layers below the window hold text as 8-bit code page 1252; the screen
// holds Unicode. Every crossing goes through these two functions.
#include <QString>
#include <string>

// 8-bit code page 1252 text as the screen shows it.
QString toScreen(const std::string& text);

// Screen text as code page 1252. A character the code page cannot hold is an
// error (EConvertError): nothing is written with a character silently changed.
std::string fromScreen(const QString& text);

class QPlainTextEdit;

// The text of a multi-line box exactly as it holds it, lines ending in "\n".
// (The box's own plain-text export turns every no-break space into a blank,
// which would change a byte of the user's data without being asked.)
QString plainTextOf(const QPlainTextEdit& box);
