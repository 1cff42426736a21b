#pragma once
// The controller commands of the main window (write and read the calibration, choose the
// controller table, dump the controller's RAM, mail the data to technical support) and the
// link state the menus show, in one place. The main window asks this object whether a command is
// enabled or checked and hands it the command; the document's link to the controller fills it
// in. This base class has no controller: nothing is connected and the commands do nothing
// but remember the chosen table.

#include <functional>

namespace korvath {
class CQRNDoc;
}

namespace korvath::ui {

class ControllerCommands {
public:
    virtual ~ControllerCommands() = default;

    // Write and Read Calibration are enabled only while the controller answers.
    virtual bool IsConnected() { return false; }
    // The table (0 or 1) that Write and Read transfer; the menu checks its item.
    virtual int SelectedTable() { return selectedTable_; }
    virtual void SelectTable(int table) { selectedTable_ = table == 1 ? 1 : 0; }

    virtual void WriteCalibration() {}
    virtual void ReadCalibration() {}
    virtual void DumpSystemState() {}
    virtual void EmailTechSupport() {}
    virtual bool CanEmailTechSupport() { return true; }
    virtual bool CanDumpSystemState() { return true; }

    // True while the link runs over USB Direct (the Communication Setup notice, the first-run
    // check).
    virtual bool IsUsb() { return false; }
    // The computer is about to sleep: slow the poller down and close the port.
    virtual void Suspend() {}

private:
    int selectedTable_ = 0;
};

// The link state from the document's controller monitor (connected, USB Direct, standby) and
// the table choice from the calibration; the transfers themselves are still to come.
class DocumentLinkCommands : public ControllerCommands {
public:
    // `document` gives the document once it exists (null before the first New or Open).
    explicit DocumentLinkCommands(std::function<CQRNDoc*()> document) : document_(std::move(document)) {}

    bool IsConnected() override;
    int SelectedTable() override;
    void SelectTable(int table) override;
    bool IsUsb() override;
    void Suspend() override;

protected:
    CQRNDoc* document() const { return document_ ? document_() : nullptr; }

private:
    std::function<CQRNDoc*()> document_;
};

}  // namespace korvath::ui
