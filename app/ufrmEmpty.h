#pragma once
#include <QDialog>
#include <string>
#include <vector>

class CheckListBox;
class QPushButton;

// The table-choice dialog: one check box per user table of the database.
class TfrmEmpty : public QDialog {
    Q_OBJECT
public:
    // The dialog's modal results, as exec() returns them.
    enum ModalResult { mrOk = 1, mrCancel = 2 };

    explicit TfrmEmpty(QWidget* parent = nullptr);
    ~TfrmEmpty() override;

    void Button1Click(QObject* sender);
    void Button2Click(QObject* sender);
    void Button3Click(QObject* sender);

    // Replaces the list with these names, every box cleared.
    void ShowTables(const std::vector<std::string>& names);
    // The checked names, in list order.
    std::vector<std::string> CheckedTables() const;

    CheckListBox* itemLista = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;

public slots:
    // Escape and the title bar's close button end the dialog with Cancel.
    void reject() override;

private:
    void onClick(QPushButton* button, void (TfrmEmpty::*handler)(QObject*));
    void setAllChecked(bool checked);
};

// The one instance, created at start right after the main window.
extern TfrmEmpty* frmEmpty;
