#include "ui/tools/check_calibration_tool.h"

#include <QAction>

#include "calibration/calibration_check.h"
#include "document/qrndoc.h"
#include "platform/message_style.h"
#include "ui/tools/tools_menu.h"
#include "ui/tools/tools_texts.h"

namespace korvath::ui {
namespace {

std::vector<std::string> Findings(CQRNDoc& doc) {
    const HeldCalibration held{doc.HeldDefinition(), doc.HeldTransmission()};
    return CheckCalibration(doc, held.definition.empty() ? nullptr : &held);
}

}  // namespace

void AddCheckCalibrationItem(ToolsMenu& menu, CQRNDoc& doc) {
    QAction* action = menu.AddItem(texts::kCheckCalibrationItem, texts::kCheckCalibrationStatus, [&doc] {
        const auto findings = Findings(doc);
        using namespace MessageStyle;
        if (findings.empty())
            doc.ShowMessage(kCheckNothingFound, kCheckCaption, IconInformation);
        else
            doc.ShowMessage(FindingsText(findings), kCheckCaption, IconExclamation);
    });
    action->setObjectName(QStringLiteral("CheckCalibration"));
}

bool ConfirmWriteAfterCheck(CQRNDoc& doc) {
    const auto findings = Findings(doc);
    if (findings.empty()) return true;
    using namespace MessageStyle;
    return doc.ShowMessage(kCheckFoundIntro + FindingsText(findings) + kCheckWriteAnyway, kCheckCaption,
                           YesNo | IconExclamation) == MessageResult::Yes;
}

}  // namespace korvath::ui
