// The "Grava Campo" page: write, renumber, strip accents, sum, count, pad.
#include "app/form/ControlFactory.h"
#include "app/form/CorveloControls.h"
#include "app/widgets/AutoSizeLabel.h"
#include "app/widgets/FlatButton.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;
using namespace formkit;

void CorveloControls::createTabGravaCampo() {
    QWidget* page = TabSheet2;

    Label4 = makeLabel(page, "Label4", u"Campo"_s, 32, 40);
    edtCampo = makeEdit(page, "edtCampo", {}, {80, 36, 129, 21});
    Label5 = makeLabel(page, "Label5", u"Valor"_s, 40, 64);
    edtValor = makeEdit(page, "edtValor", {}, {80, 64, 281, 21});
    chkProx = makeCheckBox(page, "chkProx", u"Próximo"_s, true, {264, 16, 97, 17});
    chkRepress =
        makeCheckBox(page, "chkRepress", u"Reprocessar Codigo ( Auto Inc )"_s, false, {80, 88, 169, 17});

    gprTipo = makeGroupBox(page, "gprTipo", u"Tipo"_s, {392, 8, 169, 113});
    rbInteger = makeRadioButton(gprTipo, "rbInteger", u"Integer"_s, true, {8, 16, 65, 17});
    rbReal = makeRadioButton(gprTipo, "rbReal", u"Real"_s, false, {8, 40, 65, 17});
    rbFloat = makeRadioButton(gprTipo, "rbFloat", u"Float"_s, false, {8, 64, 65, 17});
    rbData = makeRadioButton(gprTipo, "rbData", u"Data"_s, false, {89, 16, 73, 17});
    rbString = makeRadioButton(gprTipo, "rbString", u"String"_s, false, {88, 40, 57, 17});
    rbBoolean = makeRadioButton(gprTipo, "rbBoolean", u"Boolean"_s, false, {88, 64, 65, 17});
    rdACento = makeRadioButton(gprTipo, "rdACento", u"Tira acento"_s, false, {8, 88, 81, 17});

    btnProcessar = makeFlatButton(page, "btnProcessar", u"Processar"_s, {576, 8, 87, 25});
    SpeedButton2 = makeFlatButton(page, "SpeedButton2", u"Soma Campo"_s, {576, 35, 87, 25});
    SpeedButton3 = makeFlatButton(page, "SpeedButton3", u"Conta Registros"_s, {576, 62, 87, 25});
    edtSoma = makeEdit(page, "edtSoma", u"0"_s, {576, 92, 129, 21});
    Label11 = makeLabel(page, "Label11", u"Label11"_s, 672, 16);
    Label12 = makeLabel(page, "Label12", u"Label11"_s, 672, 32);
    Button5 = makePushButton(page, "Button5", u"Str Zeros"_s, {728, 8, 113, 25});
    Label16 = makeLabel(page, "Label16", u"Nros de (0)"_s, 848, 14);
    edtZeros = makeEdit(page, "edtZeros", u"2"_s, {904, 10, 33, 21});

    setFocusOrder({rbInteger, rbReal, rbBoolean, rbString, rbFloat, rbData, rdACento, edtCampo, edtValor,
                   chkProx, edtSoma, chkRepress, Button5, edtZeros});
}
