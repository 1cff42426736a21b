#include "ui/tools/tools_menu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "ui/app/app_texts.h"
#include "ui/tools/check_calibration_tool.h"
#include "ui/tools/communication_trace_tool.h"
#include "ui/tools/compare_tool.h"
#include "ui/tools/crosshair_trail_tool.h"
#include "ui/tools/curve_export_tool.h"
#include "ui/tools/curve_values_tool.h"
#include "ui/tools/data_log_tool.h"
#include "ui/tools/edit_history.h"
#include "ui/tools/report_tool.h"
#include "ui/tools/restore_points_tool.h"
#include "ui/tools/tools_texts.h"

namespace korvath::ui {

ToolsMenu::ToolsMenu(QMainWindow& frame, CQRNDoc& doc, CQRNView& view, SettingsStore& settings,
                     std::function<QString()> documentName, QDockWidget* dashboardBar,
                     const RestorePointActions* restorePointActions)
    : QObject(&frame) {
    setObjectName(QStringLiteral("ToolsMenu"));
    QMenuBar* bar = frame.menuBar();
    menu_ = new QMenu(QString::fromUtf8(texts::kMenuTools), bar);
    menu_->setObjectName(QStringLiteral("MenuTools"));
    // Before Help, which stays the last menu.
    QAction* before = nullptr;
    for (QAction* a : bar->actions())
        if (a->menu() && a->menu()->title() == QString::fromUtf8(texts::kMenuHelp)) before = a;
    bar->insertMenu(before, menu_);

    compare_ = new CompareTool(frame, doc, view, settings, *this);
    export_ = new CurveExportTool(frame, doc, view, documentName, *this);
    report_ = new ReportTool(frame, doc, view, *compare_, std::move(documentName), *this);
    dataLog_ = new DataLogTool(frame, doc, view, dashboardBar, *this);
    trail_ = new CrosshairTrailTool(view, settings, *this);
    AddCheckCalibrationItem(*this, doc);
    if (restorePointActions)
        restorePoints_ = new RestorePointsTool(frame, doc, settings, *this, *compare_, *restorePointActions);
    trace_ = new CommunicationTraceTool(frame, doc, *this);
    history_ = new EditHistory(doc, view, this);
    curveValues_ = new CurveValuesTool(frame, doc, view, *history_, *this, dashboardBar);
}

ToolsMenu::~ToolsMenu() = default;

QAction* ToolsMenu::AddItem(const char* text, const char* statusTip, std::function<void()> run,
                            bool separatorBefore) {
    if (separatorBefore) menu_->addSeparator();
    QAction* action = menu_->addAction(QString::fromUtf8(text));
    action->setStatusTip(QString::fromUtf8(statusTip));
    connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
    return action;
}

void ToolsMenu::OnAboutToShow(std::function<void()> update) {
    connect(menu_, &QMenu::aboutToShow, this, [update = std::move(update)] { update(); });
}

}  // namespace korvath::ui
