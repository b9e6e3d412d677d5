// Widget tests need one QApplication for the whole run; the offscreen
// platform lets them run without a display.
#include "app/Startup.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PrepareApplication(app); // the font the forms are laid out for, Qt's texts in Portuguese
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
