#pragma once
// The calibration report on paper or in a PDF: the title and header, the curves as the plot
// draws them, every settings page with its captions and values, the changes of a comparison, and
// the file name and "Page n of m" at the foot of every page. Laid out in points, so a printer
// of any resolution and the PDF show the same pages.

#include <QDateTime>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

#include "calibration/calibration_report.h"
#include "ui/graph/curve_plot.h"

class QPagedPaintDevice;

namespace korvath::ui {

// Where each part of the report stands: its page (0-based) and its rectangle in points.
struct ReportBlock {
    enum class Kind { Title, HeaderField, Curves, Heading, Field, Change, NoChanges };
    Kind kind = Kind::Field;
    int section = -1;  // Heading and Field: the page of the settings (-1: the changes' heading)
    int index = -1;    // HeaderField, Field, Change: which one
    int page = 0;
    QRectF rect{};
};

struct ReportLayout {
    std::vector<ReportBlock> blocks;
    int pageCount = 1;
};

// "yyyy-MM-dd HH:mm", as the header shows when the report was made.
QString ReportDateText(const QDateTime& when);

// Lays the report out on pages of `pageSize` points (the whole sheet; margins are kept inside).
ReportLayout LayOutReport(const CalibrationReport& report, QSizeF pageSize);

// Paints the report on `device`, which is open for painting and on its first page; `curves`
// draws the curves (its size is set here). False when the device cannot be painted on.
bool PaintCalibrationReport(QPagedPaintDevice& device, const CalibrationReport& report, CurvePlot curves);

// Writes the report as an A4 PDF to `path` in one step (a failure leaves no half-written file);
// false with `error` otherwise. The page count written is put in `pages` when given.
bool WriteCalibrationReport(const CalibrationReport& report, const CurvePlot& curves, const QString& path,
                            QString& error, int* pages = nullptr);

}  // namespace korvath::ui
