#pragma once
// The windows that show the document, as the document sees them. The GUI implements this;
// without one (the command-line tool, tests) refreshing the views does nothing.

namespace korvath {

class ViewHost {
public:
    virtual ~ViewHost() = default;
    // Rebuilds the graphical tuning bar (which binds the traces) and the dashboard from the
    // loaded definition.
    virtual void RebuildBars() = 0;
    // Repaints the tuning view at once.
    virtual void RedrawView() = 0;
    // Refreshes the pages of the given settings sheet.
    virtual void RefreshSheetPages(void* sheet) = 0;
    // Refreshes the open System Settings sheet; with 1 it is opened and its pages are cycled.
    virtual void RefreshSettingsSheet(int cyclePages) = 0;
};

// Live values of named controller RAM variables for "M:" references; -1000 when the value
// cannot be had.
class LiveVariableSource {
public:
    virtual ~LiveVariableSource() = default;
    virtual int ReadRamVariable(const char* name) = 0;
};

}  // namespace korvath
