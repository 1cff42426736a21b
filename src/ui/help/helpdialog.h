#pragma once
// The help viewer: a modeless, resizable window that shows one RTF help topic at a time. The
// program owns one, created hidden with the main window; "Done" and the close box hide it and
// the next topic shows it again.

#include <QDialog>
#include <QString>

#include "ui/help/help_layout.h"

class QPushButton;

namespace korvath::ui {

class COleRichEditCtrl;

class CHelpDialog : public QDialog {
    Q_OBJECT
public:
    explicit CHelpDialog(QWidget* parent = nullptr);

    // Shows the file's content in place of what was shown before. A file that cannot be read
    // leaves the text empty, says "<path> was not found." in a message box and answers false.
    bool ShowTopic(const QString& path);
    // Empties the text and reports the path as not found.
    void ShowNotFound(const QString& path);

    COleRichEditCtrl* textControl() const { return text_; }
    QPushButton* doneButton() const { return done_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    COleRichEditCtrl* text_ = nullptr;
    QPushButton* done_ = nullptr;
    HelpViewerMargins margins_;
};

// The message for a topic that cannot be opened.
QString TopicNotFoundText(const QString& path);

}  // namespace korvath::ui
