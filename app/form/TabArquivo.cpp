// The "Arquivo" page: connection, commit and rollback, the table with its
// filter and order, the deletion buttons and the table export.
#include "app/form/ControlFactory.h"
#include "app/form/CorveloControls.h"
#include "app/widgets/AutoSizeLabel.h"
#include "app/widgets/FlatButton.h"
#include "app/widgets/Pictures.h"
#include "app/widgets/UpperCaseLineEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

using namespace Qt::StringLiterals;
using namespace formkit;

namespace {

// The sample captions show the shape of a connect string; the address is the
// site's own and the settings file replaces the server prefix at start.
const QString sampleServer = u"10.0.0.1"_s;

} // namespace

void CorveloControls::createTabArquivo() {
    QWidget* page = TabArquivo;

    Label10 = makeLabel(page, "Label10", u"IP Servidor ("_s + sampleServer + u":C:)"_s, 5, 5);
    edtServer = makeEdit(page, "edtServer", sampleServer + u":D:"_s, {2, 20, 137, 21});
    Label2 = makeLabel(page, "Label2", u"Arquivo Dentro do Banco"_s, 146, 5);

    edtArquivo = new QComboBox(page);
    edtArquivo->setObjectName(u"edtArquivo"_s);
    edtArquivo->setEditable(true);
    // The list holds the database's tables only; typing a name must not add it.
    edtArquivo->setInsertPolicy(QComboBox::NoInsert);
    edtArquivo->setGeometry(146, 19, 135, 21);

    SpeedButton6 = makeFlatButton(page, "SpeedButton6", u"...."_s, {2, 44, 23, 22});
    btncon = makePushButton(page, "btncon", u"Conectar"_s, {144, 45, 137, 21});
    Label1 = makeLabel(page, "Label1", u"Banco de Dados"_s, 30, 52);
    edtAlias = makeEdit(page, "edtAlias", {}, {1, 69, 472, 21});
    btnFechar = makeFlatButton(page, "btnFechar", u"Fechar Arquivo"_s, {302, 42, 99, 22});
    chkcommit = makeCheckBox(page, "chkcommit", u"dar Commit qdo Fechar"_s, false, {312, 128, 209, 17});
    SpeedButton11 = makeFlatButton(page, "SpeedButton11", u"dar Rollback na Transacao"_s, {755, 47, 190, 22});
    SpeedButton9 = makeFlatButton(page, "SpeedButton9", u"dar Commit na Transacao"_s, {755, 95, 190, 22});
    Label13 = makeLabel(page, "Label13",
                        u"Conexao linux= "_s + sampleServer + u":/mnt/fat.../ender.../banco.vkt"_s, 261, 101);

    btnAbrir = makeFlatButton(page, "btnAbrir", u"Abrir Arquivo"_s, {302, 18, 99, 22});
    Label3 = makeLabel(page, "Label3", u"Filtro"_s, 421, 6);
    edtFiltro = makeEdit(page, "edtFiltro", {}, {419, 20, 326, 21});
    btnAtiva = makeFlatButton(page, "btnAtiva", u"Ativa"_s, {418, 45, 57, 22});
    btnDesativa = makeFlatButton(page, "btnDesativa", u"Desativa"_s, {482, 45, 65, 22});
    Ordem = makePushButton(page, "Ordem", u"Ordem dos Dados >>>"_s, {2, 96, 119, 25});
    EDToRDEM = makeEdit<UpperCaseLineEdit>(page, "EDToRDEM", {}, {128, 97, 121, 21});

    SpeedButton1 =
        makeFlatButton(page, "SpeedButton1", u"Eliminar Registros Filtrados"_s, {553, 46, 193, 22});
    SpeedButton7 = makeFlatButton(page, "SpeedButton7", u"Empty na Tabela"_s, {553, 70, 193, 22});
    SpeedButton8 = makeFlatButton(page, "SpeedButton8", u"Empty em Todas as Tabelas"_s, {554, 95, 191, 22});

    SpeedButton12 = makeFlatButton(page, "SpeedButton12", {}, {760, -3, 37, 45});
    SpeedButton12->setPicture(spreadsheetPicture());
    SpeedButton12->setToolTip(u"Gerar arquivo do excel"_s);

    setFocusOrder({edtAlias, edtFiltro, edtServer, EDToRDEM, Ordem, btncon, edtArquivo, chkcommit});
}
