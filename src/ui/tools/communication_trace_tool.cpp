#include "ui/tools/communication_trace_tool.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>

#include "comm/serialport.h"
#include "comm/vuz_monitor.h"
#include "document/qrndoc.h"
#include "platform/message_style.h"
#include "ui/app/qt_hosts.h"
#include "ui/tools/tools_menu.h"
#include "ui/tools/tools_texts.h"

namespace korvath::ui {
namespace {

QString Text(const char* text) { return QString::fromUtf8(text); }

}  // namespace

CommunicationTraceTool::CommunicationTraceTool(QMainWindow& frame, CQRNDoc& doc, ToolsMenu& menu)
    : QObject(&menu), frame_(frame), doc_(doc) {
    action_ = menu.AddItem(texts::kTraceItem, texts::kTraceStatus, [this] { OnChosen(); }, true);
    action_->setObjectName(QStringLiteral("CommunicationTrace"));
    action_->setCheckable(true);
    // The limit is reached inside an exchange: the window hears of it once that is over.
    trace_.SetLimitHandler([this] { QTimer::singleShot(0, this, &CommunicationTraceTool::OnLimit); });
}

CommunicationTraceTool::~CommunicationTraceTool() { Detach(); }

CSerialPort* CommunicationTraceTool::Link() const {
    return doc_.monitor() ? dynamic_cast<CSerialPort*>(doc_.monitor()->transport()) : nullptr;
}

void CommunicationTraceTool::Detach() {
    if (tracedLink_) tracedLink_->SetTrace(nullptr);
    tracedLink_ = nullptr;
}

void CommunicationTraceTool::Say(const QString& text) {
    if (frame_.statusBar()) frame_.statusBar()->showMessage(text);
}

void CommunicationTraceTool::OnChosen() {
    if (trace_.active()) {
        Stop();
        return;
    }
    action_->setChecked(false);
    const QString path = QFileDialog::getSaveFileName(&frame_, Text(texts::kTraceTitle),
                                                      QDir::home().filePath(Text(texts::kTraceDefaultName)),
                                                      Text(texts::kTraceFilter));
    if (!path.isEmpty()) Start(path);
}

bool CommunicationTraceTool::Start(const QString& path) {
    Stop();
    CSerialPort* link = Link();
    std::string why;
    if (!link) why = texts::kTraceNoLink;
    if (link && trace_.Start(path.toStdString(), why)) {
        tracedLink_ = link;
        link->SetTrace(&trace_);
        action_->setChecked(true);
        Say(Text(texts::kTraceStartedFormat).arg(QDir::toNativeSeparators(path)));
        return true;
    }
    action_->setChecked(false);
    ShowMessageBox(&frame_, Text(texts::kTraceFailedFormat).arg(QDir::toNativeSeparators(path), QString::fromStdString(why)),
                   Text(texts::kTraceTitle), MessageStyle::IconExclamation);
    return false;
}

void CommunicationTraceTool::Stop() {
    if (!trace_.active()) return;
    Detach();
    trace_.Stop();
    action_->setChecked(false);
    Say(Text(texts::kTraceStoppedFormat).arg(QDir::toNativeSeparators(QString::fromStdString(trace_.path()))));
}

void CommunicationTraceTool::OnLimit() {
    Detach();
    action_->setChecked(false);
    Say(Text(texts::kTraceFullFormat).arg(QDir::toNativeSeparators(QString::fromStdString(trace_.path()))));
}

}  // namespace korvath::ui
