#include "ui/app/mainfrm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDebug>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolTip>
#include <QVBoxLayout>
#ifdef KORVATH_HAVE_DBUS
#include <QDBusConnection>
#endif

#include "layout/main_window_settings.h"
#include "document/qrndoc.h"
#include "platform/message_style.h"
#include "platform/settings_store.h"
#include "ui/app/app_texts.h"
#include "ui/app/command_table.h"
#include "ui/app/control_bar.h"
#include "ui/app/controller_commands.h"
#include "ui/app/lock_indicators.h"
#include "ui/app/qrn.h"
#include "ui/app/qt_hosts.h"
#include "ui/app/screen_fit.h"
#include "ui/app/shell_windows.h"
#include "ui/graph/qrnview.h"
#include "ui/tools/check_calibration_tool.h"
#include "ui/tools/restore_points_tool.h"
#include "ui/tools/edit_history.h"
#include "ui/tools/tools_menu.h"

// The bundled icons live in the library; a static library's resources are registered by hand.
static void InitShellResources() { Q_INIT_RESOURCE(korvath); }

namespace korvath::ui {
namespace {

constexpr int kCommandUiPeriodMs = 250;
constexpr const char* kBarStateKey = "State";
// Power notices: a suspend query and a suspend.
constexpr int kPowerQuerySuspend = 0;
constexpr int kPowerSuspend = 4;
// Status-bar fonts below this height (pixels) get the larger bar layouts.
constexpr int kSmallFontHeight = 13;
// The bar layouts in dialog units: graph bar and dashboard, large and small.
constexpr QSize kGraphBarLarge{89, 377}, kGraphBarSmall{69, 298};
constexpr QSize kDashboardLarge{702, 54}, kDashboardSmall{519, 45};
constexpr int kProgressWidth = 160;
// The first window's size where the screen has room for it.
constexpr WindowSize kPreferredWindow{980, 700};

QString Text(const char* text) { return QString::fromUtf8(text); }

QIcon CommandIcon(const CommandInfo& c) {
    const QIcon fallback = *c.fallbackIcon ? QIcon(Text(c.fallbackIcon)) : QIcon();
    if (!*c.iconName) return fallback;
    return QIcon::fromTheme(Text(c.iconName), fallback);
}

// Dialog units to pixels with the font of the dialogs.
QSize DialogUnits(QSize units, const QFont& font) {
    const QFontMetrics fm(font);
    const int avg = fm.averageCharWidth();
    return {units.width() * avg / 4, units.height() * fm.height() / 8};
}

WindowRect ToWindowRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }
QRect ToQRect(const WindowRect& r) { return {r.x, r.y, r.width, r.height}; }

}  // namespace

CMainFrame::CMainFrame(CQRNApp& app, CQRNDoc& doc, SettingsStore& settings, ControllerCommands& controller,
                       ShellWindows& shell)
    : app_(app), doc_(doc), settings_(settings), controller_(controller), shell_(shell) {
    InitShellResources();
    setObjectName(QStringLiteral("MainFrame"));
    setAcceptDrops(true);
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);
    ApplyMinimumSize();

    const QFont statusFont = QApplication::font("QStatusBar");
    largeTemplates_ = QFontMetrics(statusFont).height() < kSmallFontHeight;

    CreateActions();
    CreateMenus();
    CreateToolbar();
    CreateBars();
    CreateStatusBar();

    view_ = new CQRNView(doc_, this);
    view_->SetMinTrackSizeHandler([this](int w, int h) { SetMinTrackSize(w, h); });
    connect(view_, &CQRNView::editStatus, statusBar(), [this](const QString& text) { statusBar()->showMessage(text); });
    setCentralWidget(view_);
    view_->setFocus();
    const RestorePointActions restorePointActions{[this](const QString& path) { return app_.OpenDocumentFile(path); },
                                                  [this] { return controller_.IsConnected(); },
                                                  [this] { OnCommand(cmd::WriteCalibration); }};
    tools_ = new ToolsMenu(*this, doc_, *view_, settings_, [this] { return app_.DocumentName(); }, dashboard_,
                           &restorePointActions);

    RestoreBarState();
    RestorePlacement();
    UpdateTitle();
    RebuildRecentFiles();
    UpdateCommandUI();

    auto* commandUi = new QTimer(this);
    connect(commandUi, &QTimer::timeout, this, &CMainFrame::UpdateCommandUI);
    commandUi->start(kCommandUiPeriodMs);

    qApp->installEventFilter(this);
    ConnectStandby();
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    // The bars hide while the window is taken down, after the members they would reach.
    disconnect(dashboard_, nullptr, this, nullptr);
}

void CMainFrame::CreateActions() {
    for (const CommandInfo& c : Commands()) {
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("cmd%1").arg(c.id));
        action->setData(c.id);
        action->setText(*c.menuText ? Text(c.menuText) : Text(c.toolTip));
        action->setStatusTip(Text(c.statusText));
        action->setToolTip(Text(c.toolTip));
        action->setIcon(CommandIcon(c));
        action->setIconVisibleInMenu(false);
        QList<QKeySequence> keys;
        for (const QString& k : Text(c.keys).split(QStringLiteral("; "), Qt::SkipEmptyParts))
            keys.append(QKeySequence(k, QKeySequence::PortableText));
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        switch (c.id) {
            case cmd::ViewToolbar:
            case cmd::ViewStatusBar:
            case cmd::ViewDashboard:
            case cmd::SelectTable1:
            case cmd::SelectTable2: action->setCheckable(true); break;
            default: break;
        }
        const int id = c.id;
        if (id == cmd::ReadCalibration || id == cmd::WriteCalibration) {
            // A transfer starts once the menu that chose it has closed, so that nothing of the
            // menu stays on the window while the transfer paints its progress.
            connect(action, &QAction::triggered, this,
                    [this, id] { QTimer::singleShot(0, this, [this, id] { OnCommand(id); }); });
        } else {
            connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        }
        actions_.insert(c.id, action);
        // F1 and Shift+F1 work without a menu item.
        if (c.menu == MenuName::None) addAction(action);
    }
}

void CMainFrame::CreateMenus() {
    QMenu* menus[4] = {menuBar()->addMenu(Text(texts::kMenuFile)), menuBar()->addMenu(Text(texts::kMenuEdit)),
                       menuBar()->addMenu(Text(texts::kMenuView)), menuBar()->addMenu(Text(texts::kMenuHelp))};
    fileMenu_ = menus[0];
    for (QMenu* menu : menus) connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
    for (const CommandInfo& c : Commands()) {
        if (c.menu == MenuName::None) continue;
        QMenu* menu = menus[static_cast<int>(c.menu)];
        if (c.separatorBefore) menu->addSeparator();
        QAction* action = actions_.value(c.id);
        menu->addAction(action);
        if (c.id == cmd::RecentFile) recentAnchor_ = action;
    }
}

void CMainFrame::CreateToolbar() {
    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName(QStringLiteral("Bar%1").arg(kToolbarId));
    toolbar_->setIconSize(QSize(16, 16));
    toolbar_->setAllowedAreas(Qt::AllToolBarAreas);
    toolbar_->setWindowTitle(Text(FindCommand(cmd::ViewToolbar)->toolTip));
    for (int id : ToolbarLayout()) {
        if (id == cmd::Separator)
            toolbar_->addSeparator();
        else
            toolbar_->addAction(actions_.value(id));
    }
    addToolBar(Qt::TopToolBarArea, toolbar_);
}

void CMainFrame::CreateBars() {
    const QFont dialogFont = font();
    graphBar_ = new CControlBar(Text(texts::kGraphBarTitle), kGraphBarId, CControlBar::CloseRule::NeverClosed, this);
    graphBar_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    graphBar_->content()->setMinimumSize(DialogUnits(largeTemplates_ ? kGraphBarLarge : kGraphBarSmall, dialogFont));
    {
        // The bar's layout holds one hidden text; its controls come at run time.
        auto* hidden = new QLabel(Text(texts::kGraphBarHiddenText), graphBar_->content());
        hidden->hide();
    }
    dashboard_ = new CControlBar(Text(texts::kDashboardTitle), kDashboardId, CControlBar::CloseRule::Closable, this);
    dashboard_->setAllowedAreas(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
    dashboard_->content()->setMinimumSize(
        DialogUnits(largeTemplates_ ? kDashboardLarge : kDashboardSmall, dialogFont));
    connect(dashboard_, &QDockWidget::visibilityChanged, this, &CMainFrame::OnDashboardVisibility);
    addDockWidget(Qt::RightDockWidgetArea, graphBar_);
    addDockWidget(Qt::BottomDockWidgetArea, dashboard_);
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("Bar%1").arg(kStatusBarId));
    idleLabel_ = new QLabel(Text(texts::kIdleStatus), bar);
    idleLabel_->setObjectName(QStringLiteral("IdleText"));
    bar->addWidget(idleLabel_, 1);
    // One text at a time. The bar hides its normal widgets under a message only when they are
    // visible, so a message shown before the window is (a program started on a calibration that
    // connects at once) would leave the idle text under it once the window appears.
    connect(bar, &QStatusBar::messageChanged, idleLabel_, [this](const QString& message) {
        idleLabel_->setVisible(message.isEmpty());
    });
    progress_ = new QProgressBar(bar);
    progress_->setObjectName(QStringLiteral("TransferProgress"));
    progress_->setFixedWidth(kProgressWidth);
    progress_->setTextVisible(false);
    progress_->hide();
    bar->addPermanentWidget(progress_);
    indicators_ = new LockIndicators(bar);
}

void CMainFrame::ConnectStandby() {
#ifdef KORVATH_HAVE_DBUS
    // The login manager announces a coming sleep on the system bus.
    QDBusConnection bus = QDBusConnection::systemBus();
    if (bus.isConnected())
        bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                    QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
                    SLOT(OnPrepareForSleep(bool)));
#endif
}

void CMainFrame::OnPrepareForSleep(bool sleeping) {
    if (sleeping) OnPowerBroadcast(kPowerSuspend);
}

int CMainFrame::OnPowerBroadcast(int event) {
    if (event == kPowerQuerySuspend || event == kPowerSuspend) controller_.Suspend();
    return 1;
}

void CMainFrame::SetMinTrackSize(int width, int height) {
    // Outside these ranges the caller is wrong; the size stays as it was.
    if (width < kMinTrackWidthLow || width > kMinTrackWidthHigh || height < kMinTrackHeightLow ||
        height > kMinTrackHeightHigh)
        return;
    minTrackWidth_ = width;
    minTrackHeight_ = height;
    ApplyMinimumSize();
}

void CMainFrame::ApplyMinimumSize() {
    // On a screen smaller than the smallest window, the screen wins: a window reaching past it
    // hides its status bar.
    const QScreen* on = screen();
    const QSize room = on ? on->availableGeometry().size() : QSize(minTrackWidth_, minTrackHeight_);
    setMinimumSize(qMin(minTrackWidth_, room.width()), qMin(minTrackHeight_, room.height()));
}

void CMainFrame::UpdateTitle() {
    setWindowTitle(app_.DocumentName() + Text(texts::kTitleSeparator) + Text(texts::kAppTitle));
}

void CMainFrame::RebuildRecentFiles() {
    for (QAction* a : recentActions_) {
        fileMenu_->removeAction(a);
        a->deleteLater();
    }
    recentActions_.clear();
    const QStringList& files = app_.recentFiles().files();
    QAction* placeholder = recentAnchor_;
    placeholder->setVisible(files.isEmpty());
    placeholder->setEnabled(false);
    for (int i = 0; i < files.size(); ++i) {
        const QString shown = fontMetrics().elidedText(files[i], Qt::ElideMiddle, 420);
        auto* a = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown), this);
        a->setStatusTip(Text(FindCommand(cmd::RecentFile)->statusText));
        a->setObjectName(QStringLiteral("RecentFile%1").arg(i + 1));
        const QString file = files[i];
        connect(a, &QAction::triggered, this, [this, file] { app_.OpenRecentFile(file); });
        fileMenu_->insertAction(placeholder, a);
        recentActions_.append(a);
    }
}

void CMainFrame::UpdateCommandUI() {
    for (int id : {cmd::EditUndo, cmd::EditCut, cmd::EditCopy, cmd::EditPaste}) actions_.value(id)->setEnabled(false);
    const bool connected = controller_.IsConnected();
    actions_.value(cmd::WriteCalibration)->setEnabled(connected);
    actions_.value(cmd::ReadCalibration)->setEnabled(connected);
    const int table = controller_.SelectedTable();
    actions_.value(cmd::SelectTable1)->setChecked(table == 0);
    actions_.value(cmd::SelectTable2)->setChecked(table == 1);
    actions_.value(cmd::FileSendMail)->setEnabled(controller_.CanEmailTechSupport());
    actions_.value(cmd::DumpSystemState)->setEnabled(controller_.CanDumpSystemState());
    actions_.value(cmd::ViewToolbar)->setChecked(!toolbar_->isHidden());
    actions_.value(cmd::ViewStatusBar)->setChecked(!statusBar()->isHidden());
    actions_.value(cmd::ViewDashboard)->setChecked(!dashboard_->isHidden());
}

void CMainFrame::OnCommand(int id) {
    switch (id) {
        case cmd::FileNew: app_.OnFileNew(); break;
        case cmd::FileOpen: app_.OnFileOpen(); break;
        case cmd::FileSave: app_.OnFileSave(); break;
        case cmd::FileSaveAs: app_.OnFileSaveAs(); break;
        case cmd::FileSendMail: controller_.EmailTechSupport(); break;
        case cmd::DumpSystemState: controller_.DumpSystemState(); break;
        case cmd::WriteCalibration:
        case cmd::ReadCalibration:
            if (controller_.IsConnected() && !transferRunning_) {
                // The window keeps painting during the transfer (its window-system events are
                // taken), so a close request may arrive: it waits for the end (closeEvent).
                if (id == cmd::WriteCalibration && !ConfirmWriteAfterCheck(doc_)) break;
                transferRunning_ = true;
                if (id == cmd::WriteCalibration)
                    controller_.WriteCalibration();
                else
                    controller_.ReadCalibration();
                transferRunning_ = false;
            }
            break;
        case cmd::SelectTable1: controller_.SelectTable(0); break;
        case cmd::SelectTable2: controller_.SelectTable(1); break;
        case cmd::FilePrint: view_->FilePrint(printer()); break;
        case cmd::FilePrintPreview: view_->FilePrintPreview(printer()); break;
        case cmd::FilePrintSetup: {
            QPageSetupDialog dialog(&printer(), this);
            dialog.exec();
            break;
        }
        case cmd::AppExit: close(); break;
        case cmd::ViewToolbar: toolbar_->setVisible(toolbar_->isHidden()); break;
        case cmd::ViewStatusBar: statusBar()->setVisible(statusBar()->isHidden()); break;
        case cmd::ViewDashboard: ToggleDashboard(); break;
        case cmd::SetupWizard: RunSetupWizard(); break;
        case cmd::SystemSettings: OpenSystemSettings(); break;
        case cmd::CommunicationSetup: CommunicationSetup(); break;
        case cmd::HelpTopics: shell_.ShowHelpTopics(this); break;
        case cmd::GettingStarted: shell_.ShowStartBox(this); break;
        case cmd::AppAbout: shell_.ShowAboutBox(this); break;
        case cmd::Help: shell_.ShowHelpTopics(this); break;
        case cmd::ContextHelp: EnterContextHelp(); break;
        default: break;
    }
    UpdateCommandUI();
}

void CMainFrame::ToggleDashboard() { dashboard_->setVisible(dashboard_->isHidden()); }

void CMainFrame::OnDashboardVisibility(bool visible) {
    // However the dashboard is hidden (its close button, docked or floating, or the View menu)
    // it stops polling; shown again it is built afresh. A minimised main window hides it
    // without making it hidden and keeps it running.
    if (!visible && dashboard_->isHidden())
        TeardownDashboard();
    else if (visible && !dashboardBuilt_)
        BuildDashboard();
    UpdateCommandUI();
}

void CMainFrame::BuildDashboard() {
    TeardownDashboard();
    shell_.BuildDashboard(dashboard_->content(), doc_);
    dashboardBuilt_ = true;
}

void CMainFrame::TeardownDashboard() {
    shell_.TeardownDashboard(dashboard_->content());
    dashboardBuilt_ = false;
}

void CMainFrame::OpenSystemSettings() {
    if (systemSettings_) return;
    QWidget* sheet = shell_.CreateSystemSettings(this, doc_);
    if (!sheet) return;
    systemSettings_ = sheet;
    sheet->show();
}

void CMainFrame::RunSetupWizard() {
    if (systemSettings_) return;
    shell_.RunSetupWizard(this, doc_);
}

void CMainFrame::CommunicationSetup() {
    if (controller_.IsUsb())
        ShowMessageBox(this, Text(texts::kUsbDirectText), Text(texts::kUsbDirectCaption),
                       MessageStyle::IconInformation);
    shell_.RunComPortDialog(this);
}

QPrinter& CMainFrame::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

QString CMainFrame::StatusPrompt(int id) const {
    if (ControlIdPool::InRange(id)) {
        if (auto text = pool_.StatusText(id)) return QString::fromStdString(*text);
    }
    const CommandInfo* c = FindCommand(id);
    return c ? Text(c->statusText) : QString();
}

CMainFrame::HelpResult CMainFrame::WinHelp(int helpId) {
    if (helpId == kMainWindowHelpId) return HelpResult::Ignored;
    const int id = helpId - ControlIdPool::kHelpIdBase;
    if (ControlIdPool::InRange(id)) {
        if (auto help = pool_.HelpText(id)) {
            ShowMessageBox(this, QString::fromStdString(*help), Text(texts::kAppTitle), MessageStyle::Ok);
            return HelpResult::ControlHelpShown;
        }
    }
    shell_.ShowHelpTopics(this);
    return HelpResult::PlatformHelp;
}

void CMainFrame::EnterContextHelp() {
    if (contextHelp_) return;
    contextHelp_ = true;
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
}

int CMainFrame::PooledControlAt(QWidget* widget) const {
    for (QWidget* w = widget; w && w != this; w = w->parentWidget()) {
        const int id = ControlIdOf(w);
        if (ControlIdPool::InRange(id)) return id;
    }
    return 0;
}

bool CMainFrame::HandleContextHelpClick(QWidget* target) {
    contextHelp_ = false;
    QApplication::restoreOverrideCursor();
    if (!target) return true;
    if (const int id = PooledControlAt(target)) {
        WinHelp(ControlIdPool::kHelpIdBase + id);
        return true;
    }
    // A toolbar button, a menu item or any window outside the pool: the program's help, with
    // the menu the click was meant for closed.
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    shell_.ShowHelpTopics(this);
    return true;
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            if (contextHelp_ && widget) return HandleContextHelpClick(widget);
            break;
        case QEvent::KeyPress:
            if (contextHelp_ && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
                contextHelp_ = false;
                QApplication::restoreOverrideCursor();
                return true;
            }
            break;
        case QEvent::ToolTip:
            if (widget) {
                const int id = ControlIdOf(widget);
                if (ControlIdPool::InRange(id)) {
                    if (auto tip = pool_.ToolTip(id)) {
                        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), QString::fromStdString(*tip),
                                           widget);
                        return true;
                    }
                }
            }
            break;
        case QEvent::Enter:
            if (widget) {
                const int id = ControlIdOf(widget);
                if (ControlIdPool::InRange(id) && pool_.StatusText(id)) {
                    hoveredControl_ = id;
                    statusBar()->showMessage(StatusPrompt(id));
                }
            }
            break;
        case QEvent::Leave:
            if (widget && hoveredControl_ != 0 && ControlIdOf(widget) == hoveredControl_) {
                hoveredControl_ = 0;
                statusBar()->clearMessage();
            }
            break;
        default: break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool CMainFrame::event(QEvent* event) {
    // The help key on the main window shows nothing.
    if (event->type() == QEvent::WhatsThis) return true;
    return QMainWindow::event(event);
}

void CMainFrame::SaveBarState() {
    settings_.SetString(texts::kBarPositions, kBarStateKey, saveState().toBase64().toStdString());
}

void CMainFrame::RestoreBarState() {
    const std::string state = settings_.GetString(texts::kBarPositions, kBarStateKey, "");
    if (!state.empty()) restoreState(QByteArray::fromBase64(QByteArray::fromStdString(state)));
    // No command shows the graph bar: one saved hidden (by an older version) comes back.
    if (graphBar_->isHidden()) graphBar_->show();
}

void CMainFrame::SavePlacement() {
    // A maximized window keeps the place it goes back to when restored.
    const bool maximized = isMaximized();
    const QRect normal = maximized || isMinimized() || isFullScreen() ? normalGeometry() : geometry();
    if (normal.isEmpty()) return;
    SaveMainWindowPlacement(settings_, {ToWindowRect(normal), maximized});
}

void CMainFrame::RestorePlacement() {
    const std::vector<WindowRect> screens = AvailableScreenAreas();
    const WindowSize minimum{minimumWidth(), minimumHeight()};
    const std::optional<WindowPlacement> saved = LoadMainWindowPlacement(settings_);
    const WindowRect place = PullOntoScreen(saved ? saved->normal : WindowRect{}, kPreferredWindow, minimum, screens);
    setGeometry(ToQRect(place));
    if (saved && saved->maximized) setWindowState(windowState() | Qt::WindowMaximized);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (transferRunning_ || !app_.SaveModified()) {
        event->ignore();
        return;
    }
    SaveBarState();
    SavePlacement();
    TeardownDashboard();
    app_.SaveRecentFiles();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile()) continue;
        event->acceptProposedAction();
        activateWindow();
        app_.OpenDocumentFile(url.toLocalFile());
        break;
    }
}

void CMainFrame::RebuildBars() {
    shell_.RebuildTuningBar(graphBar_->content(), doc_);
    if (!dashboard_->isHidden()) BuildDashboard();
}

void CMainFrame::ForgetEdits() {
    if (tools_) tools_->history().Clear();
}

void CMainFrame::EditsSaved() {
    if (tools_) tools_->history().MarkSaved();
}

void CMainFrame::RedrawView() {
    if (view_) view_->Redraw();
}

void CMainFrame::RefreshSheetPages(void* sheet) { shell_.RefreshSheetPages(sheet); }

void CMainFrame::RefreshSettingsSheet(int cyclePages) { shell_.RefreshSettingsSheet(systemSettings_, cyclePages); }

}  // namespace korvath::ui
