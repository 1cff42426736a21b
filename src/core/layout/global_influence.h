#pragma once
// The "GlobalInfluence" flags of a run-time control: what it asks of the document and of its
// page after a user action has made it write the calibration.

namespace korvath {

namespace InfluenceFlag {
inline constexpr int RefreshViews = 1;      // RefreshViews(0), unless FullRefresh is set too
inline constexpr int FullRefresh = 2;       // RefreshViews(1)
inline constexpr int RebuildSheetPages = 4; // the sheet rebuilds its pages after the first
inline constexpr int RebuildPage = 8;       // the page destroys and builds its controls again
// The part the document's NotifyChange performs.
inline constexpr int DocumentFlags = RefreshViews | FullRefresh | RebuildSheetPages;
}  // namespace InfluenceFlag

// While a page is still building its controls, a control that stores its starting value must not
// rebuild the page it is being built on, nor the sheet's pages, nor move the definition reader's
// selection under the build. Its document actions are therefore kept until the build has ended,
// and only when the store changed the calibration (a clamped or rounded value): a value that was
// already stored needs no refresh, and rebuilt pages then find nothing more to change, so a
// rebuild never repeats. Rebuilding the page is dropped: the build itself shows the calibration.
inline int InfluenceKeptDuringBuild(int flags, bool calibrationChanged) {
    return calibrationChanged ? (flags & InfluenceFlag::DocumentFlags) : 0;
}

}  // namespace korvath
