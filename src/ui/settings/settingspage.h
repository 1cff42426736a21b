#pragma once
// CSettingsPage: one page of the System Settings window or the Initial Setup wizard. It shows one
// section of the definition: a selector list of the section's variants (or, on the
// transmission-type page, of the definition files) with a picture and a description, and the
// controls of the section's "UserOption" blocks at the pixel places the core lays out. Every
// control writes the calibration at once.

#include <QPixmap>
#include <QWidget>
#include <string>
#include <vector>

#include "definition/definition_listing.h"
#include "layout/settings_page_layout.h"
#include "layout/settings_page_model.h"
#include "ui/dynui/control_page.h"

namespace korvath {
class CQRNDoc;
}

namespace korvath::ui {

class CDynamicButton;
class CDynamicComboBox;
class CDynamicEdit;
class CDynamicStatic;
class CDynamicText;
class CDynamicPropertySheet;

class CSettingsPage : public QWidget, public ControlPage {
    Q_OBJECT
public:
    CSettingsPage(int templateId, CQRNDoc* document, QWidget* parent = nullptr);
    ~CSettingsPage() override;

    // Set by the sheet before the page is first shown.
    std::string section;
    std::string title;
    std::string helpText;
    CQRNDoc* document = nullptr;
    CDynamicPropertySheet* sheet = nullptr;

    int selectorIndex = -1;
    std::string pageLogicalName;

    bool IsTransmissionPage() const;
    bool IsBuilt() const { return built_; }
    // The first time the page is shown: its list and controls.
    void OnInitDialog();
    // The page comes to the front; false refuses it (a placeholder page without a section).
    bool OnSetActive();

    // ControlPage
    const std::string& PageSection() const override { return section; }
    const std::string& PageLogicalName() const override { return pageLogicalName; }
    void* PageSheet() const override { return sheet; }
    QWidget* PageWidget() override { return this; }
    CDynamicEdit* FindEditBox(std::string_view logicalName) override;
    void DestroyControls() override;
    void BuildControls() override;
    void OnComboChange(int index) override;

    void BuildSelector();
    void BuildTransmissionList();
    void SyncTransmissionChoice();
    void ApplyTransmissionChoice();
    void ApplyOccurrenceChoice();
    void ShowPictureAndDescription();

    // What the page shows, for the sheet and for tests.
    const std::vector<CDynamicEdit*>& edits() const { return edits_; }
    const std::vector<CDynamicText*>& texts() const { return texts_; }
    const std::vector<CDynamicButton*>& buttons() const { return buttons_; }
    const std::vector<CDynamicComboBox*>& combos() const { return combos_; }
    CDynamicComboBox* selector() const;
    const std::vector<DefinitionChoice>& transmissions() const { return transmissions_; }
    // The size the page's controls need (at least the template's).
    QSize contentSize() const;

private:
    void CreateControl(const PageControl& control);
    // An edit box or text box with its caption.
    template <typename Field>
    void CreateCaptionedField(const PageControl& control, std::vector<Field*>& fields);
    CDynamicComboBox* CreateComboBox(const std::string& label, const std::string& logicalName,
                                     const CaptionedPlacement& place, bool isSelector);
    CDynamicStatic* CreateLabel(const std::string& text, const ControlRect& rect);
    CDynamicButton* CreateButton(int kind, const std::string& text, const std::string& logicalName,
                                 const ControlRect& rect, const std::string& help, bool startsGroup = false);
    int SelectedRecord() const;
    void UpdateSize();

    QSize templateSize_;
    SettingsPageLayout layout_;
    std::vector<CDynamicEdit*> edits_;
    std::vector<CDynamicText*> texts_;
    std::vector<CDynamicButton*> buttons_;
    std::vector<CDynamicComboBox*> combos_;
    std::vector<VariantRecord> variants_;
    std::vector<DefinitionChoice> transmissions_;
    QPixmap picture_;
    bool built_ = false;
    bool syncing_ = false;
};

}  // namespace korvath::ui
