#pragma once
// The one QApplication of a UI test program (offscreen platform, set by CTest).

#include <QApplication>

namespace korvath::testing {

inline QApplication& TestApp() {
    static int argc = 1;
    static char name[] = "korvath-ui-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        // Message boxes and dialogs open and close many times in one run; the program must not
        // end when the last window closes.
        QApplication::setQuitOnLastWindowClosed(false);
        return a;
    }();
    return *app;
}

}  // namespace korvath::testing
