// The "Scripst Sql" page: ad-hoc query, command and script file, with the
// commit button, the error list switch and the query export.
#include "app/form/ControlFactory.h"
#include "app/form/CorveloControls.h"
#include "app/widgets/AutoSizeLabel.h"
#include "app/widgets/FlatButton.h"
#include "app/widgets/Pictures.h"

#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;
using namespace formkit;

void CorveloControls::createTabScript() {
    QWidget* page = TabSheet4;

    memoscript = new QPlainTextEdit(page);
    memoscript->setObjectName(u"memoscript"_s);
    memoscript->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memoscript->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memoscript->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memoscript->setGeometry(0, 8, 457, 201);

    Button1 = makePushButton(page, "Button1", u"Execute Consulta SQL"_s, {480, 144, 145, 25});
    Button2 = makePushButton(page, "Button2", u"Execute Comando SQL"_s, {480, 184, 145, 25});

    btnExecut = makeFlatButton(page, "btnExecut", u" "_s, {481, 60, 29, 26});
    btnExecut->setPicture(openFolderPicture());
    btnExecut->setToolTip(u"Localizar arquivo"_s);

    Label14 = makeLabel(page, "Label14", u"Endereço do arquivo de Script"_s, 512, 51);
    edtEnd = makeEdit(page, "edtEnd", {}, {512, 66, 385, 21});
    Button3 = makePushButton(page, "Button3", u"Execute Script SQL"_s, {752, 96, 145, 25});
    lbltot = makeLabel(page, "lbltot", u"Total de Linhas:"_s, 752, 128);
    lblatual = makeLabel(page, "lblatual", u"Linha Atual:"_s, 752, 152);
    lblerro = makeLabel(page, "lblerro", u"Erro:"_s, 896, 152);
    Label15 = makeLabel(page, "Label15", u"Label15"_s, 512, 24);
    SpeedButton10 = makeFlatButton(page, "SpeedButton10", u"dar Commit na Transacao"_s, {643, 186, 190, 22});
    Button4 = makePushButton(page, "Button4", u"Ver erros"_s, {856, 184, 129, 25});

    btnExcel = makeFlatButton(page, "btnExcel", {}, {480, 93, 37, 45});
    btnExcel->setPicture(spreadsheetPicture());
    btnExcel->setToolTip(u"Gerar arquivo do excel"_s);

    setFocusOrder({memoscript, Button1, Button2, edtEnd, Button3, Button4});
}
