#include "ui/settings/dynamicpropertysheet.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWhatsThis>
#include <algorithm>

#include "document/qrndoc.h"
#include "ui/dynui/control_environment.h"
#include "ui/settings/settingspage.h"

namespace korvath::ui {
namespace {
namespace ss = settings_sheet;

// The sheets that exist, for handles that may outlive theirs.
std::vector<CDynamicPropertySheet*>& LiveSheets() {
    static std::vector<CDynamicPropertySheet*> sheets;
    return sheets;
}

// The page area shows at most this much before it scrolls.
constexpr int kMaxShownWidth = 960;
constexpr int kMaxShownHeight = 640;

QPushButton* WizardButton(const QString& text, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAccessibleName(name);
    return button;
}
}  // namespace

CDynamicPropertySheet::CDynamicPropertySheet(const QString& caption, int templateId, SheetMode mode, QWidget* parent)
    : QDialog(parent), mode_(mode), templateId_(templateId) {
    LiveSheets().push_back(this);
    setWindowTitle(caption);
    setAccessibleName(caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    auto* layout = new QVBoxLayout(this);
    if (mode_ == SheetMode::SystemSettings) {
        tabs_ = new QTabWidget(this);
        tabs_->setUsesScrollButtons(true);
        layout->addWidget(tabs_);
        connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) { OnTabChanged(index); });
        return;
    }
    stack_ = new QStackedWidget(this);
    layout->addWidget(stack_);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    back_ = WizardButton(tr("< &Back"), tr("Back"), this);
    next_ = WizardButton(tr("&Next >"), tr("Next"), this);
    finish_ = WizardButton(tr("Finish"), tr("Finish"), this);
    cancel_ = WizardButton(tr("Cancel"), tr("Cancel"), this);
    for (QPushButton* button : {back_, next_, finish_, cancel_}) row->addWidget(button);
    layout->addLayout(row);
    connect(back_, &QPushButton::clicked, this, [this] { SetActivePage(active_ - 1); });
    connect(next_, &QPushButton::clicked, this, [this] { SetActivePage(active_ + 1); });
    connect(finish_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    SetWizardButtons({});
}

CDynamicPropertySheet::~CDynamicPropertySheet() {
    auto& sheets = LiveSheets();
    sheets.erase(std::remove(sheets.begin(), sheets.end(), this), sheets.end());
    // Last to first, each with its window.
    while (!pages_.empty()) {
        QWidget* holder = Holder(pageCount() - 1);
        pages_.pop_back();
        delete holder;
    }
}

CDynamicPropertySheet* CDynamicPropertySheet::FromHandle(void* handle) {
    for (CDynamicPropertySheet* sheet : LiveSheets())
        if (sheet == handle) return sheet;
    return nullptr;
}

CSettingsPage* CDynamicPropertySheet::page(int index) const {
    return index >= 0 && index < pageCount() ? pages_[static_cast<std::size_t>(index)] : nullptr;
}

int CDynamicPropertySheet::PageIndex(const CSettingsPage* p) const {
    const auto it = std::find(pages_.begin(), pages_.end(), p);
    return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

QWidget* CDynamicPropertySheet::Holder(int index) const {
    CSettingsPage* p = page(index);
    // The page lies in a scroll area's viewport.
    return p ? p->parentWidget()->parentWidget() : nullptr;
}

bool CDynamicPropertySheet::BuildPages(CQRNDoc* document) {
    if (document) document_ = document;
    if (!document_) return false;
    const auto entries = ReadSheetPages(document_->reader(), mode_, pageCount());
    if (!entries) return false;
    for (const SheetPageEntry& page : *entries) AddPage(page);
    SetActivePage(0);
    return true;
}

void CDynamicPropertySheet::AddPage(const SheetPageEntry& page) {
    auto* p = new CSettingsPage(templateId_, document_);
    p->section = page.section;
    p->title = page.title;
    p->helpText = page.helpText;
    p->sheet = this;
    p->setAccessibleName(QString::fromStdString(page.title));
    auto* holder = new QScrollArea;
    holder->setFrameShape(QFrame::NoFrame);
    holder->setWidgetResizable(false);
    holder->setWidget(p);
    const QSize shown = p->contentSize().boundedTo({kMaxShownWidth, kMaxShownHeight});
    // Room for the page and, when it is taller or wider than that, for the scroll bars.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
    holder->setMinimumSize(shown + QSize(bar, bar));
    pages_.push_back(p);
    const QString title = QString::fromStdString(page.title);
    if (tabs_) {
        const QSignalBlocker quiet(tabs_);
        const int index = tabs_->addTab(holder, title);
        tabs_->setTabEnabled(index, !page.section.empty());
    } else {
        stack_->addWidget(holder);
    }
}

void CDynamicPropertySheet::RemovePage(int index) {
    QWidget* holder = Holder(index);
    CSettingsPage* p = page(index);
    if (!holder) return;
    if (tabs_) {
        const QSignalBlocker quiet(tabs_);
        tabs_->removeTab(tabs_->indexOf(holder));
    } else {
        stack_->removeWidget(holder);
    }
    pages_.erase(pages_.begin() + index);
    p->sheet = nullptr;
    // A control of the page may be the one whose action rebuilds the pages: it goes once that
    // action has returned.
    holder->hide();
    holder->setParent(nullptr);
    holder->deleteLater();
}

void CDynamicPropertySheet::RebuildPages() {
    const int old = pageCount();
    BuildPages(nullptr);
    SetTabTexts();
    for (int i = old - 1; i >= 1; --i) RemovePage(i);
    // BuildPages made page 0 current; the pages behind it are new.
    active_ = pageCount() > 0 ? 0 : -1;
    if (mode_ == SheetMode::SetupWizard) SetWizardButtons(WizardButtonsFor(active_, pageCount()));
}

void CDynamicPropertySheet::SetTabTexts() {
    if (!tabs_) return;
    for (int i = 0; i < pageCount(); ++i) tabs_->setTabText(i, QString::fromStdString(pages_[static_cast<std::size_t>(i)]->title));
}

void CDynamicPropertySheet::SetPageTitle(CSettingsPage* p, const std::string& title) {
    const int index = PageIndex(p);
    if (tabs_ && index >= 0) tabs_->setTabText(index, QString::fromStdString(title));
}

bool CDynamicPropertySheet::SetActivePage(int index) {
    CSettingsPage* p = page(index);
    if (!p) return false;
    ++activating_;
    p->OnInitDialog();
    const bool accepted = p->OnSetActive();
    --activating_;
    // The activation may have rebuilt the pages behind this one.
    index = PageIndex(p);
    if (!accepted || index < 0) return false;
    active_ = index;
    if (tabs_) {
        const QSignalBlocker quiet(tabs_);
        tabs_->setCurrentIndex(index);
    } else {
        stack_->setCurrentIndex(index);
    }
    return true;
}

void CDynamicPropertySheet::VisitPages() {
    // Each page builds against the calibration when it is first shown; no waits are needed for it.
    for (int i = 0; i < pageCount(); ++i) SetActivePage(i);
    SetActivePage(0);
}

void CDynamicPropertySheet::OnTabChanged(int index) {
    if (activating_ > 0) return;
    if (SetActivePage(index)) return;
    const QSignalBlocker quiet(tabs_);
    tabs_->setCurrentIndex(active_);
}

void CDynamicPropertySheet::SetWizardButtons(WizardButtons buttons) {
    buttons_ = buttons;
    if (!stack_) return;
    back_->setEnabled(buttons.back);
    // Finish stands in Next's place.
    next_->setVisible(!buttons.finish);
    next_->setEnabled(buttons.next);
    finish_->setVisible(buttons.finish);
    finish_->setDefault(buttons.finish);
    next_->setDefault(buttons.next);
}

bool CDynamicPropertySheet::event(QEvent* event) {
    const bool helpKey = event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1;
    if (event->type() == QEvent::EnterWhatsThisMode || helpKey) {
        if (event->type() == QEvent::EnterWhatsThisMode) QWhatsThis::leaveWhatsThisMode();
        ShowControlHelp(ss::kSheetHelp);
        return true;
    }
    return QDialog::event(event);
}

}  // namespace korvath::ui
