#include "ui/dialogs/startdlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "platform/settings_keys.h"
#include "ui/dialogs/dialog_icons.h"
#include "ui/dialogs/dialog_layout.h"
#include "ui/dialogs/dialog_texts.h"

namespace korvath::ui {
namespace {

QString Text(const char* text) { return QString::fromUtf8(text); }

QLabel* MakeText(QWidget* parent, const char* text, const QRect& geometry) {
    auto* label = new QLabel(Text(text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}


void PlacePicture(QWidget* parent, QPixmap (*draw)(int), const QRect& rect) {
    auto* picture = new QLabel(parent);
    const int side = std::min(rect.width(), rect.height());
    picture->setPixmap(draw(side));
    picture->setGeometry(rect.x(), rect.y(), side, side);
}

}  // namespace

CStartDlg::CStartDlg(SettingsStore& settings, QWidget* parent) : CStartupBox(settings, settings::kStartBox, parent) {
    setObjectName(QStringLiteral("StartBox"));
    setWindowTitle(Text(dialog_texts::kStartCaption));
    const DialogUnits du(font());
    SetTemplateSize(this, du, 275, 177);

    auto* ok = new QPushButton(Text(dialog_texts::kOkButton), this);
    PlaceControl(ok, du, 218, 7, 50, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CStartDlg::accept);

    introText_ = MakeText(this, dialog_texts::kStartIntro, du.Rect(7, 7, 203, 53));
    introText_->setObjectName(QStringLiteral("introText"));
    MakeText(this, dialog_texts::kStartOpenText, du.Rect(7, 64, 195, 36));
    PlacePicture(this, &DrawOpenFilePicture, du.Rect(219, 63, 21, 20));
    MakeText(this, dialog_texts::kStartNewText, du.Rect(7, 100, 196, 50));
    PlacePicture(this, &DrawNewFilePicture, du.Rect(219, 104, 21, 20));
    MakeShowCheck(du.Rect(7, 158, 261, 12));
    ok->setFocus();
}

}  // namespace korvath::ui
