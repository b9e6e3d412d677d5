// Prints where every named control of the main window lies, in the window's
// own coordinates, so that scripts driving the real program never hard-code
// pixels: one line "NAME X Y WIDTH HEIGHT" per control, and "tab:PAGE ..."
// (by page name) for the page control's tab buttons. Controls of every page are measured
// with their page current, as the user sees them.
#include "app/Startup.h"
#include "app/TApplication.h"
#include "app/uFrmCorvelo.h"

#include <QTabBar>
#include <QTabWidget>
#include <QWidget>

#include <cstdio>
#include <set>

namespace {

void printRect(const QString& name, const QRect& rect) {
    std::printf("%s %d %d %d %d\n", name.toUtf8().constData(), rect.x(), rect.y(), rect.width(),
                rect.height());
}

// The rectangle of a widget in the main window, or none while it is not shown.
void printWidget(QWidget* window, QWidget* widget, std::set<QString>& printed) {
    const QString name = widget->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || printed.count(name) ||
        !widget->isVisibleTo(window))
        return;
    printed.insert(name);
    printRect(name, QRect(widget->mapTo(window, QPoint(0, 0)), widget->size()));
}

} // namespace

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    ApplyProgramFont(app);
    CreateForms();
    QWidget* window = frmCorvelo;
    window->show();
    QTabWidget* pages = frmCorvelo->PageControl1;
    QTabBar* tabs = pages->tabBar();
    std::set<QString> printed;
    printRect(QStringLiteral("frmCorvelo"), QRect(QPoint(0, 0), window->size()));
    for (int i = 0; i < pages->count(); ++i) {
        // A page gets its geometry only when it becomes the current one.
        pages->setCurrentIndex(i);
        QCoreApplication::processEvents();
        const QRect tab = tabs->tabRect(i);
        printRect(QStringLiteral("tab:") + pages->widget(i)->objectName(),
                  QRect(tabs->mapTo(window, tab.topLeft()), tab.size()));
        const auto children = pages->widget(i)->findChildren<QWidget*>();
        printWidget(window, pages->widget(i), printed);
        for (QWidget* child : children)
            printWidget(window, child, printed);
    }
    for (QWidget* child : window->findChildren<QWidget*>())
        printWidget(window, child, printed);
    // Shown only while long work runs, at the place it has then.
    auto* cancel = window->findChild<QWidget*>(QStringLiteral("btnCancelar"));
    printRect(cancel->objectName(), QRect(cancel->mapTo(window, QPoint(0, 0)), cancel->size()));
    DestroyForms();
    return 0;
}
