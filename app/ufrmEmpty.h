#pragma once
#include <QDialog>

class CheckListBox;
class QPushButton;

// The table-choice dialog: one check box per user table of the database.
class TfrmEmpty : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEmpty(QWidget* parent = nullptr);
    ~TfrmEmpty() override;

    CheckListBox* itemLista = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
};

// The one instance, created at start right after the main window.
extern TfrmEmpty* frmEmpty;
