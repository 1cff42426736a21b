#include "ui/app/controller_commands.h"

#include "comm/vuz_monitor.h"
#include "document/qrndoc.h"

namespace korvath::ui {

bool DocumentLinkCommands::IsConnected() {
    CQRNDoc* doc = document();
    return doc && doc->monitor() && doc->monitor()->is_connected() == 1;
}

int DocumentLinkCommands::SelectedTable() {
    CQRNDoc* doc = document();
    return doc && doc->calibration().viewState.SelectedTable() == 1 ? 1 : 0;
}

void DocumentLinkCommands::SelectTable(int table) {
    if (CQRNDoc* doc = document()) doc->calibration().viewState.SetSelectedTable(table == 1 ? 1 : 0);
}

bool DocumentLinkCommands::IsUsb() {
    CQRNDoc* doc = document();
    return doc && doc->monitor() && doc->monitor()->is_usb();
}

void DocumentLinkCommands::Suspend() {
    CQRNDoc* doc = document();
    if (doc && doc->monitor()) doc->monitor()->suspend();
}

}  // namespace korvath::ui
