// The "+  -  * / " page: one arithmetic operation with a constant on a column.
#include "app/form/ControlFactory.h"
#include "app/form/CorveloControls.h"
#include "app/widgets/AutoSizeLabel.h"
#include "app/widgets/FlatButton.h"

#include <QGroupBox>
#include <QRadioButton>

using namespace Qt::StringLiterals;
using namespace formkit;

void CorveloControls::createTabAritmetica() {
    QWidget* page = TabSheet3;

    Label8 = makeLabel(page, "Label8", u"Campo"_s, 32, 40);
    Edit1 = makeEdit(page, "Edit1", u"Edit1"_s, {80, 36, 129, 21});
    Label9 = makeLabel(page, "Label9", u"Valor"_s, 40, 64);
    Edit2 = makeEdit(page, "Edit2", u"Edit2"_s, {80, 64, 129, 21});

    GroupBox2 = makeGroupBox(page, "GroupBox2", u"Operacao"_s, {224, 24, 169, 67});
    opMais = makeRadioButton(GroupBox2, "opMais", u"+"_s, true, {8, 16, 65, 17});
    OpMenos = makeRadioButton(GroupBox2, "OpMenos", u"-"_s, false, {8, 40, 65, 17});
    OpVez = makeRadioButton(GroupBox2, "OpVez", u"*"_s, false, {81, 16, 73, 17});
    OpDiv = makeRadioButton(GroupBox2, "OpDiv", u"/"_s, false, {80, 40, 65, 17});

    GroupBox1 = makeGroupBox(page, "GroupBox1", u"Tipo"_s, {400, 24, 169, 65});
    OpInteger = makeRadioButton(GroupBox1, "OpInteger", u"Integer"_s, true, {8, 16, 65, 17});
    OpReal = makeRadioButton(GroupBox1, "OpReal", u"Real"_s, false, {8, 40, 65, 17});
    OpFloat = makeRadioButton(GroupBox1, "OpFloat", u"Float"_s, false, {88, 40, 65, 17});
    OpData = makeRadioButton(GroupBox1, "OpData", u"Data"_s, false, {89, 16, 73, 17});

    SpeedButton5 = makeFlatButton(page, "SpeedButton5", u"Processar"_s, {576, 8, 87, 25});

    setFocusOrder({OpInteger, OpReal, OpFloat, OpData, Edit1, Edit2, opMais, OpMenos, OpDiv, OpVez});
}
