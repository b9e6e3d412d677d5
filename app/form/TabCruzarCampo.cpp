// The "Cruzar Campo" page: copy one column into another, typed on both ends.
#include "app/form/ControlFactory.h"
#include "app/form/CorveloControls.h"
#include "app/widgets/AutoSizeLabel.h"
#include "app/widgets/FlatButton.h"

#include <QGroupBox>
#include <QRadioButton>

using namespace Qt::StringLiterals;
using namespace formkit;

void CorveloControls::createTabCruzarCampo() {
    QWidget* page = TabSheet1;

    Label6 = makeLabel(page, "Label6", u"do Campo"_s, 16, 8);
    edtdoCampo = makeEdit(page, "edtdoCampo", {}, {72, 4, 169, 21});
    gprDo = makeGroupBox(page, "gprDo", u"Tipo"_s, {72, 24, 169, 90});
    rbdInteger = makeRadioButton(gprDo, "rbdInteger", u"Integer"_s, true, {8, 16, 65, 17});
    rbdReal = makeRadioButton(gprDo, "rbdReal", u"Real"_s, false, {8, 40, 65, 17});
    rbdFloat = makeRadioButton(gprDo, "rbdFloat", u"Float"_s, false, {8, 64, 65, 17});
    rbdData = makeRadioButton(gprDo, "rbdData", u"Data"_s, false, {89, 16, 73, 17});
    rbdString = makeRadioButton(gprDo, "rbdString", u"String"_s, false, {88, 40, 57, 17});
    rbdBoolean = makeRadioButton(gprDo, "rbdBoolean", u"Boolean"_s, false, {88, 64, 65, 17});

    Label7 = makeLabel(page, "Label7", u"para o Campo"_s, 288, 8);
    pCampo = makeEdit(page, "pCampo", {}, {360, 4, 169, 21});
    gprPara = makeGroupBox(page, "gprPara", u"Tipo"_s, {360, 24, 169, 113});
    rbpInteger = makeRadioButton(gprPara, "rbpInteger", u"Integer"_s, true, {8, 16, 65, 17});
    rbpReal = makeRadioButton(gprPara, "rbpReal", u"Real"_s, false, {8, 40, 65, 17});
    rbpFloat = makeRadioButton(gprPara, "rbpFloat", u"Float"_s, false, {8, 57, 65, 25});
    rbpData = makeRadioButton(gprPara, "rbpData", u"Data"_s, false, {89, 16, 73, 17});
    rbpString = makeRadioButton(gprPara, "rbpString", u"String"_s, false, {88, 40, 57, 17});
    rbpBoolean = makeRadioButton(gprPara, "rbpBoolean", u"Boolean"_s, false, {88, 59, 65, 17});
    rdSoNumro = makeRadioButton(gprPara, "rdSoNumro", u"somente numeros"_s, false, {8, 80, 137, 25});

    SpeedButton4 = makeFlatButton(page, "SpeedButton4", u"Processar"_s, {576, 8, 87, 25});

    setFocusOrder({rbdInteger, rbdReal, rbdBoolean, rbdString, rbdFloat, rbdData, edtdoCampo, rbpInteger,
                   rbpReal, rbpBoolean, rbpString, rbpFloat, rbpData, rdSoNumro, pCampo});
}
