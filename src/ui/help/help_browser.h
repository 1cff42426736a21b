#pragma once
// Help Topics: the program's own help as a small browser. A contents list that jumps to each
// topic, links between topics, back and forward, and find in the text. Topics that definition
// files open keep the plain help viewer; this window is for the help that ships with the program.

#include <QString>
#include <QWidget>
#include <string>

#include "richtext/topic_navigation.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;
class QUrl;

namespace korvath::ui {

class HelpBrowser : public QWidget {
    Q_OBJECT
public:
    // `programDirectory` holds the help folder; topics are paths relative to it ("help/Curves.rtf").
    HelpBrowser(std::string programDirectory, QWidget* parent = nullptr);

    // Opens a topic and keeps it in the history; false (with the reason in the window) when it
    // cannot be read or lies outside the program directory.
    bool OpenTopic(const std::string& topic);
    void GoBack();
    void GoForward();
    // Selects the next place of `text` after the selection, from the top again at the end.
    bool FindNext(const QString& text);

    QListWidget* contents() const { return contents_; }
    QTextBrowser* text() const { return text_; }
    QLineEdit* findField() const { return find_; }
    QPushButton* backButton() const { return back_; }
    QPushButton* forwardButton() const { return forward_; }
    const std::string& currentTopic() const { return history_.current(); }

private:
    bool Show(const std::string& topic);
    void FollowLink(const QUrl& link);
    void FillContents();
    void UpdateButtons();

    std::string programDirectory_;
    richtext::TopicHistory history_;
    QListWidget* contents_ = nullptr;
    QTextBrowser* text_ = nullptr;
    QLineEdit* find_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* forward_ = nullptr;
    QLabel* message_ = nullptr;
};

}  // namespace korvath::ui
