#include "app/ScreenText.h"

#include "util/Exceptions.h"

#include <QList>
#include <QPlainTextEdit>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTextDocument>

QString toScreen(const std::string& text) {
    QStringDecoder decoder("windows-1252");
    return decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

std::string fromScreen(const QString& text) {
    QStringEncoder encoder("windows-1252", QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(text);
    // The encoder replaces what it cannot hold; a round trip tells.
    std::string result(bytes.constData(), static_cast<size_t>(bytes.size()));
    if (encoder.hasError() || toScreen(result) != text) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            const QString character = text.mid(i, length);
            QStringEncoder single("windows-1252", QStringConverter::Flag::Stateless);
            const QByteArray encoded = single.encode(character);
            if (single.hasError() ||
                toScreen(std::string(encoded.constData(), encoded.size())) != character) {
                const QString code =
                    QString::number(character.toUcs4().value(0), 16).toUpper().rightJustified(4, u'0');
                // The message itself must fit the code page, so it names the character by its code.
                const QString message =
                    QStringLiteral("O caractere U+%1 não pode ser usado: o banco de dados "
                                   "guarda o texto na página de código Windows-1252.")
                        .arg(code);
                throw EConvertError(fromScreen(message));
            }
            i += length - 1;
        }
        throw EConvertError(fromScreen(
            QStringLiteral("O texto não pode ser convertido para a página de código Windows-1252.")));
    }
    return result;
}

QString plainTextOf(const QPlainTextEdit& box) {
    QString text = box.document()->toRawText();
    // The raw text separates lines with the document's own separators.
    for (QChar& c : text) {
        switch (c.unicode()) {
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
        case 0xFDD0: // beginning of a frame
        case 0xFDD1: // end of a frame
            c = u'\n';
            break;
        default:
            break;
        }
    }
    return text;
}
