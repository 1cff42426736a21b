#pragma once
// CQRNView: the tuning view. It owns the graph engine, sizes it to the window, composes the
// graph in an off-screen image (so the whole graph can be redrawn after every mouse move without
// flicker), turns mouse, wheel and key input into engine calls, and prints the composed image.

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "graph/graphengine.h"
#include "ui/graph/qpainter_surface.h"

class QPainter;
class QPrinter;

namespace korvath {
class CQRNDoc;
}

namespace korvath::ui {

class CQRNView final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMinTrackWidth = 450;
    static constexpr int kMinTrackHeight = 420;
    static constexpr int kWheelDelta = 120;

    // Creation wires the engine to the document: column labels measured, the document as the
    // value callback, the document's graph pointer, the traces pushed, converted values shown.
    CQRNView(CQRNDoc& doc, QWidget* parent = nullptr);
    ~CQRNView() override;

    CQRNDoc& GetDocument() const { return doc_; }
    CGraphEngine& graph() { return *graph_; }
    // Called on every size change with the minimum tracking size (450, 420).
    void SetMinTrackSizeHandler(std::function<void(int, int)> handler) { minTrackSize_ = std::move(handler); }

    // Draws over the curves and under the crosshair (the crosshair's trail, the replayed log's
    // shifts), one drawing per owner in the order they came; null takes the owner's away.
    void SetUnderCrosshair(const void* owner, std::function<void(QPainter&)> draw);

    // Invalidates the whole view and paints it at once.
    void Redraw();
    // After a move of the crosshair alone (live data, a replay): paints at once only where the
    // crosshair was and where it is, over the curves drawn last time.
    void RepaintCrosshair();
    // The composed image as the screen shows it (empty before the first size event).
    QImage ComposedImage();
    // One page with the composed image, scaled to the printable area keeping its proportions.
    bool PrintTo(QPrinter& printer);
    // File Print: the print dialog on `printer`, then the page. Print Preview: the preview
    // window. Print direct: no dialog (the shell's print request).
    bool FilePrint(QPrinter& printer);
    void FilePrintPreview(QPrinter& printer);
    bool FilePrintDirect(QPrinter& printer) { return PrintTo(printer); }

    // State for the tests.
    int wheelRemainder() const { return wheelRemainder_; }
    bool holdsCapture() const { return capture_; }
    int paintCount() const { return paintCount_; }
    bool hasImage() const { return !image_.isNull(); }
    // The picture as last painted, without composing it again.
    const QImage& shownImage() const { return image_; }

    // What an edit on the graph was, when it ends.
    enum class EditKind { Drag, Step };

Q_SIGNALS:
    // Before an input that may change point values (a press, a value key, a wheel step).
    void editBegins();
    // After it: the point it was about (the dragged one, or the active trace at the cursor).
    void editEnds(korvath::ui::CQRNView::EditKind kind, int trace, int column);
    // The view was drawn again after its values or its traces may have changed.
    void redrawn();
    // While a point is dragged or stepped: its trace, column and value shown and stored.
    void editStatus(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void MakeImage();
    void Compose();
    // The crosshair and the callout over the image of what lies under them.
    void DrawOverlay();
    QRect CrosshairRect() const;
    void RepaintNow();
    void LoseCapture();
    void StepValues(int key, int count, Qt::KeyboardModifiers modifiers);

    CQRNDoc& doc_;
    std::unique_ptr<CGraphEngine> graph_;
    QPainterSurface surface_;
    QImage image_;
    QImage under_;         // the curves and what is drawn under the crosshair, without it
    QRect crosshairRect_;  // where the crosshair was drawn last, in the view's pixels
    bool crosshairOnly_ = false;  // the paint under way shows a crosshair move alone
    QRect clientRect_;
    int wheelRemainder_ = 0;
    bool capture_ = false;
    int paintCount_ = 0;
    std::function<void(int, int)> minTrackSize_;
    std::vector<std::pair<const void*, std::function<void(QPainter&)>>> underCrosshair_;
};

// The engine's modifier bits (Shift 4, Ctrl 8) of a Qt modifier state.
int EngineModifiers(Qt::KeyboardModifiers modifiers);
// The classic key code 0x20 ... 0x28 of the keys the engine handles, 0 for every other key.
int EngineKeyCode(int qtKey);

}  // namespace korvath::ui
