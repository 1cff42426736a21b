#include "ui/settings/settingspage.h"

#include <QImageReader>
#include <algorithm>

#include "layout/option_choice.h"
#include "layout/settings_page_layout.h"
#include "document/qrndoc.h"
#include "layout/settings_sheet_pages.h"
#include "ui/dialogs/dialog_layout.h"
#include "ui/dynui/control_rect_qt.h"
#include "ui/dynui/dynamicbutton.h"
#include "ui/dynui/dynamiccombobox.h"
#include "ui/dynui/dynamicedit.h"
#include "ui/dynui/dynamicstatic.h"
#include "ui/dynui/dynamictext.h"
#include "ui/settings/dynamicpropertysheet.h"

namespace korvath::ui {
namespace {
// Page templates in dialog units.
constexpr int kLargeTemplate = 144;
constexpr int kLargeWidth = 471, kLargeHeight = 262;
constexpr int kSmallWidth = 355, kSmallHeight = 197;
// A closed list is this high; its dropped-down part is the style's.
constexpr int kClosedListHeight = 22;
constexpr int kMargin = 10;

QString FromStd(const std::string& text) { return QString::fromStdString(text); }
}  // namespace

CSettingsPage::CSettingsPage(int templateId, CQRNDoc* doc, QWidget* parent) : QWidget(parent), document(doc) {
    const DialogUnits units(font());
    templateSize_ = templateId == kLargeTemplate ? units.Size(kLargeWidth, kLargeHeight) : units.Size(kSmallWidth, kSmallHeight);
    UpdateSize();
}

CSettingsPage::~CSettingsPage() {
    if (built_ && document && IsTransmissionPage()) KeepChosenTransmission(*document);
    DestroyControls();
    for (CDynamicComboBox* combo : combos_) delete combo;
    combos_.clear();
}

bool CSettingsPage::IsTransmissionPage() const { return section == settings_page::kTransmissionSection; }

CDynamicComboBox* CSettingsPage::selector() const {
    return selectorIndex >= 0 && selectorIndex < static_cast<int>(combos_.size()) ? combos_[static_cast<std::size_t>(selectorIndex)]
                                                                                   : nullptr;
}

QSize CSettingsPage::contentSize() const {
    return {std::max(templateSize_.width(), settings_layout::kLeftX1 + settings_layout::kFullWidth + kMargin),
            std::max(templateSize_.height(), layout_.bottom() + kMargin)};
}

void CSettingsPage::UpdateSize() { setFixedSize(contentSize()); }

void CSettingsPage::OnInitDialog() {
    if (built_) return;
    built_ = true;
    if (sheet) sheet->SetPageTitle(this, title);
    if (IsTransmissionPage())
        BuildTransmissionList();
    else
        BuildSelector();
    BuildControls();
}

bool CSettingsPage::OnSetActive() {
    if (section.empty()) return false;
    if (document) SelectPageSection(*document, section, pageLogicalName);
    if (IsTransmissionPage()) SyncTransmissionChoice();
    if (sheet) sheet->SetWizardButtons(WizardButtonsFor(sheet->PageIndex(this), sheet->pageCount()));
    ShowPictureAndDescription();
    return true;
}

CDynamicEdit* CSettingsPage::FindEditBox(std::string_view logicalName) {
    for (CDynamicEdit* edit : edits_)
        if (edit->logicalName == logicalName) return edit;
    return nullptr;
}

void CSettingsPage::DestroyControls() {
    for (CDynamicEdit* edit : edits_) delete edit;
    for (CDynamicText* text : texts_) delete text;
    for (CDynamicButton* button : buttons_) delete button;
    edits_.clear(), texts_.clear(), buttons_.clear();
    // The selector list survives; it is the page's first list.
    CDynamicComboBox* kept = selector();
    for (CDynamicComboBox* combo : combos_)
        if (combo != kept) delete combo;
    combos_.clear();
    if (kept) {
        combos_.push_back(kept);
        kept->index = selectorIndex = 0;
    }
    layout_.Reset(selectorIndex >= 0);
}

void CSettingsPage::BuildControls() {
    if (!document) return;
    ControlBuildScope scope(*this, document);
    BuildPageControls(*document, section, pageLogicalName, layout_, [this](const PageControl& c) { CreateControl(c); });
    UpdateSize();
}

CDynamicStatic* CSettingsPage::CreateLabel(const std::string& text, const ControlRect& rect) {
    auto* label = new CDynamicStatic(this, FromStd(text));
    label->setGeometry(ToQRect(rect));
    label->show();
    return label;
}

CDynamicComboBox* CSettingsPage::CreateComboBox(const std::string& label, const std::string& logicalName,
                                                const CaptionedPlacement& place, bool isSelector) {
    auto* combo = new CDynamicComboBox(this);
    combo->page = this;
    combo->index = static_cast<int>(combos_.size());
    combo->SetLogicalName(logicalName.empty() ? pageLogicalName : logicalName);
    combo->SetLabel(CreateLabel(label.empty() ? SelectorLabel(title) : label, place.label));
    combo->setGeometry(place.field.left, place.field.top, place.field.width(), kClosedListHeight);
    combo->isSelector = isSelector ? 1 : 0;
    combos_.push_back(combo);
    combo->show();
    return combo;
}

CDynamicButton* CSettingsPage::CreateButton(int kind, const std::string& text, const std::string& logicalName,
                                            const ControlRect& rect, const std::string& help, bool startsGroup) {
    CDynamicButton* button = CreateDynamicButton(kind, this, FromStd(text), startsGroup);
    button->page = this;
    button->pageIndex = static_cast<int>(buttons_.size());
    button->SetLogicalName(logicalName.empty() ? pageLogicalName : logicalName);
    buttons_.push_back(button);
    button->Setup(kind, document);
    button->SetHelpText(help);
    button->widget()->setGeometry(ToQRect(rect));
    button->widget()->show();
    return button;
}

template <typename Field>
void CSettingsPage::CreateCaptionedField(const PageControl& c, std::vector<Field*>& fields) {
    auto* field = new Field(this);
    field->page = this;
    field->index = static_cast<int>(fields.size());
    field->SetLogicalName(c.logicalName);
    field->SetHelpText(c.helpText);
    field->SetLabel(CreateLabel(c.displayName.empty() ? SelectorLabel(title) : c.displayName, c.captioned.label));
    field->setGeometry(ToQRect(c.captioned.field));
    // Listed before its set-up: a formula button made later finds the edit box it fills.
    fields.push_back(field);
    field->Setup(document);
    field->show();
}

void CSettingsPage::CreateControl(const PageControl& c) {
    switch (c.type) {
        case PageControlType::ComboBox: {
            CDynamicComboBox* combo = CreateComboBox(c.displayName, c.logicalName, c.captioned, false);
            combo->SetHelpText(c.helpText);
            combo->globalInfluence = c.globalInfluence;
            for (const std::string& entry : c.entries) combo->addItem(FromStd(entry));
            combo->setCurrentIndex(c.entries.empty() ? -1 : c.state);
            break;
        }
        case PageControlType::CheckBox:
            CreateButton(ButtonKind::CheckBox, c.displayName, c.logicalName, c.rect, c.helpText)->SetCheck(c.state);
            break;
        case PageControlType::PushButton:
            CreateButton(ButtonKind::PushButton, c.displayName, c.logicalName, c.rect, c.helpText);
            break;
        case PageControlType::RadioButton: {
            for (std::size_t i = 0; i < c.entries.size(); ++i) {
                CDynamicButton* option =
                    CreateButton(ButtonKind::RadioOption, c.entries[i], c.logicalName, c.radio.options[i], c.helpText, i == 0);
                option->radioIndex = static_cast<int>(i);
                option->SetCheck(static_cast<int>(i) == c.state);
            }
            CDynamicButton* frame = CreateButton(ButtonKind::RadioFrame, c.displayName, c.logicalName, c.radio.frame, c.helpText);
            // Behind its options, which lie on it.
            frame->widget()->lower();
            break;
        }
        case PageControlType::EditBox: CreateCaptionedField(c, edits_); break;
        case PageControlType::TextBox:
            CreateCaptionedField(c, texts_);
            texts_.back()->SetOneLine(TextBoxHoldsOneLine(c.captioned.field));
            break;
    }
}

namespace {
// The selector's description and picture labels, below and beside the list.
void AddSelectorLabels(CDynamicComboBox* combo, QWidget* page, const SelectorPlacement& place) {
    auto* description = new CDynamicStatic(page);
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    description->setGeometry(ToQRect(place.description));
    description->show();
    combo->description = description;
    auto* picture = new CDynamicStatic(page);
    picture->setAlignment(Qt::AlignCenter);
    picture->setGeometry(ToQRect(place.picture));
    picture->hide();
    combo->picture = picture;
}
}  // namespace

void CSettingsPage::BuildSelector() {
    if (!document) return;
    SelectorResult result = korvath::BuildSelector(*document, section);
    pageLogicalName = result.pageLogicalName;
    variants_ = std::move(result.variants);
    if (variants_.empty()) return;
    const SelectorPlacement place = layout_.PlaceSelector();
    CDynamicComboBox* combo = CreateComboBox({}, {}, place.list, true);
    selectorIndex = combo->index;
    combo->SetHelpText(helpText);
    AddSelectorLabels(combo, this, place);
    for (const VariantRecord& variant : variants_) combo->addItem(FromStd(variant.displayName));
    combo->setCurrentIndex(result.chosen);
}

void CSettingsPage::BuildTransmissionList() {
    const SelectorPlacement place = layout_.PlaceSelector();
    CDynamicComboBox* combo = CreateComboBox({}, {}, place.list, true);
    selectorIndex = combo->index;
    combo->SetHelpText(helpText);
    AddSelectorLabels(combo, this, place);
    if (!document) return;
    transmissions_ = korvath::BuildTransmissionList(*document);
    for (const DefinitionChoice& choice : transmissions_) combo->addItem(FromStd(choice.transmissionType));
    // Nothing is chosen until the page is shown.
    combo->setCurrentIndex(-1);
}

int CSettingsPage::SelectedRecord() const {
    CDynamicComboBox* combo = selector();
    return combo ? combo->currentIndex() : -1;
}

void CSettingsPage::SyncTransmissionChoice() {
    CDynamicComboBox* combo = selector();
    if (!document || !combo) return;
    const TransmissionSync sync = korvath::SyncTransmissionChoice(*document, transmissions_);
    if (sync.select < 0) return;
    combo->setCurrentIndex(sync.select);
    // The rebuild activates this page again; by then the calibration names the entry.
    if (!sync.apply || syncing_) return;
    syncing_ = true;
    ApplyTransmissionChoice();
    if (sheet) sheet->RebuildPages();
    syncing_ = false;
}

void CSettingsPage::ApplyTransmissionChoice() {
    const int record = SelectedRecord();
    if (!document || record < 0 || record >= static_cast<int>(transmissions_.size())) return;
    korvath::ApplyTransmissionChoice(*document, transmissions_[static_cast<std::size_t>(record)]);
}

void CSettingsPage::ApplyOccurrenceChoice() {
    const int record = SelectedRecord();
    if (!document || record < 0 || record >= static_cast<int>(variants_.size())) return;
    pageLogicalName = variants_[static_cast<std::size_t>(record)].logicalName;
    korvath::ApplyOccurrenceChoice(*document, section, pageLogicalName);
}

void CSettingsPage::ShowPictureAndDescription() {
    CDynamicComboBox* combo = selector();
    if (!document || !combo) return;
    const PagePicture shown = ReadPictureAndDescription(*document, section, pageLogicalName);
    picture_ = QPixmap();
    if (shown.path) {
        QImageReader reader(FromStd(*shown.path));
        const QImage image = reader.read();
        if (!image.isNull()) picture_ = QPixmap::fromImage(image);
    }
    if (CDynamicStatic* description = combo->description.get()) description->setText(FromStd(shown.description));
    if (CDynamicStatic* picture = combo->picture.get()) {
        picture->setPixmap(picture_);
        picture->setVisible(!picture_.isNull());
        // Assistive tools name the picture by the variant it shows.
        picture->setAccessibleName(combo->currentText());
    }
}

void CSettingsPage::OnComboChange(int index) {
    if (!document || index < 0 || index >= static_cast<int>(combos_.size())) return;
    if (index == selectorIndex) {
        if (IsTransmissionPage()) {
            ApplyTransmissionChoice();
            DestroyControls();
            if (sheet) sheet->RebuildPages();
            ShowPictureAndDescription();
            BuildControls();
            return;
        }
        ApplyOccurrenceChoice();
        DestroyControls();
        ShowPictureAndDescription();
        BuildControls();
        return;  // the selector list has no influence of its own
    }
    CDynamicComboBox* combo = combos_[static_cast<std::size_t>(index)];
    // Remembered and applied as a check box's state is: in the page's own section.
    ApplyCheckBoxChoice(*document, section, pageLogicalName, combo->logicalName, combo->currentIndex());
    PerformGlobalInfluence(document, combo->globalInfluence, this);
}

}  // namespace korvath::ui
