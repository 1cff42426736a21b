#include "ui/tools/restore_points_tool.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "document/qrndoc.h"
#include "platform/message_style.h"
#include "platform/settings_keys.h"
#include "platform/settings_store.h"
#include "ui/tools/compare_tool.h"
#include "ui/tools/tools_menu.h"
#include "ui/tools/tools_texts.h"

namespace korvath::ui {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

RestorePointsTool::RestorePointsTool(QMainWindow& frame, CQRNDoc& doc, SettingsStore& settings, ToolsMenu& menu,
                                     CompareTool& compare, RestorePointActions actions)
    : QObject(&menu),
      frame_(frame),
      doc_(doc),
      settings_(settings),
      compare_(compare),
      actions_(std::move(actions)),
      keeper_(
          store_, [this](const RestorePointInfo&) { if (dialog_ && dialog_->isVisible()) Fill(); },
          [&doc](const std::string& why) { doc.host().status.ShowNotice(why); }) {
    doc_.SetRestorePointSink(&keeper_);
    listAction_ = menu.AddItem(texts::kRestorePointsItem, texts::kRestorePointsStatus, [this] { ShowList(); }, true);
    listAction_->setObjectName(QStringLiteral("RestorePoints"));
    readFlashFirstAction_ = menu.AddItem(texts::kReadFlashFirstItem, texts::kReadFlashFirstStatus,
                                         [this] { SetReadFlashFirst(readFlashFirstAction_->isChecked()); });
    readFlashFirstAction_->setObjectName(QStringLiteral("ReadFlashTableBeforeWriting"));
    readFlashFirstAction_->setCheckable(true);
    const bool on = settings_.GetInt(settings::kRestorePoints, settings::kReadFlashTableBeforeWriting,
                                     settings::kReadFlashTableBeforeWritingDefault) != 0;
    readFlashFirstAction_->setChecked(on);
    doc_.SetReadFlashTableBeforeWriting(on);
}

RestorePointsTool::~RestorePointsTool() { doc_.SetRestorePointSink(nullptr); }

void RestorePointsTool::SetReadFlashFirst(bool on) {
    readFlashFirstAction_->setChecked(on);
    doc_.SetReadFlashTableBeforeWriting(on);
    settings_.SetInt(settings::kRestorePoints, settings::kReadFlashTableBeforeWriting, on ? 1 : 0);
}

void RestorePointsTool::ShowList() {
    if (!dialog_) {
        dialog_ = new QDialog(&frame_);
        dialog_->setObjectName(QStringLiteral("RestorePointsDialog"));
        dialog_->setWindowTitle(QString::fromUtf8(texts::kRestorePointsTitle));
        auto* layout = new QVBoxLayout(dialog_);
        list_ = new QTreeWidget(dialog_);
        list_->setObjectName(QStringLiteral("RestorePointList"));
        list_->setAccessibleName(QString::fromUtf8(texts::kRestorePointsListName));
        list_->setRootIsDecorated(false);
        list_->setSelectionMode(QAbstractItemView::SingleSelection);
        QStringList headers;
        for (const char* column : texts::kRestorePointColumns) headers << QString::fromUtf8(column);
        list_->setHeaderLabels(headers);
        layout->addWidget(list_);
        empty_ = new QLabel(dialog_);
        layout->addWidget(empty_);
        auto* buttons = new QDialogButtonBox(dialog_);
        auto add = [&](const char* text, void (RestorePointsTool::*run)()) {
            QPushButton* b = buttons->addButton(QString::fromUtf8(text), QDialogButtonBox::ActionRole);
            b->setAccessibleName(QString(QString::fromUtf8(text)).remove(QLatin1Char('&')));
            connect(b, &QPushButton::clicked, this, run);
            pointButtons_.push_back(b);
        };
        add(texts::kOpenPoint, &RestorePointsTool::OpenSelected);
        add(texts::kComparePoint, &RestorePointsTool::CompareSelected);
        add(texts::kWriteBackPoint, &RestorePointsTool::WriteBackSelected);
        QPushButton* close = buttons->addButton(QString::fromUtf8(texts::kClosePoints), QDialogButtonBox::RejectRole);
        close->setAccessibleName(QString::fromUtf8(texts::kClosePoints));
        connect(buttons, &QDialogButtonBox::rejected, dialog_, &QDialog::reject);
        layout->addWidget(buttons);
        connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] {
            for (QPushButton* b : pointButtons_) b->setEnabled(Selected().has_value());
        });
        connect(list_, &QTreeWidget::itemActivated, this, [this] { OpenSelected(); });
        dialog_->resize(900, 360);
    }
    Fill();
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

void RestorePointsTool::Fill() {
    shown_ = store_.List();  // newest first
    list_->clear();
    for (const RestorePointInfo& p : shown_) {
        auto* item = new QTreeWidgetItem(list_, QStringList{Text(p.time), Text(ControllerText(p.controller)),
                                                            QString::number(p.table), Text(ReasonText(p)),
                                                            Text(p.definition), Text(p.transmission)});
        item->setToolTip(0, Text(p.path));
    }
    for (int c = 0; c < list_->columnCount(); ++c) list_->resizeColumnToContents(c);
    if (!shown_.empty()) list_->setCurrentItem(list_->topLevelItem(0));
    empty_->setText(shown_.empty() ? QString::fromUtf8(texts::kNoRestorePointsFormat).arg(Text(store_.directory()))
                                   : QString());
    empty_->setVisible(shown_.empty());
    for (QPushButton* b : pointButtons_) b->setEnabled(Selected().has_value());
}

std::optional<RestorePointInfo> RestorePointsTool::Selected() const {
    if (!list_) return std::nullopt;
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    if (row < 0 || static_cast<std::size_t>(row) >= shown_.size()) return std::nullopt;
    return shown_[static_cast<std::size_t>(row)];
}

void RestorePointsTool::OpenSelected() {
    if (const auto p = Selected()) actions_.open(Text(p->path));
}

void RestorePointsTool::CompareSelected() {
    if (const auto p = Selected()) compare_.StartComparing(Text(p->path));
}

void RestorePointsTool::WriteBackSelected() {
    const auto p = Selected();
    if (!p) return;
    using namespace MessageStyle;
    if (!actions_.connected()) {
        doc_.ShowMessage(texts::kWriteBackNoController, texts::kWriteBackCaption, IconExclamation);
        return;
    }
    if (doc_.ShowMessage(WriteBackQuestion(*p, p->table), texts::kWriteBackCaption, YesNo | IconQuestion) !=
        MessageResult::Yes)
        return;
    if (!actions_.open(Text(p->path))) return;
    // A flash table is written in whole blocks: only a whole one can go back.
    if (!p->complete() && doc_.layout().NVMType != 0) {
        doc_.ShowMessage(texts::kWriteBackIncompleteFlash, texts::kWriteBackCaption, IconExclamation);
        return;
    }
    doc_.OnSelectTable(p->table - 1);
    doc_.SetImageToWrite(p->image, p->knownBytes);
    actions_.write();
    // A Write that did not run (the link went away meanwhile) must not leave the image behind
    // for the next one.
    doc_.SetImageToWrite({}, 0);
}

}  // namespace korvath::ui
