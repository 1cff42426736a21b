#include "ui/dialogs/comselectdlg.h"

#include <QApplication>
#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>
#include <algorithm>
#include <cstdio>

#include "comm/com_ports.h"
#include "comm/port_names.h"
#include "comm/vuz_monitor.h"
#include "platform/settings_keys.h"
#include "platform/host.h"
#include "platform/message_style.h"
#include "platform/settings_store.h"
#include "ui/app/qt_hosts.h"
#include "ui/dialogs/dialog_icons.h"
#include "ui/dialogs/dialog_layout.h"
#include "ui/dialogs/dialog_texts.h"

namespace korvath::ui {
namespace {

QString Text(const char* text) { return QString::fromUtf8(text); }

// Shows the wait cursor while the ports are tried one by one.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

CComSelectDlg::CComSelectDlg(CTCS_Monitor* link, SettingsStore& settings, PortListOptions ports, QWidget* parent,
                             MessageHost* messages)
    : QDialog(parent), link_(link), settings_(settings), ports_(std::move(ports)), messages_(messages) {
    setObjectName(QStringLiteral("ComSelectDlg"));
    setWindowTitle(Text(dialog_texts::kComCaption));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const DialogUnits du(font());
    SetTemplateSize(this, du, 270, 142);

    auto* ok = new QPushButton(Text(dialog_texts::kOkButton), this);
    PlaceControl(ok, du, 213, 7, 50, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* intro = new QLabel(Text(dialog_texts::kComIntro), this);
    intro->setTextFormat(Qt::PlainText);
    intro->setWordWrap(true);
    intro->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PlaceControl(intro, du, 7, 7, 169, 67);

    auto* listLabel = new QLabel(Text(dialog_texts::kAvailablePorts), this);
    listLabel->setTextFormat(Qt::PlainText);
    PlaceControl(listLabel, du, 7, 87, 101, 8);

    portList_ = new QComboBox(this);
    portList_->setObjectName(QStringLiteral("portList"));
    portList_->setInsertPolicy(QComboBox::NoInsert);
    portList_->setMaxVisibleItems(12);
    // The template's height includes the dropped list; the closed box is one line high.
    const QRect listRect = du.Rect(7, 99, 136, 53);
    portList_->setGeometry(listRect.x(), listRect.y(), listRect.width(), portList_->sizeHint().height());
    portList_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    portList_->view()->setMinimumWidth(listRect.width());
    listLabel->setBuddy(portList_);
    connect(portList_, &QComboBox::activated, this, [this](int) { OnPortChanged(); });

    findButton_ = new QPushButton(Text(dialog_texts::kFindController), this);
    findButton_->setObjectName(QStringLiteral("findController"));
    PlaceControl(findButton_, du, 192, 97, 71, 14);
    findButton_->setAutoDefault(false);
    connect(findButton_, &QPushButton::clicked, this, &CComSelectDlg::OnFindController);

    refreshButton_ = new QPushButton(Text(dialog_texts::kRefreshPortList), this);
    refreshButton_->setObjectName(QStringLiteral("refreshPortList"));
    PlaceControl(refreshButton_, du, 37, 121, 71, 14);
    refreshButton_->setAutoDefault(false);
    connect(refreshButton_, &QPushButton::clicked, this, &CComSelectDlg::OnRefresh);

    auto* help = new QPushButton(Text(dialog_texts::kHelpButton), this);
    help->setObjectName(QStringLiteral("help"));
    PlaceControl(help, du, 213, 29, 50, 14);
    help->setAutoDefault(false);
    connect(help, &QPushButton::clicked, this, &CComSelectDlg::OnHelpButton);
    setWindowIcon(ProgramIcon());

    auto* helpKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
    helpKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(helpKey, &QShortcut::activated, this, [this] { OnHelp(); });
}

void CComSelectDlg::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    OnInitDialog();
}

void CComSelectDlg::OnInitDialog() {
    if (initialised_) return;
    initialised_ = true;
    FillPortList();
}

int CComSelectDlg::ShowMessage(const std::string& text, const char* caption, unsigned style) {
    if (messages_) return messages_->ShowMessage(text, caption, style);
    return ShowMessageBox(this, QString::fromStdString(text), Text(caption), style);
}

int CComSelectDlg::PortAt(int index) const {
    if (index < 0 || index >= portList_->count()) return 0;
    return portList_->itemData(index).toInt();
}

int CComSelectDlg::SelectedPort() const { return PortAt(portList_->currentIndex()); }

void CComSelectDlg::StorePort(int port) {
    settings_.SetInt(settings::kCommunication, settings::kComPortNumber, port);
    // The adapter on it is remembered too, so that the port follows it to another socket.
    const std::string adapter = port != 0 ? AdapterIdentityOfPort(ListComPorts(ports_.sources()), port) : std::string();
    if (adapter != settings_.GetString(settings::kCommunication, settings::kComPortAdapter, ""))
        settings_.SetString(settings::kCommunication, settings::kComPortAdapter, adapter);
}

void CComSelectDlg::Select(int index) {
    const QSignalBlocker quiet(portList_);
    portList_->setCurrentIndex(index);
}

void CComSelectDlg::FillPortList() {
    const int current =
        settings_.GetInt(settings::kCommunication, settings::kComPortNumber, settings::kComPortNumberDefault);
    {
        const QSignalBlocker quiet(portList_);
        portList_->clear();
    }
    std::vector<int> probed;
    std::vector<int> numbers;
    std::vector<std::string> names;
    ListPortsByProbing(probed);
    ListPortsBySetupLibrary(numbers, names, ports_);

    int selected = -1;
    const std::vector<PortEntry> entries = BuildPortEntries(probed, numbers, names);
    {
        const QSignalBlocker quiet(portList_);
        // The box keeps its place and width; the opened list is as wide as its longest entry,
        // so that an adapter's maker, model and serial number can be read there.
        int widest = 0;
        for (const PortEntry& entry : entries) {
            const QString text = QString::fromStdString(entry.text);
            portList_->addItem(text, entry.port);
            portList_->setItemData(portList_->count() - 1, text, Qt::ToolTipRole);
            widest = std::max(widest, portList_->fontMetrics().horizontalAdvance(text));
            // "none" counts as chosen only when it is not the stored 0.
            if (entry.port != 0 && entry.port == current) selected = portList_->count() - 1;
        }
        portList_->setCurrentIndex(selected);
        const int margins = 2 * portList_->view()->frameWidth() + portList_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 16;
        portList_->view()->setMinimumWidth(std::max(portList_->width(), widest + margins));
    }
    if (selected >= 0 || portList_->count() <= 1) return;

    // A stored 0, or a port that is no longer there: the first port takes its place.
    Select(1);
    StorePort(PortAt(1));
    if (!link_) return;
    std::string errorText;
    if (!link_->reopen(errorText))
        ShowMessage(errorText, dialog_texts::kConfigErrorCaption, MessageStyle::IconExclamation);
}

void CComSelectDlg::OnRefresh() { FillPortList(); }

void CComSelectDlg::OnPortChanged() {
    const int port = SelectedPort();
    StorePort(port);
    if (!link_) return;
    std::string errorText;
    // "NONE" fails quietly: there is no port to open.
    if (!link_->reopen(errorText) && port != 0)
        ShowMessage(errorText, dialog_texts::kConfigErrorCaption, MessageStyle::IconExclamation);
}

void CComSelectDlg::OnFindController() {
    const int old = SelectedPort();
    if (!link_) {
        ShowMessage(dialog_texts::kFinderUnavailable, dialog_texts::kInternalErrorCaption, MessageStyle::IconError);
        return;
    }
    FillPortList();
    {
        WaitCursor wait;
        for (int i = 1; i < portList_->count(); ++i) {
            const int port = PortAt(i);
            StorePort(port);
            std::string errorText;
            if (link_->reopen(errorText) && link_->query_versions(nullptr, nullptr, nullptr, nullptr) != 0) {
                Select(i);
                char text[64];
                std::snprintf(text, sizeof text, dialog_texts::kFoundFormat, port);
                ShowMessage(text, dialog_texts::kFoundCaption, MessageStyle::IconInformation);
                return;
            }
        }
    }

    // Nobody answered: back to the previous choice, when it is still listed.
    Select(0);
    const int oldIndex = old != 0 ? portList_->findData(old) : -1;
    if (oldIndex >= 0) Select(oldIndex);
    StorePort(SelectedPort());
    std::string errorText;
    link_->reopen(errorText);
    if (portList_->count() > 1)
        ShowMessage(dialog_texts::kNotFoundText, dialog_texts::kNotFoundCaption, MessageStyle::IconError);
    else
        ShowMessage(dialog_texts::kNoPortText, dialog_texts::kNoPortCaption, MessageStyle::IconError);
}

void CComSelectDlg::OnHelpButton() {
    ShowMessage(dialog_texts::kHelpText, dialog_texts::kHelpCaption, MessageStyle::IconInformation);
}

bool CComSelectDlg::OnHelp() {
    OnHelpButton();
    return true;
}

bool CComSelectDlg::event(QEvent* e) {
    // The window's help request (the title bar's help button where there is one).
    if (e->type() == QEvent::WhatsThis || e->type() == QEvent::EnterWhatsThisMode) {
        e->accept();
        return OnHelp();
    }
    return QDialog::event(e);
}

void RunComSelectDialog(CTCS_Monitor* link, SettingsStore& settings, const std::string& settingsPath,
                        QWidget* parent) {
    PortListOptions ports;
    ports.portsDirectory = PortsDirectoryFor(settingsPath);
    CComSelectDlg dialog(link, settings, ports, parent);
    dialog.exec();
}

}  // namespace korvath::ui
