// Saves a picture of the real main window, connected to a database and with a
// table open: window_snapshot CONNECT_STRING TABLE OUTPUT.png
#include "app/Startup.h"
#include "app/TApplication.h"
#include "app/uFrmCorvelo.h"
#include "app/widgets/FlatButton.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: window_snapshot CONNECT_STRING TABLE OUTPUT.png\n", stderr);
        return 2;
    }
    TApplication app(argc, argv);
    ApplyProgramFont(app);
    CreateForms();
    frmCorvelo->resize(1382, 784);
    frmCorvelo->show();
    int result = 1;
    QTimer::singleShot(200, [&] {
        frmCorvelo->edtAlias->setText(QString::fromLocal8Bit(argv[1]));
        frmCorvelo->btncon->click();
        frmCorvelo->edtArquivo->setEditText(QString::fromLocal8Bit(argv[2]));
        frmCorvelo->btnAbrir->click();
        frmCorvelo->DBDados->setFocus();
        QTimer::singleShot(300, [&] {
            result = frmCorvelo->grab().save(QString::fromLocal8Bit(argv[3])) && frmCorvelo->table.Active()
                         ? 0
                         : 1;
            app.quit();
        });
    });
    app.exec();
    DestroyForms();
    return result;
}
