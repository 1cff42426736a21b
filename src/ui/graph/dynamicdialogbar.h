#pragma once
// CDynamicDialogBar: the surface of the "Graph Controls" bar, built at run time from the
// definition's "[GraphicalTuning]": one row per trace with a legend check box and a caption in
// the trace's colour, the link and control buttons, and the labels that group the rows. The
// layout and the trace bindings come from the core's walk (LayOutTuningBar); this class makes
// the widgets, paints the etched lines of the docked bar and the focus frames of the captions.

#include <QFont>
#include <QWidget>
#include <functional>
#include <vector>

namespace korvath {
class CQRNDoc;
struct BarCaption;
}

namespace korvath::ui {

class CDynamicStatic;
class CLegendButton;

class CDynamicDialogBar final : public QWidget {
    Q_OBJECT
public:
    static constexpr double kControlFontPoints = 10.0;
    static constexpr double kCaptionFontPoints = 8.0;

    explicit CDynamicDialogBar(QWidget* parent = nullptr);
    ~CDynamicDialogBar() override;

    void CreateFonts();
    // Destroys the previous controls and builds the bar from the document's definition; false
    // without a document or a "[GraphicalTuning]" section (the bar stays empty).
    bool BuildBar(CQRNDoc* doc);
    // Repaints the tuning view at once (after a build and after a box changed the traces).
    void SetViewRepaint(std::function<void()> repaint) { repaintView_ = std::move(repaint); }
    void RepaintView() const {
        if (repaintView_) repaintView_();
    }

    const std::vector<CLegendButton*>& controls() const { return controls_; }
    const std::vector<CDynamicStatic*>& captions() const { return captions_; }
    // The bar is docked (not floating): it shows the etched lines at its top.
    bool Docked() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    void DestroyControls();
    CDynamicStatic* MakeCaption(const BarCaption& caption, CLegendButton* box, const QFont& font);

    std::vector<CLegendButton*> controls_;
    std::vector<CDynamicStatic*> captions_;
    QFont controlFont_;
    QFont captionFont_;
    std::function<void()> repaintView_;
};

}  // namespace korvath::ui
