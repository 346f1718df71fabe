#pragma once

#include <QApplication>

namespace testing_support {

// The one QApplication of a widget test binary, created on first use. It is never
// destroyed: tearing it down among the other static objects at exit crashes Qt.
inline QApplication& qtApp() {
    static int argc = 1;
    static char name[] = "zorvan-test";
    static char* argv[] = {name, nullptr};
    static auto* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace testing_support
