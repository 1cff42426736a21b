#pragma once
// A rich-text document as the help reader produces it: paragraphs of text runs and pictures,
// with the few character and paragraph properties the help files use. It knows nothing of
// any toolkit; the viewer turns it into its own document type.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvath::richtext {

struct CharFormat {
    std::string fontFamily;  // empty: the viewer's default font
    int halfPoints = 24;     // font size in half points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::optional<std::uint32_t> colour;  // 0xRRGGBB; none: the viewer's text colour
    std::string link;  // the target of a hyperlink field's text ("Curves.rtf"); empty: none

    bool operator==(const CharFormat&) const = default;
};

enum class Alignment { Left, Centre, Right, Justify };

// Distances in twips (1/1440 inch), as the file gives them.
struct ParagraphFormat {
    Alignment alignment = Alignment::Left;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstLineIndent = 0;  // relative to leftIndent; negative for a hanging indent
    int spaceBefore = 0;
    int spaceAfter = 0;

    bool operator==(const ParagraphFormat&) const = default;
};

// Placeholder: a picture in a format the viewer cannot draw (an enhanced metafile, say), shown
// as a frame of its size so that the text around it keeps its place.
enum class PictureFormat { Png, Jpeg, Bmp, Placeholder };

struct Picture {
    PictureFormat format = PictureFormat::Png;
    std::vector<std::uint8_t> data;  // a complete file of its format; empty for a placeholder
    // The size the document asks for, in twips; 0 where it gives none (the picture's own size).
    int widthTwips = 0;
    int heightTwips = 0;
};

// One piece of a paragraph: text in one format (tabs kept as '\t'), a line break inside the
// paragraph, or a picture (an index into RichDocument::pictures).
struct Span {
    enum class Kind { Text, LineBreak, Picture };
    Kind kind = Kind::Text;
    CharFormat format;
    std::string text;  // UTF-8
    std::size_t picture = 0;
};

struct Paragraph {
    ParagraphFormat format;
    std::vector<Span> spans;
};

struct RichDocument {
    std::vector<Paragraph> paragraphs;
    std::vector<Picture> pictures;
    int defaultTabTwips = 720;  // \deftab: the distance between the default tab stops
};

}  // namespace korvath::richtext
