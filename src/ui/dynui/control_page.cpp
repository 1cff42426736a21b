#include "ui/dynui/control_page.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "layout/global_influence.h"
#include "document/qrndoc.h"

namespace korvath::ui {

ControlBuildScope::ControlBuildScope(ControlPage& page, CQRNDoc* document) : page_(page), document_(document) {
    if (page_.buildDepth_++ == 0) page_.keptFlags_ = 0;
}

ControlBuildScope::~ControlBuildScope() {
    if (--page_.buildDepth_ > 0) return;
    const int kept = page_.keptFlags_;
    page_.keptFlags_ = 0;
    if (kept != 0) PerformGlobalInfluence(document_, kept, &page_);
}

void PerformGlobalInfluence(CQRNDoc* document, int flags, ControlPage* page, bool calibrationChanged) {
    if (!document || flags == 0) return;
    if (page && page->IsBuilding()) {
        page->KeepInfluence(InfluenceKeptDuringBuild(flags, calibrationChanged));
        return;
    }
    QWidget* pageWidget = page ? page->PageWidget() : nullptr;
    QPointer<QWidget> guard = pageWidget;
    const bool hasPage = pageWidget != nullptr;
    QObject* context = pageWidget ? static_cast<QObject*>(pageWidget) : QCoreApplication::instance();
    if (!context) return;
    QTimer::singleShot(0, context, [document, flags, page, guard, hasPage] {
        // Actions of a page that has gone meanwhile went with it.
        if (hasPage && !guard) return;
        document->NotifyChange(flags & InfluenceFlag::DocumentFlags, page ? page->PageSheet() : nullptr);
        if ((flags & InfluenceFlag::RebuildPage) && page && guard) {
            page->DestroyControls();
            page->BuildControls();
        }
    });
}

}  // namespace korvath::ui
