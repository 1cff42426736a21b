#pragma once
// CDynamicPropertySheet: the modeless "System Settings" window (a tab per page, no OK or Cancel:
// every control writes the calibration at once) and the modal "Initial Setup" wizard (one page
// at a time with Back, Next, Finish and Cancel). Its pages come from the definition's
// "[ConfigurationDialog]" or "[QuickTuneDialog]" list; the sheet rebuilds them after page 0 when
// a setting or the definition changes.

#include <QDialog>
#include <vector>

#include "layout/settings_sheet_pages.h"

class QPushButton;
class QStackedWidget;
class QTabWidget;

namespace korvath {
class CQRNDoc;
}

namespace korvath::ui {

class CSettingsPage;

class CDynamicPropertySheet : public QDialog {
    Q_OBJECT
public:
    CDynamicPropertySheet(const QString& caption, int templateId, SheetMode mode, QWidget* parent = nullptr);
    ~CDynamicPropertySheet() override;

    // The live sheet behind a handle that NotifyChange passes around; null when it is gone.
    static CDynamicPropertySheet* FromHandle(void* handle);

    SheetMode mode() const { return mode_; }
    CQRNDoc* document() const { return document_; }

    // Adds the pages the definition lists; false without a document, or when a one-page sheet's
    // definition has no list (nothing changes then). Page 0 is made the current page.
    bool BuildPages(CQRNDoc* document);
    // Pages 1 onward replaced by the definition's list; page 0 keeps its state.
    void RebuildPages();
    // System Settings: every tab titled by its page.
    void SetTabTexts();

    int pageCount() const { return static_cast<int>(pages_.size()); }
    CSettingsPage* page(int index) const;
    int PageIndex(const CSettingsPage* page) const;
    int activeIndex() const { return active_; }
    // Shows the page (building it the first time); false when the page refuses.
    bool SetActivePage(int index);
    // Every page shown in turn, so that each is built against the calibration, then page 0.
    void VisitPages();

    void SetPageTitle(CSettingsPage* page, const std::string& title);
    void SetWizardButtons(WizardButtons buttons);
    WizardButtons wizardButtons() const { return buttons_; }

    QTabWidget* tabs() const { return tabs_; }
    QPushButton* backButton() const { return back_; }
    QPushButton* nextButton() const { return next_; }
    QPushButton* finishButton() const { return finish_; }
    QPushButton* cancelButton() const { return cancel_; }

protected:
    bool event(QEvent* event) override;

private:
    void AddPage(const SheetPageEntry& page);
    void RemovePage(int index);
    void OnTabChanged(int index);
    QWidget* Holder(int index) const;

    SheetMode mode_;
    int templateId_;
    CQRNDoc* document_ = nullptr;
    std::vector<CSettingsPage*> pages_;
    int active_ = -1;
    int activating_ = 0;
    WizardButtons buttons_;
    QTabWidget* tabs_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* finish_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace korvath::ui
