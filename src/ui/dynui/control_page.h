#pragma once
// The page that owns run-time controls, as its controls see it: its section and logical name
// (the section part of their stored choices, the scope of their block lookups), its sheet, its
// edit boxes (the targets of formula buttons), and its rebuild. The settings page implements it.

#include <string>
#include <string_view>

class QWidget;

namespace korvath {
class CQRNDoc;
}

namespace korvath::ui {

class CDynamicEdit;

class ControlPage {
public:
    virtual ~ControlPage() = default;

    // The page's section header ("[TCCSettings]") and the LogicalName of its chosen occurrence.
    virtual const std::string& PageSection() const = 0;
    virtual const std::string& PageLogicalName() const = 0;
    // The sheet that holds the page, as NotifyChange takes it; null when the page lies in none.
    virtual void* PageSheet() const = 0;
    // The page's window: the controls' parent, and what their queued actions are tied to.
    virtual QWidget* PageWidget() = 0;

    // The first edit box created on the page with this logical name, or null.
    virtual CDynamicEdit* FindEditBox(std::string_view logicalName) = 0;
    virtual void DestroyControls() = 0;
    virtual void BuildControls() = 0;
    // A combo box (list position `index`) the user changed.
    virtual void OnComboChange(int index) = 0;

    // --- the build in progress (ControlBuildScope)
    bool IsBuilding() const { return buildDepth_ > 0; }
    // Document actions a control asked for while the page was building; run once when it ends.
    void KeepInfluence(int flags) { keptFlags_ |= flags; }

private:
    friend class ControlBuildScope;
    int buildDepth_ = 0;
    int keptFlags_ = 0;
};

// Brackets a page's BuildControls. While it lives, the "GlobalInfluence" actions of the controls
// being set up are not performed: an edit box that changed the calibration while storing its
// starting value has its refresh and sheet flags kept, and when the outermost scope ends they run
// once, after the build has returned to the event loop; rebuilding the page is dropped (the build
// shows the calibration as it is).
class ControlBuildScope {
public:
    ControlBuildScope(ControlPage& page, CQRNDoc* document);
    ~ControlBuildScope();
    ControlBuildScope(const ControlBuildScope&) = delete;
    ControlBuildScope& operator=(const ControlBuildScope&) = delete;

private:
    ControlPage& page_;
    CQRNDoc* document_;
};

// The "GlobalInfluence" actions after a user action of a control has written the calibration:
// NotifyChange with the flags and the page's sheet, then with flag 8 the page's rebuild. They run
// from the event loop right after the control's event has been handled, so that a rebuild may
// delete the control that asked for it. During a page build they are kept as described above;
// calibrationChanged tells whether the store changed anything.
void PerformGlobalInfluence(CQRNDoc* document, int flags, ControlPage* page, bool calibrationChanged = true);

}  // namespace korvath::ui
