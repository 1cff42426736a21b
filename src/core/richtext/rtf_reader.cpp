#include "richtext/rtf_reader.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <utility>

#include "richtext/code_page.h"
#include "richtext/rtf_picture.h"

namespace korvath::richtext {
namespace {

// Tables larger than this are cut: no help file needs them, and they cost memory.
constexpr std::size_t kMaxTableEntries = 4096;
constexpr std::size_t kMaxFontNameBytes = 128;
constexpr std::size_t kMaxControlWordLetters = 32;
constexpr int kDefaultHalfPoints = 24;
constexpr std::int64_t kMaxTwips = 1440 * 100;  // a hundred inches
constexpr std::size_t kMaxFieldInstructionBytes = 1024;
// A picture that gives no size of its own is shown as a frame an inch square.
constexpr int kPlaceholderTwips = 1440;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | c >> 6));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | c >> 12));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | c >> 18));
        out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Shapes carry their picture as the property "pib": {\shp{\*\shpinst{\sp{\sn pib}{\sv {\pict ...}}}}
// {\shprslt ...}}, the result group being the stand-in for readers without shapes.
// An embedded object {\object ... {\result ...}} shows its result, the stand-in for readers that
// cannot run the object. A field {\field{\*\fldinst HYPERLINK "target"}{\fldrslt text}} links its
// result text to the target.
enum class Destination {
    Text, Skip, FontTable, ColourTable, Picture, ShapePicture, FallbackPicture,
    ShapeInstruction, ShapeProperty, ShapeName, ShapeValue, Object, FieldInstruction,
};

enum class PictureKind { Unknown, Png, Jpeg, Dib, Metafile };

struct PictureData {
    PictureKind kind = PictureKind::Unknown;
    int width = 0;   // \picw: pixels for bitmaps, 0.01 mm for metafiles
    int height = 0;
    int goalWidth = 0;  // \picwgoal, \pichgoal: twips
    int goalHeight = 0;
    int scaleX = 100;
    int scaleY = 100;
    std::vector<std::uint8_t> bytes;
    int pendingNibble = -1;
};

struct GroupState {
    Destination destination = Destination::Text;
    CharFormat chars;
    ParagraphFormat paragraph;
    int unicodeSkip = 1;  // \ucN
};

struct ControlWord {
    std::string_view name;
    bool hasParameter = false;
    int parameter = 0;
};

class RtfParser {
public:
    explicit RtfParser(std::string_view input) : in_(input) { document_.paragraphs.emplace_back(); }

    RichDocument Run() {
        while (pos_ < in_.size()) Step();
        // Groups the file left open close here, so that a picture cut short is still kept.
        while (!stack_.empty()) CloseGroup();
        FinishDocument();
        return std::move(document_);
    }

private:
    void Step() {
        const char c = in_[pos_];
        if (c == '{') {
            ++pos_;
            OpenGroup();
        } else if (c == '}') {
            ++pos_;
            CloseGroup();
        } else if (c == '\\') {
            ++pos_;
            ReadControl();
        } else {
            ++pos_;
            if (c == '\r' || c == '\n') return;
            pendingDestination_ = false;
            if (overflow_ > 0) return;
            if (skipChars_ > 0) {
                --skipChars_;
                return;
            }
            Character(static_cast<unsigned char>(c));
        }
    }

    void OpenGroup() {
        skipChars_ = 0;
        if (overflow_ > 0 || stack_.size() >= static_cast<std::size_t>(kMaxRtfGroupDepth)) {
            ++overflow_;
            return;
        }
        stack_.push_back(state_);
        pendingDestination_ = true;
    }

    void CloseGroup() {
        skipChars_ = 0;
        pendingDestination_ = false;
        pendingStar_ = false;
        if (overflow_ > 0) {
            --overflow_;
            return;
        }
        if (stack_.empty()) return;  // a stray closing brace
        const Destination closing = state_.destination;
        const bool outermost = stack_.back().destination != closing;
        state_ = stack_.back();
        stack_.pop_back();
        if (!outermost) return;
        if (closing == Destination::FontTable) {
            FinishFontEntry();
            // Text before any \f is in the default font, known only now.
            if (state_.chars.fontFamily.empty()) state_.chars.fontFamily = FontName(defaultFont_);
            for (GroupState& g : stack_)
                if (g.chars.fontFamily.empty()) g.chars.fontFamily = FontName(defaultFont_);
        }
        if (closing == Destination::Picture) FinishPicture();
        if (closing == Destination::FieldInstruction) fieldLink_ = HyperlinkTarget(fieldInstruction_);
        if (closing == Destination::ShapePicture) shapePictureShown_ = document_.pictures.size() > picturesBeforeShape_;
        if (closing == Destination::FallbackPicture) shapePictureShown_ = false;
        if (closing == Destination::ShapeInstruction) shapeShown_ = document_.pictures.size() > picturesBeforeShape_;
    }

    void EnterDestination(Destination d) { state_.destination = d; }

    void ReadControl() {
        if (pos_ >= in_.size()) return;
        const char c = in_[pos_];
        if (!IsLetter(c)) {
            ++pos_;
            ControlSymbol(c);
            return;
        }
        ControlWord word;
        const std::size_t start = pos_;
        while (pos_ < in_.size() && IsLetter(in_[pos_])) ++pos_;
        word.name = in_.substr(start, std::min(pos_ - start, kMaxControlWordLetters + 1));
        bool negative = false;
        if (pos_ < in_.size() && in_[pos_] == '-' && pos_ + 1 < in_.size() && IsDigit(in_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        std::int64_t value = 0;
        while (pos_ < in_.size() && IsDigit(in_[pos_])) {
            word.hasParameter = true;
            value = std::min<std::int64_t>(value * 10 + (in_[pos_] - '0'), std::numeric_limits<int>::max());
            ++pos_;
        }
        word.parameter = static_cast<int>(negative ? -value : value);
        if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
        if (word.name == "bin") {
            Binary(word.hasParameter ? word.parameter : 0);
            return;
        }
        if (overflow_ > 0) return;
        const bool firstInGroup = pendingDestination_;
        const bool starred = pendingStar_;
        pendingDestination_ = false;
        pendingStar_ = false;
        if (skipChars_ > 0 && word.name != "u") {
            --skipChars_;
            return;
        }
        Word(word, firstInGroup, starred);
    }

    void ControlSymbol(char c) {
        if (overflow_ > 0) {
            if (c == '\'') SkipHexDigits();
            return;
        }
        if (c == '*') {
            pendingStar_ = pendingDestination_;
            return;
        }
        pendingDestination_ = false;
        if (c == '\'') {
            const int byte = ReadHexByte();
            if (skipChars_ > 0) {
                --skipChars_;
                return;
            }
            if (byte >= 0) Character(static_cast<std::uint8_t>(byte));
            return;
        }
        if (skipChars_ > 0) {
            --skipChars_;
            return;
        }
        switch (c) {
            case '\\':
            case '{':
            case '}': Character(static_cast<unsigned char>(c)); break;
            case '~': Emit(U'\u00A0'); break;
            case '_': Emit(U'\u2011'); break;
            case '-': break;  // an optional hyphen: the viewer breaks lines itself
            case '\r':
            case '\n': EndParagraph(); break;
            case '\t': Emit(U'\t'); break;
            default: break;
        }
    }

    // Up to two hex digits; a lone digit counts on its own and a non-digit is left unread.
    int ReadHexByte() {
        int value = -1;
        for (int i = 0; i < 2 && pos_ < in_.size(); ++i) {
            const int digit = HexValue(in_[pos_]);
            if (digit < 0) break;
            value = (value < 0 ? 0 : value * 16) + digit;
            ++pos_;
        }
        return value;
    }

    void SkipHexDigits() { (void)ReadHexByte(); }

    void Binary(int length) {
        const std::size_t n = std::min<std::size_t>(length > 0 ? static_cast<std::size_t>(length) : 0, in_.size() - pos_);
        if (overflow_ == 0 && state_.destination == Destination::Picture) {
            picture_.bytes.insert(picture_.bytes.end(), in_.begin() + static_cast<std::ptrdiff_t>(pos_),
                                  in_.begin() + static_cast<std::ptrdiff_t>(pos_ + n));
            picture_.pendingNibble = -1;
        }
        pos_ += n;
    }

    void Word(const ControlWord& w, bool firstInGroup, bool starred) {
        const std::string_view n = w.name;
        const int p = w.parameter;
        if (firstInGroup && Destinations(n, starred)) return;
        if (state_.destination == Destination::Skip || state_.destination == Destination::Object ||
            state_.destination == Destination::FieldInstruction)
            return;
        if (state_.destination == Destination::FontTable) {
            if (n == "f") fontNumber_ = p;
            return;
        }
        if (state_.destination == Destination::ColourTable) {
            if (n == "red") colour_ = (colour_ & 0x00FFFF) | (Clamp(p, 0, 255) << 16);
            if (n == "green") colour_ = (colour_ & 0xFF00FF) | (Clamp(p, 0, 255) << 8);
            if (n == "blue") colour_ = (colour_ & 0xFFFF00) | Clamp(p, 0, 255);
            if (n == "red" || n == "green" || n == "blue") colourSet_ = true;
            return;
        }
        if (state_.destination == Destination::Picture) {
            PictureWord(n, p, w.hasParameter);
            return;
        }
        if (state_.destination == Destination::ShapeInstruction) {
            if (n == "shpleft") shapeLeft_ = p;
            if (n == "shptop") shapeTop_ = p;
            if (n == "shpright") shapeWidth_ = static_cast<int>(std::clamp<std::int64_t>(std::int64_t{p} - shapeLeft_, 0, kMaxTwips));
            if (n == "shpbottom") shapeHeight_ = static_cast<int>(std::clamp<std::int64_t>(std::int64_t{p} - shapeTop_, 0, kMaxTwips));
            return;
        }
        if (IsShapeDestination(state_.destination)) return;
        TextWord(n, p, w.hasParameter);
    }

    static std::uint32_t Clamp(int v, int lo, int hi) { return static_cast<std::uint32_t>(std::clamp(v, lo, hi)); }

    // The words that open a destination when they come first in a group; true when taken.
    bool Destinations(std::string_view n, bool starred) {
        if (state_.destination == Destination::Skip) return true;
        if (state_.destination == Destination::Object) {
            EnterDestination(n == "result" ? Destination::Text : Destination::Skip);
            return true;
        }
        if (n == "object") {
            EnterDestination(Destination::Object);
        } else if (n == "fldinst") {
            EnterDestination(Destination::FieldInstruction);
            fieldInstruction_.clear();
        } else if (n == "fldrslt") {
            EnterDestination(Destination::Text);
            state_.chars.link = std::exchange(fieldLink_, std::string());
        } else if (n == "fonttbl") {
            EnterDestination(Destination::FontTable);
        } else if (n == "colortbl") {
            EnterDestination(Destination::ColourTable);
            colour_ = 0;
            colourSet_ = false;
        } else if (n == "pict") {
            EnterDestination(Destination::Picture);
            picture_ = PictureData{};
        } else if (n == "shppict") {
            EnterDestination(Destination::ShapePicture);
            picturesBeforeShape_ = document_.pictures.size();
        } else if (n == "nonshppict") {
            // The stand-in for readers without shape pictures; used only when the shape picture
            // before it gave nothing this reader can show.
            EnterDestination(shapePictureShown_ ? Destination::Skip : Destination::FallbackPicture);
        } else if (n == "shpinst") {
            EnterDestination(Destination::ShapeInstruction);
            picturesBeforeShape_ = document_.pictures.size();
            shapeWidth_ = shapeHeight_ = 0;
        } else if (n == "sp" && state_.destination == Destination::ShapeInstruction) {
            EnterDestination(Destination::ShapeProperty);
        } else if (n == "sn" && state_.destination == Destination::ShapeProperty) {
            EnterDestination(Destination::ShapeName);
            shapeName_.clear();
        } else if (n == "sv" && state_.destination == Destination::ShapeProperty) {
            EnterDestination(shapeName_ == "pib" ? Destination::ShapeValue : Destination::Skip);
        } else if (n == "shprslt") {
            EnterDestination(shapeShown_ ? Destination::Skip : Destination::Text);
            shapeShown_ = false;
        } else if (IsShapeDestination(state_.destination)) {
            EnterDestination(Destination::Skip);
        } else if (starred || IsIgnoredDestination(n)) {
            EnterDestination(Destination::Skip);
        } else {
            return false;
        }
        return true;
    }

    static bool IsShapeDestination(Destination d) {
        return d == Destination::ShapeInstruction || d == Destination::ShapeProperty || d == Destination::ShapeName ||
               d == Destination::ShapeValue;
    }

    static bool IsIgnoredDestination(std::string_view n) {
        static constexpr std::string_view kIgnored[] = {
            "stylesheet", "info",     "header",  "headerl", "headerr",  "headerf",    "footer",
            "footerl",    "footerr",  "footerf", "footnote", "annotation", "xe",      "tc",
            "txe",        "rxe",      "private",  "datafield", "template",
            "revtbl",     "listtable", "listoverridetable", "pn",      "themedata", "colorschememapping",
        };
        return std::find(std::begin(kIgnored), std::end(kIgnored), n) != std::end(kIgnored);
    }

    void PictureWord(std::string_view n, int p, bool hasParameter) {
        if (n == "pngblip") picture_.kind = PictureKind::Png;
        else if (n == "jpegblip") picture_.kind = PictureKind::Jpeg;
        else if (n == "dibitmap") picture_.kind = PictureKind::Dib;
        else if (n == "wmetafile") picture_.kind = PictureKind::Metafile;
        else if (n == "emfblip" || n == "macpict" || n == "wbitmap" || n == "pmmetafile") picture_.kind = PictureKind::Unknown;
        else if (n == "picw") picture_.width = p;
        else if (n == "pich") picture_.height = p;
        else if (n == "picwgoal") picture_.goalWidth = p;
        else if (n == "pichgoal") picture_.goalHeight = p;
        else if (n == "picscalex" && hasParameter) picture_.scaleX = p;
        else if (n == "picscaley" && hasParameter) picture_.scaleY = p;
    }

    void TextWord(std::string_view n, int p, bool hasParameter) {
        CharFormat& cf = state_.chars;
        ParagraphFormat& pf = state_.paragraph;
        const bool on = !hasParameter || p != 0;
        if (n == "par" || n == "sect" || n == "page" || n == "row") EndParagraph();
        else if (n == "line") LineBreak();
        else if (n == "tab" || n == "cell") Emit(U'\t');
        else if (n == "pard") pf = ParagraphFormat{};
        else if (n == "plain") cf = DefaultChars();
        else if (n == "b") cf.bold = on;
        else if (n == "i") cf.italic = on;
        else if (n == "ul") cf.underline = on;
        else if (n == "ulnone") cf.underline = false;
        else if (n == "fs") cf.halfPoints = hasParameter && p > 0 ? std::min(p, 3276) : kDefaultHalfPoints;
        else if (n == "f") cf.fontFamily = FontName(p);
        else if (n == "cf") cf.colour = ColourAt(p);
        else if (n == "ql") pf.alignment = Alignment::Left;
        else if (n == "qc") pf.alignment = Alignment::Centre;
        else if (n == "qr") pf.alignment = Alignment::Right;
        else if (n == "qj") pf.alignment = Alignment::Justify;
        else if (n == "li") pf.leftIndent = p;
        else if (n == "ri") pf.rightIndent = p;
        else if (n == "fi") pf.firstLineIndent = p;
        else if (n == "sb") pf.spaceBefore = p;
        else if (n == "sa") pf.spaceAfter = p;
        else if (n == "uc") state_.unicodeSkip = std::clamp(p, 0, 16);
        else if (n == "u") Unicode(p);
        else if (n == "ansicpg") codePage_ = p;
        else if (n == "deff") defaultFont_ = p;
        else if (n == "deftab" && p > 0) document_.defaultTabTwips = std::min<int>(p, kMaxTwips);
        else if (n == "emdash") Emit(U'\u2014');
        else if (n == "endash") Emit(U'\u2013');
        else if (n == "bullet") Emit(U'\u2022');
        else if (n == "lquote") Emit(U'\u2018');
        else if (n == "rquote") Emit(U'\u2019');
        else if (n == "ldblquote") Emit(U'\u201C');
        else if (n == "rdblquote") Emit(U'\u201D');
    }

    void Unicode(int p) {
        skipChars_ = state_.unicodeSkip;
        const char32_t unit = static_cast<char32_t>(p < 0 ? p + 65536 : p) & 0xFFFF;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            highSurrogate_ = unit;
            return;
        }
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            if (highSurrogate_ != 0) Emit(0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00));
            else Emit(U'\uFFFD');
            highSurrogate_ = 0;
            return;
        }
        Emit(unit);
    }

    CharFormat DefaultChars() const {
        CharFormat cf;
        cf.fontFamily = FontName(defaultFont_);
        return cf;
    }

    std::string FontName(int number) const {
        const auto it = fonts_.find(number);
        return it == fonts_.end() ? std::string() : it->second;
    }

    std::optional<std::uint32_t> ColourAt(int index) const {
        if (index < 0 || static_cast<std::size_t>(index) >= colours_.size()) return std::nullopt;
        return colours_[static_cast<std::size_t>(index)];
    }

    void Character(std::uint8_t byte) {
        switch (state_.destination) {
            case Destination::FontTable:
                if (byte == ';') FinishFontEntry();
                else if (fontName_.size() < kMaxFontNameBytes) AppendUtf8(fontName_, DecodeCodePageByte(codePage_, byte));
                return;
            case Destination::ColourTable:
                if (byte == ';') {
                    if (colours_.size() < kMaxTableEntries)
                        colours_.push_back(colourSet_ ? std::optional<std::uint32_t>(colour_) : std::nullopt);
                    colour_ = 0;
                    colourSet_ = false;
                }
                return;
            case Destination::Picture: PictureHex(byte); return;
            case Destination::ShapeName:
                if (shapeName_.size() < kMaxFontNameBytes) shapeName_.push_back(static_cast<char>(byte));
                return;
            case Destination::FieldInstruction:
                if (fieldInstruction_.size() < kMaxFieldInstructionBytes) fieldInstruction_.push_back(static_cast<char>(byte));
                return;
            case Destination::ShapeInstruction:
            case Destination::ShapeProperty:
            case Destination::ShapeValue:
            case Destination::Object:
            case Destination::Skip: return;
            default: break;
        }
        Emit(DecodeCodePageByte(codePage_, byte));
    }

    void PictureHex(std::uint8_t byte) {
        const int digit = HexValue(static_cast<char>(byte));
        if (digit < 0) return;
        if (picture_.pendingNibble < 0) {
            picture_.pendingNibble = digit;
        } else {
            picture_.bytes.push_back(static_cast<std::uint8_t>(picture_.pendingNibble << 4 | digit));
            picture_.pendingNibble = -1;
        }
    }

    void FinishFontEntry() {
        if (!fontName_.empty() && fonts_.size() < kMaxTableEntries) {
            while (!fontName_.empty() && fontName_.back() == ' ') fontName_.pop_back();
            fonts_[fontNumber_] = fontName_;
        }
        fontName_.clear();
    }

    void FinishPicture() {
        Picture out;
        std::vector<std::uint8_t> data = std::move(picture_.bytes);
        switch (picture_.kind) {
            case PictureKind::Png: out.format = PictureFormat::Png; break;
            case PictureKind::Jpeg: out.format = PictureFormat::Jpeg; break;
            case PictureKind::Dib: {
                auto bmp = BmpFromDib(data);
                if (bmp) data = std::move(*bmp);
                else data.clear();
                out.format = PictureFormat::Bmp;
                break;
            }
            case PictureKind::Metafile: {
                auto dib = DibFromMetafile(data);
                auto bmp = dib ? BmpFromDib(*dib) : std::nullopt;
                if (bmp) data = std::move(*bmp);
                else data.clear();
                out.format = PictureFormat::Bmp;
                break;
            }
            case PictureKind::Unknown: data.clear(); break;
        }
        if (data.empty()) {
            // Shape pictures have stand-ins of their own; a plain picture that cannot be drawn
            // keeps its place as a frame.
            if (state_.destination != Destination::Text && state_.destination != Destination::FallbackPicture) return;
            out.format = PictureFormat::Placeholder;
        }
        out.data = std::move(data);
        const auto scaled = [](int goal, int scale) {
            const std::int64_t v = std::int64_t{goal} * std::clamp(scale, 1, 10000) / 100;
            return static_cast<int>(std::clamp<std::int64_t>(v, 0, std::numeric_limits<int>::max()));
        };
        out.widthTwips = picture_.goalWidth > 0 ? scaled(picture_.goalWidth, picture_.scaleX) : 0;
        out.heightTwips = picture_.goalHeight > 0 ? scaled(picture_.goalHeight, picture_.scaleY) : 0;
        if (out.format == PictureFormat::Placeholder) PlaceholderSize(out);
        // A shape's picture without a size of its own takes the shape's rectangle.
        if (state_.destination == Destination::ShapeValue && out.widthTwips == 0 && out.heightTwips == 0) {
            out.widthTwips = shapeWidth_;
            out.heightTwips = shapeHeight_;
        }
        Span span;
        span.kind = Span::Kind::Picture;
        span.format = state_.chars;
        span.picture = document_.pictures.size();
        document_.pictures.push_back(std::move(out));
        document_.paragraphs.back().spans.push_back(std::move(span));
    }

    // A frame without a goal size takes \picw and \pich: hundredths of a millimetre for
    // metafiles, pixels for bitmaps; an inch square when the file gives neither.
    void PlaceholderSize(Picture& out) const {
        const bool metric = picture_.kind == PictureKind::Unknown || picture_.kind == PictureKind::Metafile;
        const auto twips = [metric](int v) {
            const std::int64_t t = metric ? std::int64_t{v} * 1440 / 2540 : std::int64_t{v} * 15;
            return static_cast<int>(std::clamp<std::int64_t>(t, 0, kMaxTwips));
        };
        if (out.widthTwips == 0) out.widthTwips = picture_.width > 0 ? twips(picture_.width) : kPlaceholderTwips;
        if (out.heightTwips == 0) out.heightTwips = picture_.height > 0 ? twips(picture_.height) : kPlaceholderTwips;
    }

    // The target of a field instruction `HYPERLINK "target"` (or unquoted); empty for any other field.
    static std::string HyperlinkTarget(std::string_view instruction) {
        constexpr std::string_view kHyperlink = "HYPERLINK";
        const auto start = instruction.find_first_not_of(" \t");
        if (start == std::string_view::npos || instruction.substr(start, kHyperlink.size()) != kHyperlink) return {};
        std::string_view rest = instruction.substr(start + kHyperlink.size());
        const auto open = rest.find_first_not_of(" \t");
        if (open == std::string_view::npos) return {};
        rest = rest.substr(open);
        if (rest.front() == '"') {
            const auto close = rest.find('"', 1);
            return std::string(rest.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
        }
        return std::string(rest.substr(0, rest.find_first_of(" \t")));
    }

    bool InText() const {
        return state_.destination == Destination::Text || state_.destination == Destination::ShapePicture ||
               state_.destination == Destination::FallbackPicture;
    }

    void Emit(char32_t c) {
        if (!InText() || (c < 0x20 && c != U'\t')) return;
        highSurrogate_ = 0;
        auto& spans = document_.paragraphs.back().spans;
        if (spans.empty() || spans.back().kind != Span::Kind::Text || !(spans.back().format == state_.chars)) {
            Span span;
            span.format = state_.chars;
            spans.push_back(std::move(span));
        }
        AppendUtf8(spans.back().text, c);
    }

    void LineBreak() {
        if (!InText()) return;
        Span span;
        span.kind = Span::Kind::LineBreak;
        span.format = state_.chars;
        document_.paragraphs.back().spans.push_back(std::move(span));
    }

    void EndParagraph() {
        if (!InText()) return;
        document_.paragraphs.back().format = state_.paragraph;
        document_.paragraphs.emplace_back();
    }

    void FinishDocument() {
        auto& paragraphs = document_.paragraphs;
        // The \par that ends the last line opens no paragraph of its own.
        if (paragraphs.size() > 1 && paragraphs.back().spans.empty()) paragraphs.pop_back();
        else paragraphs.back().format = state_.paragraph;
    }

    std::string_view in_;
    std::size_t pos_ = 0;
    std::string fieldInstruction_;
    std::string fieldLink_;  // of the field whose instruction came last
    RichDocument document_;
    GroupState state_;
    std::vector<GroupState> stack_;
    int overflow_ = 0;  // groups opened past the depth limit and not yet closed
    bool pendingDestination_ = false;
    bool pendingStar_ = false;
    int skipChars_ = 0;
    char32_t highSurrogate_ = 0;
    int codePage_ = 1252;
    int defaultFont_ = 0;
    std::map<int, std::string> fonts_;
    int fontNumber_ = 0;
    std::string fontName_;
    std::vector<std::optional<std::uint32_t>> colours_;
    std::uint32_t colour_ = 0;
    bool colourSet_ = false;
    PictureData picture_;
    std::size_t picturesBeforeShape_ = 0;
    bool shapePictureShown_ = false;
    bool shapeShown_ = false;
    std::string shapeName_;
    int shapeLeft_ = 0;
    int shapeTop_ = 0;
    int shapeWidth_ = 0;
    int shapeHeight_ = 0;
};

RichDocument PlainText(std::string_view input) {
    RichDocument document;
    document.paragraphs.emplace_back();
    for (const char c : input) {
        if (c == '\n') {
            document.paragraphs.emplace_back();
            continue;
        }
        if (c == '\r') continue;
        auto& spans = document.paragraphs.back().spans;
        if (spans.empty()) spans.emplace_back();
        AppendUtf8(spans.back().text, DecodeCodePageByte(1252, static_cast<std::uint8_t>(c)));
    }
    return document;
}

}  // namespace

RichDocument ReadRtf(std::string_view input) {
    std::size_t start = 0;
    while (start < input.size() && (input[start] == ' ' || input[start] == '\r' || input[start] == '\n' || input[start] == '\t'))
        ++start;
    if (input.substr(start, 5) != "{\\rtf") return PlainText(input);
    return RtfParser(input.substr(start)).Run();
}

}  // namespace korvath::richtext
