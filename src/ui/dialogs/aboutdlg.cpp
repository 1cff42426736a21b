#include "ui/dialogs/aboutdlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <cstdio>

#include "platform/settings_keys.h"
#include "document/version.h"
#include "ui/dialogs/dialog_icons.h"
#include "ui/dialogs/dialog_layout.h"
#include "ui/dialogs/dialog_texts.h"

namespace korvath::ui {
namespace {

QString Text(const char* text) { return QString::fromUtf8(text); }

QLabel* MakeText(QWidget* parent, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

}  // namespace

QString CAboutDlg::VersionLine(char packageRevision) {
    const unsigned char letter = static_cast<unsigned char>(packageRevision);
    const int shown = (letter > 0x20 && letter < 0x7F) ? letter : 0;
    char line[96];
    std::snprintf(line, sizeof line, dialog_texts::kVersionFormat, kProgramVersionMajor, kProgramVersionMinor, shown);
    // A letter of 0 ends the text after the version number.
    return QString::fromLatin1(line);
}

QString CAboutDlg::NoticeText() {
    return Text(dialog_texts::kSafetyWarning) + QStringLiteral("\n\n") + Text(dialog_texts::kLegalNotice) +
           QStringLiteral("\n\n") + Text(dialog_texts::kDisclaimer);
}

CAboutDlg::CAboutDlg(SettingsStore& settings, char packageRevision, QWidget* parent)
    : CStartupBox(settings, settings::kAboutBox, parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(Text(dialog_texts::kAboutCaption));
    const DialogUnits du(font());
    SetTemplateSize(this, du, 336, 178);

    auto* icon = new QLabel(this);
    const QRect iconRect = du.Rect(13, 13, 20, 20);
    const int side = std::min(iconRect.width(), iconRect.height());
    icon->setPixmap(DrawProgramIcon(side));
    icon->setGeometry(iconRect.x(), iconRect.y(), side, side);

    versionText_ = MakeText(this, VersionLine(packageRevision), du.Rect(40, 10, 175, 8));
    versionText_->setWordWrap(false);
    versionText_->setObjectName(QStringLiteral("versionText"));
    MakeText(this, Text(dialog_texts::kRightsNotice), du.Rect(40, 25, 217, 18));

    auto* ok = new QPushButton(Text(dialog_texts::kOkButton), this);
    PlaceControl(ok, du, 297, 7, 32, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CAboutDlg::accept);

    noticeText_ = MakeText(this, NoticeText(), du.Rect(7, 51, 322, 106));
    noticeText_->setObjectName(QStringLiteral("noticeText"));
    MakeShowCheck(du.Rect(7, 159, 322, 12));
    ok->setFocus();
}

}  // namespace korvath::ui
