#include "ui/tools/report_painter.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "platform/printf_format.h"

namespace korvath::ui {
namespace {

namespace rt = report_texts;
using Kind = ReportBlock::Kind;

// Sizes in points.
constexpr qreal kMargin = 40;
constexpr qreal kFooterHeight = 16;
constexpr qreal kCurvesHeight = 340;
constexpr qreal kCaptionShare = 0.45;  // of the width, for the captions
constexpr qreal kColumnGap = 8;
constexpr qreal kRowGap = 2;
constexpr qreal kSectionGap = 10;
constexpr int kTitlePixels = 16, kHeadingPixels = 12, kTextPixels = 9, kFooterPixels = 8;
constexpr int kPdfResolution = 72;  // one point per unit
constexpr qreal kPointsPerInch = 72;
constexpr const char* kDateFormat = "yyyy-MM-dd HH:mm";
constexpr const char* kArrow = " \u2192 ";

QString Text(const std::string& text) { return QString::fromStdString(text); }

QFont FontOf(int pixels, bool bold = false) {
    QFont font;
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

struct Columns {
    qreal left, captionWidth, valueLeft, valueWidth;
};
Columns ColumnsOf(qreal width) {
    const qreal captionWidth = (width - 2 * kMargin) * kCaptionShare;
    const qreal valueLeft = kMargin + captionWidth + kColumnGap;
    return {kMargin, captionWidth, valueLeft, width - kMargin - valueLeft};
}

// The two texts of a row: caption and value.
std::pair<QString, QString> RowTexts(const CalibrationReport& report, const ReportBlock& block) {
    switch (block.kind) {
        case Kind::HeaderField: {
            const ReportField& f = report.header[static_cast<std::size_t>(block.index)];
            return {Text(f.caption), Text(f.value)};
        }
        case Kind::Field: {
            const ReportField& f =
                report.pages[static_cast<std::size_t>(block.section)].fields[static_cast<std::size_t>(block.index)];
            return {Text(f.caption), Text(f.value)};
        }
        case Kind::Change: {
            const DiffRow& row = report.changes[static_cast<std::size_t>(block.index)];
            return {Text(row.what), Text(row.a) + QString::fromUtf8(kArrow) + Text(row.b)};
        }
        default: return {};
    }
}

QString SingleText(const CalibrationReport& report, const ReportBlock& block) {
    switch (block.kind) {
        case Kind::Title: return QString::fromUtf8(rt::kTitle);
        case Kind::Heading:
            return block.section < 0 ? QString::fromUtf8(rt::kChanges)
                                     : Text(report.pages[static_cast<std::size_t>(block.section)].title);
        case Kind::NoChanges: return QString::fromUtf8(rt::kNoChanges);
        default: return {};
    }
}

qreal WrappedHeight(const QFont& font, qreal width, const QString& text) {
    const QFontMetricsF fm(font);
    return std::max(fm.height(), fm.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, text).height());
}

class Flow {
public:
    Flow(const CalibrationReport& report, QSizeF page) : report_(report), page_(page), columns_(ColumnsOf(page.width())) {}

    ReportLayout Run() {
        Place({.kind = Kind::Title}, QFontMetricsF(FontOf(kTitlePixels, true)).height() * 1.6);
        for (std::size_t i = 0; i < report_.header.size(); ++i) Row({.kind = Kind::HeaderField, .index = Int(i)});
        y_ += kSectionGap;
        Place({.kind = Kind::Curves}, kCurvesHeight);
        for (std::size_t s = 0; s < report_.pages.size(); ++s) {
            Heading(Int(s));
            for (std::size_t i = 0; i < report_.pages[s].fields.size(); ++i)
                Row({.kind = Kind::Field, .section = Int(s), .index = Int(i)});
        }
        if (report_.compared) {
            Heading(-1);
            if (report_.changes.empty()) Place({.kind = Kind::NoChanges}, QFontMetricsF(FontOf(kTextPixels)).height());
            for (std::size_t i = 0; i < report_.changes.size(); ++i) Row({.kind = Kind::Change, .index = Int(i)});
        }
        layout_.pageCount = page_index_ + 1;
        return layout_;
    }

private:
    static int Int(std::size_t i) { return static_cast<int>(i); }
    qreal Bottom() const { return page_.height() - kMargin - kFooterHeight; }

    void Heading(int section) {
        y_ += kSectionGap;
        const qreal height = QFontMetricsF(FontOf(kHeadingPixels, true)).height() + kRowGap;
        // A heading goes with the first row below it.
        Place({.kind = Kind::Heading, .section = section}, height, QFontMetricsF(FontOf(kTextPixels)).height());
    }

    void Row(ReportBlock block) {
        const auto [caption, value] = RowTexts(report_, block);
        const QFont font = FontOf(kTextPixels);
        const qreal height = std::max(WrappedHeight(font, columns_.captionWidth, caption),
                                      WrappedHeight(font, columns_.valueWidth, value)) + kRowGap;
        Place(block, height);
    }

    // Puts a block at the free y, on a new page when it (and `keepWith` below it) does not fit. A
    // block higher than a page is cut to one page (a text box may hold any amount of text).
    void Place(ReportBlock block, qreal height, qreal keepWith = 0) {
        const qreal top = kMargin;
        height = std::min(height, Bottom() - top);
        if (y_ + height + keepWith > Bottom() && y_ > top) {
            ++page_index_;
            y_ = top;
        }
        block.page = page_index_;
        block.rect = QRectF(kMargin, y_, page_.width() - 2 * kMargin, height);
        layout_.blocks.push_back(block);
        y_ += height;
    }

    const CalibrationReport& report_;
    QSizeF page_;
    Columns columns_;
    ReportLayout layout_;
    int page_index_ = 0;
    qreal y_ = kMargin;
};

void PaintBlock(QPainter& painter, const CalibrationReport& report, const ReportBlock& block, const Columns& columns,
                CurvePlot& curves) {
    painter.save();
    painter.setClipRect(block.rect);
    painter.setPen(Qt::black);
    switch (block.kind) {
        case Kind::Title:
            painter.setFont(FontOf(kTitlePixels, true));
            painter.drawText(block.rect, Qt::AlignLeft | Qt::AlignTop, SingleText(report, block));
            break;
        case Kind::Heading:
            painter.setFont(FontOf(kHeadingPixels, true));
            painter.drawText(block.rect, Qt::AlignLeft | Qt::AlignTop, SingleText(report, block));
            painter.drawLine(block.rect.bottomLeft() - QPointF(0, kRowGap / 2), block.rect.bottomRight() - QPointF(0, kRowGap / 2));
            break;
        case Kind::NoChanges:
            painter.setFont(FontOf(kTextPixels));
            painter.drawText(block.rect, Qt::AlignLeft | Qt::AlignTop, SingleText(report, block));
            break;
        case Kind::Curves:
            painter.translate(block.rect.topLeft());
            curves.size = block.rect.size().toSize();
            painter.setFont(FontOf(kTextPixels + 1));
            PaintCurvePlot(painter, curves);
            break;
        case Kind::HeaderField:
        case Kind::Field:
        case Kind::Change: {
            const auto [caption, value] = RowTexts(report, block);
            painter.setFont(FontOf(kTextPixels, block.kind == Kind::HeaderField));
            painter.drawText(QRectF(columns.left, block.rect.top(), columns.captionWidth, block.rect.height()),
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, caption);
            painter.setFont(FontOf(kTextPixels));
            painter.drawText(QRectF(columns.valueLeft, block.rect.top(), columns.valueWidth, block.rect.height()),
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, value);
            break;
        }
    }
    painter.restore();
}

QSizeF PageInPoints(const QPagedPaintDevice& device) {
    return {device.width() * kPointsPerInch / device.logicalDpiX(), device.height() * kPointsPerInch / device.logicalDpiY()};
}

void PaintFooter(QPainter& painter, const CalibrationReport& report, QSizeF page, int index, int count) {
    painter.save();
    painter.setFont(FontOf(kFooterPixels));
    painter.setPen(Qt::darkGray);
    const QRectF foot(kMargin, page.height() - kMargin - kFooterHeight + 4, page.width() - 2 * kMargin, kFooterHeight);
    painter.drawText(foot, Qt::AlignLeft | Qt::AlignBottom, Text(report.fileName));
    painter.drawText(foot, Qt::AlignRight | Qt::AlignBottom,
                     QString::fromStdString(FormatText(rt::kPageFormat, index + 1, count)));
    painter.restore();
}

}  // namespace

QString ReportDateText(const QDateTime& when) { return when.toString(QString::fromLatin1(kDateFormat)); }

ReportLayout LayOutReport(const CalibrationReport& report, QSizeF pageSize) { return Flow(report, pageSize).Run(); }

bool PaintCalibrationReport(QPagedPaintDevice& device, const CalibrationReport& report, CurvePlot curves) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    // Points on every device: a printer's resolution only scales them.
    painter.scale(device.logicalDpiX() / kPointsPerInch, device.logicalDpiY() / kPointsPerInch);
    const QSizeF page = PageInPoints(device);
    const ReportLayout layout = LayOutReport(report, page);
    const Columns columns = ColumnsOf(page.width());
    for (int p = 0; p < layout.pageCount; ++p) {
        if (p > 0 && !device.newPage()) return false;
        for (const ReportBlock& block : layout.blocks)
            if (block.page == p) PaintBlock(painter, report, block, columns, curves);
        PaintFooter(painter, report, page, p, layout.pageCount);
    }
    return painter.end();
}

bool WriteCalibrationReport(const CalibrationReport& report, const CurvePlot& curves, const QString& path,
                            QString& error, int* pages) {
    return WritePaintedFile(path, [&](QIODevice& out) {
        QPdfWriter pdf(&out);
        pdf.setResolution(kPdfResolution);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        pdf.setTitle(QString::fromUtf8(rt::kTitle) + QStringLiteral(": ") + Text(report.fileName));
        if (!PaintCalibrationReport(pdf, report, curves)) return false;
        if (pages) *pages = LayOutReport(report, PageInPoints(pdf)).pageCount;
        return true;
    }, error);
}

}  // namespace korvath::ui
