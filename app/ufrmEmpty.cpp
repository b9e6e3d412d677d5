#include "app/ufrmEmpty.h"

#include "app/form/ControlFactory.h"
#include "app/widgets/CheckListBox.h"

#include <QPushButton>

using namespace Qt::StringLiterals;

TfrmEmpty* frmEmpty = nullptr;

TfrmEmpty::TfrmEmpty(QWidget* parent) : QDialog(parent) {
    setObjectName(u"frmEmpty"_s);
    setWindowTitle(u"Empty em Todas as Tabelas"_s);
    move(186, 149);
    resize(544, 375);

    itemLista = new CheckListBox(this);
    itemLista->setObjectName(u"itemLista"_s);
    itemLista->setGeometry(16, 16, 257, 297);
    Button1 = formkit::makePushButton(this, "Button1", u"Empty "_s, {296, 48, 169, 25});
    Button2 = formkit::makePushButton(this, "Button2", u"Marcar Todos"_s, {312, 136, 129, 25});
    Button3 = formkit::makePushButton(this, "Button3", u"Desmarcar Todos"_s, {312, 168, 129, 25});
    // Enter in the list presses no button: emptying tables takes a deliberate click.
    for (QPushButton* button : {Button1, Button2, Button3})
        button->setAutoDefault(false);

    formkit::setFocusOrder({itemLista, Button1, Button2, Button3});
}

TfrmEmpty::~TfrmEmpty() {
    if (frmEmpty == this)
        frmEmpty = nullptr;
}
