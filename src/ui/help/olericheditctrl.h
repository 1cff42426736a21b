#pragma once
// The help viewer's text: read-only rich text with pictures. Clicks into the text do nothing
// (no caret, no selection); the scroll bar, the wheel and the keyboard still scroll.

#include <QTextBrowser>
#include <string_view>

namespace korvath::ui {

class COleRichEditCtrl : public QTextBrowser {
    Q_OBJECT
public:
    explicit COleRichEditCtrl(QWidget* parent = nullptr);

    // Replaces the whole text with the RTF file content.
    void SetRtf(std::string_view rtf);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

}  // namespace korvath::ui
