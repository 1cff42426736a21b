#pragma once
// Tools > Communication Trace...: writes every exchange with the controller to a text file the
// user names, until chosen again (the item is checked meanwhile) or the file is full.

#include <QObject>
#include <QString>

#include "comm/trace_file.h"

class QAction;
class QMainWindow;

namespace korvath {
class CQRNDoc;
class CSerialPort;
}  // namespace korvath

namespace korvath::ui {

class ToolsMenu;

class CommunicationTraceTool final : public QObject {
    Q_OBJECT
public:
    CommunicationTraceTool(QMainWindow& frame, CQRNDoc& doc, ToolsMenu& menu);
    ~CommunicationTraceTool() override;

    // Starts the trace into path; false (and the user told why) when it cannot.
    bool Start(const QString& path);
    void Stop();
    bool active() const { return trace_.active(); }
    QAction* action() const { return action_; }

private:
    void OnChosen();
    // The file is full: the trace has stopped itself.
    void OnLimit();
    CSerialPort* Link() const;
    void Detach();
    void Say(const QString& text);

    QMainWindow& frame_;
    CQRNDoc& doc_;
    QAction* action_ = nullptr;
    TraceFile trace_;
    CSerialPort* tracedLink_ = nullptr;
};

}  // namespace korvath::ui
