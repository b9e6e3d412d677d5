#include "app/ufrmEmpty.h"

#include "app/DeletionConsent.h"
#include "app/ErrorHandling.h"
#include "app/ScreenText.h"
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

    onClick(Button1, &TfrmEmpty::Button1Click);
    onClick(Button2, &TfrmEmpty::Button2Click);
    onClick(Button3, &TfrmEmpty::Button3Click);
}

TfrmEmpty::~TfrmEmpty() {
    if (frmEmpty == this)
        frmEmpty = nullptr;
}

void TfrmEmpty::onClick(QPushButton* button, void (TfrmEmpty::*handler)(QObject*)) {
    connect(button, &QPushButton::clicked, this,
            [this, button, handler] { guarded(button, [&] { (this->*handler)(button); }); });
}

void TfrmEmpty::Button1Click(QObject*) {
    // Either answer closes the dialog.
    done(ConfirmedTwice("Deseja Executar Empty em todas as Tabelas ? ? ?") ? mrOk : mrCancel);
}

void TfrmEmpty::Button2Click(QObject*) {
    setAllChecked(true);
}

void TfrmEmpty::Button3Click(QObject*) {
    setAllChecked(false);
}

void TfrmEmpty::reject() {
    done(mrCancel);
}

void TfrmEmpty::setAllChecked(bool checked) {
    for (int row = 0; row < itemLista->count(); ++row)
        itemLista->setChecked(row, checked);
}

void TfrmEmpty::ShowTables(const std::vector<std::string>& names) {
    itemLista->clear();
    for (const std::string& name : names)
        itemLista->addCheckItem(toScreen(name));
}

std::vector<std::string> TfrmEmpty::CheckedTables() const {
    std::vector<std::string> names;
    for (int row = 0; row < itemLista->count(); ++row)
        if (itemLista->isChecked(row))
            names.push_back(fromScreen(itemLista->item(row)->text()));
    return names;
}
