#include "ui/help/rich_text_document.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextOption>
#include <QUrl>
#include <algorithm>

namespace korvath::ui {
namespace {

using richtext::Alignment;
using richtext::CharFormat;
using richtext::Paragraph;
using richtext::PictureFormat;
using richtext::Span;

constexpr double kTwipsPerPixel = 15.0;  // 1440 twips an inch, 96 logical pixels an inch
constexpr double kMaxPixels = 8000.0;

Qt::Alignment QtAlignment(Alignment a) {
    switch (a) {
        case Alignment::Centre: return Qt::AlignHCenter;
        case Alignment::Right: return Qt::AlignRight;
        case Alignment::Justify: return Qt::AlignJustify;
        case Alignment::Left: break;
    }
    return Qt::AlignLeft;
}

QTextBlockFormat BlockFormat(const Paragraph& p) {
    QTextBlockFormat f;
    f.setAlignment(QtAlignment(p.format.alignment));
    f.setLeftMargin(TwipsToPixels(p.format.leftIndent));
    f.setRightMargin(TwipsToPixels(p.format.rightIndent));
    f.setTextIndent(std::clamp(p.format.firstLineIndent / kTwipsPerPixel, -kMaxPixels, kMaxPixels));
    f.setTopMargin(TwipsToPixels(p.format.spaceBefore));
    f.setBottomMargin(TwipsToPixels(p.format.spaceAfter));
    return f;
}

QTextCharFormat TextFormat(const CharFormat& c) {
    QTextCharFormat f;
    if (!c.fontFamily.empty()) f.setFontFamilies({QString::fromStdString(c.fontFamily)});
    f.setFontPointSize(std::max(1, c.halfPoints) / 2.0);
    f.setFontWeight(c.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(c.italic);
    f.setFontUnderline(c.underline);
    if (c.colour) f.setForeground(QColor::fromRgb(static_cast<QRgb>(*c.colour)));
    if (!c.link.empty()) {
        f.setAnchor(true);
        f.setAnchorHref(QString::fromStdString(c.link));
        f.setFontUnderline(true);
        f.setForeground(QColor(0x1F, 0x3F, 0x7F));
    }
    return f;
}

const char* FormatName(PictureFormat f) {
    switch (f) {
        case PictureFormat::Jpeg: return "JPEG";
        case PictureFormat::Bmp: return "BMP";
        case PictureFormat::Png:
        case PictureFormat::Placeholder: break;
    }
    return "PNG";
}

// A picture the viewer cannot draw: a grey frame of its size with a cross, so that the text
// around it keeps its place and the reader sees that something is there.
QImage PlaceholderImage(const richtext::Picture& picture) {
    const QSize size(std::max(8, static_cast<int>(TwipsToPixels(picture.widthTwips))),
                     std::max(8, static_cast<int>(TwipsToPixels(picture.heightTwips))));
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0xF4, 0xF4, 0xF4));
    QPainter painter(&image);
    painter.setPen(QColor(0x90, 0x90, 0x90));
    painter.drawRect(QRect(QPoint(0, 0), size - QSize(1, 1)));
    painter.drawLine(0, 0, size.width() - 1, size.height() - 1);
    painter.drawLine(0, size.height() - 1, size.width() - 1, 0);
    return image;
}

// The picture as an image resource of the document; an empty format when it cannot be shown.
QTextImageFormat PictureFormatFor(QTextDocument& document, const richtext::Picture& picture, std::size_t index) {
    QImage image;
    const auto* bytes = reinterpret_cast<const uchar*>(picture.data.data());
    if (picture.format == PictureFormat::Placeholder)
        image = PlaceholderImage(picture);
    else if (!image.loadFromData(bytes, static_cast<int>(picture.data.size()), FormatName(picture.format)))
        return {};
    const QString name = QStringLiteral("picture:%1").arg(index);
    document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat f;
    f.setName(name);
    f.setWidth(picture.widthTwips > 0 ? TwipsToPixels(picture.widthTwips) : image.width());
    f.setHeight(picture.heightTwips > 0 ? TwipsToPixels(picture.heightTwips) : image.height());
    return f;
}

}  // namespace

double TwipsToPixels(int twips) { return std::clamp(twips / kTwipsPerPixel, 0.0, kMaxPixels); }

void FillTextDocument(QTextDocument& document, const richtext::RichDocument& rich) {
    document.clear();
    QTextOption option = document.defaultTextOption();
    option.setTabStopDistance(std::max(1.0, TwipsToPixels(rich.defaultTabTwips)));
    document.setDefaultTextOption(option);
    QTextCursor cursor(&document);
    bool first = true;
    for (const Paragraph& p : rich.paragraphs) {
        if (first) cursor.setBlockFormat(BlockFormat(p));
        else cursor.insertBlock(BlockFormat(p));
        first = false;
        for (const Span& s : p.spans) {
            switch (s.kind) {
                case Span::Kind::Text: cursor.insertText(QString::fromStdString(s.text), TextFormat(s.format)); break;
                case Span::Kind::LineBreak: cursor.insertText(QString(QChar::LineSeparator), TextFormat(s.format)); break;
                case Span::Kind::Picture:
                    if (s.picture < rich.pictures.size()) {
                        const QTextImageFormat f = PictureFormatFor(document, rich.pictures[s.picture], s.picture);
                        if (!f.name().isEmpty()) cursor.insertImage(f);
                    }
                    break;
            }
        }
    }
}

}  // namespace korvath::ui
