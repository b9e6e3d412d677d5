#pragma once
// Every control of the main window, named as the handlers and tests know them.
// The window derives from this struct and calls createControls(this); it lays
// out PageControl1 and DBDados itself, the rest keeps its design geometry.

class AutoSizeLabel;
class FlatButton;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;
class QWidget;
class UpperCaseLineEdit;

struct CorveloControls {
    // Frame: page control on top, grid below, editor panel floating over the grid.
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabArquivo = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QWidget* TabSheet4 = nullptr;
    QTableView* DBDados = nullptr;
    QFrame* pnlMemo = nullptr;
    QPlainTextEdit* memo = nullptr;
    FlatButton* btnConfMemo = nullptr;
    FlatButton* btnCancMemo = nullptr;

    // "Arquivo": connection, commit and rollback.
    AutoSizeLabel* Label10 = nullptr;
    QLineEdit* edtServer = nullptr;
    AutoSizeLabel* Label2 = nullptr;
    QComboBox* edtArquivo = nullptr;
    FlatButton* SpeedButton6 = nullptr;
    QPushButton* btncon = nullptr;
    AutoSizeLabel* Label1 = nullptr;
    QLineEdit* edtAlias = nullptr;
    FlatButton* btnFechar = nullptr;
    QCheckBox* chkcommit = nullptr;
    FlatButton* SpeedButton11 = nullptr;
    FlatButton* SpeedButton9 = nullptr;
    AutoSizeLabel* Label13 = nullptr;
    // "Arquivo": table, filter and order.
    FlatButton* btnAbrir = nullptr;
    AutoSizeLabel* Label3 = nullptr;
    QLineEdit* edtFiltro = nullptr;
    FlatButton* btnAtiva = nullptr;
    FlatButton* btnDesativa = nullptr;
    QPushButton* Ordem = nullptr;
    UpperCaseLineEdit* EDToRDEM = nullptr;
    // "Arquivo": deletion and export.
    FlatButton* SpeedButton1 = nullptr;
    FlatButton* SpeedButton7 = nullptr;
    FlatButton* SpeedButton8 = nullptr;
    FlatButton* SpeedButton12 = nullptr;

    // "Grava Campo".
    AutoSizeLabel* Label4 = nullptr;
    QLineEdit* edtCampo = nullptr;
    AutoSizeLabel* Label5 = nullptr;
    QLineEdit* edtValor = nullptr;
    QCheckBox* chkProx = nullptr;
    QCheckBox* chkRepress = nullptr;
    QGroupBox* gprTipo = nullptr;
    QRadioButton* rbInteger = nullptr;
    QRadioButton* rbReal = nullptr;
    QRadioButton* rbFloat = nullptr;
    QRadioButton* rbData = nullptr;
    QRadioButton* rbString = nullptr;
    QRadioButton* rbBoolean = nullptr;
    QRadioButton* rdACento = nullptr;
    FlatButton* btnProcessar = nullptr;
    FlatButton* SpeedButton2 = nullptr;
    FlatButton* SpeedButton3 = nullptr;
    QLineEdit* edtSoma = nullptr;
    AutoSizeLabel* Label11 = nullptr;
    AutoSizeLabel* Label12 = nullptr;
    QPushButton* Button5 = nullptr;
    AutoSizeLabel* Label16 = nullptr;
    QLineEdit* edtZeros = nullptr;

    // "Cruzar Campo".
    AutoSizeLabel* Label6 = nullptr;
    QLineEdit* edtdoCampo = nullptr;
    QGroupBox* gprDo = nullptr;
    QRadioButton* rbdInteger = nullptr;
    QRadioButton* rbdReal = nullptr;
    QRadioButton* rbdFloat = nullptr;
    QRadioButton* rbdData = nullptr;
    QRadioButton* rbdString = nullptr;
    QRadioButton* rbdBoolean = nullptr;
    AutoSizeLabel* Label7 = nullptr;
    QLineEdit* pCampo = nullptr;
    QGroupBox* gprPara = nullptr;
    QRadioButton* rbpInteger = nullptr;
    QRadioButton* rbpReal = nullptr;
    QRadioButton* rbpFloat = nullptr;
    QRadioButton* rbpData = nullptr;
    QRadioButton* rbpString = nullptr;
    QRadioButton* rbpBoolean = nullptr;
    QRadioButton* rdSoNumro = nullptr;
    FlatButton* SpeedButton4 = nullptr;

    // "+  -  * / ".
    AutoSizeLabel* Label8 = nullptr;
    QLineEdit* Edit1 = nullptr;
    AutoSizeLabel* Label9 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QRadioButton* opMais = nullptr;
    QRadioButton* OpMenos = nullptr;
    QRadioButton* OpVez = nullptr;
    QRadioButton* OpDiv = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QRadioButton* OpInteger = nullptr;
    QRadioButton* OpReal = nullptr;
    QRadioButton* OpFloat = nullptr;
    QRadioButton* OpData = nullptr;
    FlatButton* SpeedButton5 = nullptr;

    // "Scripst Sql".
    QPlainTextEdit* memoscript = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    FlatButton* btnExecut = nullptr;
    AutoSizeLabel* Label14 = nullptr;
    QLineEdit* edtEnd = nullptr;
    QPushButton* Button3 = nullptr;
    AutoSizeLabel* lbltot = nullptr;
    AutoSizeLabel* lblatual = nullptr;
    AutoSizeLabel* lblerro = nullptr;
    AutoSizeLabel* Label15 = nullptr;
    FlatButton* SpeedButton10 = nullptr;
    QPushButton* Button4 = nullptr;
    FlatButton* btnExcel = nullptr;

    // Builds every control above with form as their common ancestor.
    void createControls(QWidget* form);

private:
    void createFrame(QWidget* form);
    void createTabArquivo();
    void createTabGravaCampo();
    void createTabCruzarCampo();
    void createTabAritmetica();
    void createTabScript();
};
