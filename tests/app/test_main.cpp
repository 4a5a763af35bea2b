// One QApplication for all window tests; headless unless a platform is given. Headless,
// there are two screens (screens.json): a wide one, where windows open, and a small one,
// 1280 by 800 pixels at 150 % scaling.
#include <gtest/gtest.h>
#include <QApplication>

#include "app/app_setup.h"
#include "app_test_support.h"

#ifdef _WIN32
#include <windows.h>
#endif

bool apptest::UnderWine() {
#ifdef _WIN32
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

int main(int argc, char* argv[]) {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen") {
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" QB_TEST_SCREENS);
    }
    QApplication application(argc, argv);
    qb::app::PrepareApplication(application);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
