// One QApplication for all window tests; headless unless a platform is given.
#include <QApplication>
#include <gtest/gtest.h>

#include "app/app_setup.h"

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    qb::app::PrepareApplication(application);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
