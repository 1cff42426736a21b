#pragma once
// Turns the reader's rich-text model into a QTextDocument: formats, indents and spacing in
// twips become logical pixels, pictures become image resources of the document.

#include "richtext/rich_text.h"

class QTextDocument;

namespace korvath::ui {

// Replaces the document's content. Pictures that cannot be decoded are left out.
void FillTextDocument(QTextDocument& document, const richtext::RichDocument& rich);

// Twips (1/1440 inch) to logical pixels at 96 per inch, bounded to what a page can use.
double TwipsToPixels(int twips);

}  // namespace korvath::ui
