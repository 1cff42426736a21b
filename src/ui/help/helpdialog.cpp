#include "ui/help/helpdialog.h"

#include <QFile>
#include <QPushButton>
#include <QResizeEvent>

#include "platform/message_style.h"
#include "ui/app/app_texts.h"
#include "ui/app/qt_hosts.h"
#include "ui/dialogs/dialog_icons.h"
#include "ui/dialogs/dialog_layout.h"
#include "ui/help/help_texts.h"
#include "ui/help/olericheditctrl.h"

namespace korvath::ui {
namespace {

LayoutRect FromQRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }
QRect ToQRect(const LayoutRect& r) { return {r.x, r.y, r.width, r.height}; }

}  // namespace

QString TopicNotFoundText(const QString& path) { return QString::fromUtf8(help_texts::kFileNotFound).arg(path); }

CHelpDialog::CHelpDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QString::fromUtf8(help_texts::kViewerTitle));
    setWindowIcon(ProgramIcon());
    setModal(false);
    setSizeGripEnabled(true);

    const DialogUnits du(font());
    text_ = new COleRichEditCtrl(this);
    text_->setObjectName(QStringLiteral("helpText"));
    text_->setAccessibleName(QString::fromUtf8(help_texts::kViewerTitle));
    PlaceControl(text_, du, 7, 7, 522, 344);
    done_ = new QPushButton(QString::fromUtf8(help_texts::kDoneButton), this);
    PlaceControl(done_, du, 479, 353, 50, 14);
    done_->setDefault(true);
    connect(done_, &QPushButton::clicked, this, &CHelpDialog::accept);

    // The template's layout gives the distances that every later size keeps.
    const QSize client = du.Size(536, 374);
    margins_ = MeasureHelpViewer(client.width(), client.height(), FromQRect(text_->geometry()), FromQRect(done_->geometry()));
    resize(client);
}

void CHelpDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const HelpViewerLayout layout =
        LayOutHelpViewer(event->size().width(), event->size().height(), margins_, done_->width(), done_->height());
    text_->setGeometry(ToQRect(layout.text));
    done_->setGeometry(ToQRect(layout.button));
}

void CHelpDialog::ShowNotFound(const QString& path) {
    text_->clear();
    // The file error names the file, captioned like every message of the program.
    ShowMessageBox(this, TopicNotFoundText(path), QString::fromUtf8(texts::kAppTitle), MessageStyle::IconExclamation);
}

bool CHelpDialog::ShowTopic(const QString& path) {
    text_->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!file.exists()) {
            ShowNotFound(path);
            return false;
        }
        // There but unreadable (permissions, a folder): "not found" would send the user looking
        // for a file that is right there.
        ShowMessageBox(this, QString::fromUtf8(help_texts::kFileNotOpened).arg(path, file.errorString()),
                       QString::fromUtf8(texts::kAppTitle), MessageStyle::IconExclamation);
        return false;
    }
    const QByteArray content = file.readAll();
    text_->SetRtf(std::string_view(content.constData(), static_cast<std::size_t>(content.size())));
    return true;
}

}  // namespace korvath::ui
