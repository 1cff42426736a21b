#pragma once
// The CAP, NUM and SCRL panes of the status bar. Qt does not tell the lock states, so they are
// read from the keyboard LEDs the kernel exposes (/sys/class/leds/*::capslock and the like);
// where there are none the panes stay blank.

#include <QLabel>
#include <QString>
#include <QTimer>
#include <array>

class QStatusBar;

namespace korvath::ui {

class LockIndicators final : public QObject {
    Q_OBJECT
public:
    LockIndicators(QStatusBar* bar, QString ledDirectory = QStringLiteral("/sys/class/leds"));

    // Reads the states again and shows them.
    void Update();
    bool Readable() const { return readable_; }
    QLabel* pane(int index) const { return panes_[static_cast<std::size_t>(index)]; }

private:
    struct Lock {
        const char* text;
        const char* ledSuffix;
        QStringList brightnessFiles;
    };
    std::array<Lock, 3> locks_;
    std::array<QLabel*, 3> panes_{};
    bool readable_ = false;
    QTimer timer_;
};

}  // namespace korvath::ui
