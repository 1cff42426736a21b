#pragma once
// What the dialog tests share: one QApplication on the offscreen platform, a closer for the
// modal boxes that a function runs, and COM<n> links in a ports folder.

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <filesystem>
#include <string>
#include <vector>

#include "support/qt_test_app.h"

namespace korvath::testing {

// Closes every modal dialog that opens while it lives (with OK or Escape) and notes its name.
class ModalCloser {
public:
    explicit ModalCloser(bool accept) : accept_(accept) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible()) return;
            seen.push_back(dialog->objectName().toStdString());
            if (accept_)
                dialog->accept();
            else
                dialog->reject();
        });
        timer_.start(5);
    }
    std::vector<std::string> seen;

private:
    bool accept_;
    QTimer timer_;
};

// Makes portsDirectory/COM<n> a link to target.
inline void LinkPort(const std::string& portsDirectory, int n, const std::string& target) {
    std::filesystem::create_directories(portsDirectory);
    std::filesystem::create_symlink(target, portsDirectory + "/COM" + std::to_string(n));
}

}  // namespace korvath::testing
