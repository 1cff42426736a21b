#include "ui/app/lock_indicators.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QStatusBar>

#include "ui/app/app_texts.h"

namespace korvath::ui {
namespace {
constexpr int kPollMs = 300;

bool LedOn(const QString& brightnessFile) {
    QFile f(brightnessFile);
    if (!f.open(QIODevice::ReadOnly)) return false;
    return f.readAll().trimmed().toInt() > 0;
}
}  // namespace

LockIndicators::LockIndicators(QStatusBar* bar, QString ledDirectory)
    : QObject(bar),
      locks_{{{texts::kIndicatorCaps, "::capslock", {}},
              {texts::kIndicatorNum, "::numlock", {}},
              {texts::kIndicatorScroll, "::scrolllock", {}}}} {
    const QDir leds(ledDirectory);
    const QStringList entries = leds.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
    for (std::size_t i = 0; i < locks_.size(); ++i) {
        Lock& lock = locks_[i];
        for (const QString& entry : entries) {
            if (!entry.endsWith(QLatin1String(lock.ledSuffix))) continue;
            const QString file = leds.filePath(entry + QStringLiteral("/brightness"));
            if (QFile::exists(file)) lock.brightnessFiles.append(file);
        }
        readable_ = readable_ || !lock.brightnessFiles.isEmpty();
        auto* pane = new QLabel(bar);
        pane->setObjectName(QStringLiteral("Indicator") + QLatin1String(lock.text));
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QLatin1String(lock.text)) + 8);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addPermanentWidget(pane);
        panes_[i] = pane;
    }
    Update();
    if (readable_) {
        connect(&timer_, &QTimer::timeout, this, &LockIndicators::Update);
        timer_.start(kPollMs);
    }
}

void LockIndicators::Update() {
    for (std::size_t i = 0; i < locks_.size(); ++i) {
        bool on = false;
        // Several keyboards: the lock is on when any of them shows it.
        for (const QString& file : locks_[i].brightnessFiles) on = on || LedOn(file);
        panes_[i]->setText(on ? QLatin1String(locks_[i].text) : QString());
    }
}

}  // namespace korvath::ui
