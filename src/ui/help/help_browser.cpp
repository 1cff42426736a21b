#include "ui/help/help_browser.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/program_relative_path.h"
#include "richtext/rtf_reader.h"
#include "ui/help/help_texts.h"
#include "ui/help/rich_text_document.h"

namespace korvath::ui {
namespace {

QString Text(const char* text) { return QString::fromUtf8(text); }

// The topic a link leads to: relative to the folder of the topic it is in.
std::string LinkedTopic(const std::string& from, const std::string& link) {
    const auto slash = from.find_last_of('/');
    return slash == std::string::npos ? link : from.substr(0, slash + 1) + link;
}

richtext::RichDocument ReadTopic(const std::string& path, QString& why) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        why = file.exists() ? file.errorString() : Text(help_texts::kNoSuchTopic);
        return {};
    }
    const QByteArray content = file.readAll();
    return richtext::ReadRtf(std::string_view(content.constData(), static_cast<std::size_t>(content.size())));
}

}  // namespace

HelpBrowser::HelpBrowser(std::string programDirectory, QWidget* parent)
    : QWidget(parent, Qt::Window), programDirectory_(std::move(programDirectory)) {
    setObjectName(QStringLiteral("HelpTopics"));
    setWindowTitle(Text(help_texts::kTopicsTitle));
    back_ = new QPushButton(Text(help_texts::kBack), this);
    forward_ = new QPushButton(Text(help_texts::kForward), this);
    auto* findLabel = new QLabel(Text(help_texts::kFindLabel), this);
    find_ = new QLineEdit(this);
    find_->setAccessibleName(Text(help_texts::kFindName));
    findLabel->setBuddy(find_);
    auto* findNext = new QPushButton(Text(help_texts::kFindNext), this);
    message_ = new QLabel(this);
    contents_ = new QListWidget(this);
    contents_->setAccessibleName(Text(help_texts::kContentsName));
    contents_->setWordWrap(true);
    text_ = new QTextBrowser(this);
    text_->setAccessibleName(Text(help_texts::kTopicName));
    // Links are followed here, between help topics; nothing is handed to other programs.
    text_->setOpenLinks(false);

    auto* bar = new QHBoxLayout;
    bar->addWidget(back_);
    bar->addWidget(forward_);
    bar->addSpacing(12);
    bar->addWidget(findLabel);
    bar->addWidget(find_, 1);
    bar->addWidget(findNext);
    bar->addWidget(message_);
    auto* split = new QSplitter(this);
    split->addWidget(contents_);
    split->addWidget(text_);
    split->setStretchFactor(1, 1);
    split->setSizes({240, 520});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(split, 1);
    resize(800, 560);

    connect(back_, &QPushButton::clicked, this, &HelpBrowser::GoBack);
    connect(forward_, &QPushButton::clicked, this, &HelpBrowser::GoForward);
    connect(findNext, &QPushButton::clicked, this, [this] { FindNext(find_->text()); });
    connect(find_, &QLineEdit::returnPressed, this, [this] { FindNext(find_->text()); });
    connect(text_, &QTextBrowser::anchorClicked, this, &HelpBrowser::FollowLink);
    connect(contents_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        OpenTopic(item->data(Qt::UserRole).toString().toStdString());
    });
    connect(contents_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        OpenTopic(item->data(Qt::UserRole).toString().toStdString());
    });
    FillContents();
    UpdateButtons();
}

void HelpBrowser::FillContents() {
    contents_->clear();
    const std::string contentsTopic = help_texts::kContentsTopic;
    auto* top = new QListWidgetItem(Text(help_texts::kContentsEntry), contents_);
    top->setData(Qt::UserRole, QString::fromStdString(contentsTopic));
    const auto path = ResolveProgramRelativePath(programDirectory_, contentsTopic);
    if (!path) return;
    QString why;
    for (const richtext::TopicLink& link : richtext::LinksOf(ReadTopic(*path, why))) {
        auto* item = new QListWidgetItem(QString::fromStdString(link.text), contents_);
        item->setData(Qt::UserRole, QString::fromStdString(LinkedTopic(contentsTopic, link.target)));
    }
}

bool HelpBrowser::OpenTopic(const std::string& topic) {
    if (!Show(topic)) return false;
    history_.Visit(topic);
    UpdateButtons();
    return true;
}

void HelpBrowser::GoBack() {
    if (history_.CanGoBack()) Show(history_.Back());
    UpdateButtons();
}

void HelpBrowser::GoForward() {
    if (history_.CanGoForward()) Show(history_.Forward());
    UpdateButtons();
}

bool HelpBrowser::Show(const std::string& topic) {
    message_->clear();
    const auto path = ResolveProgramRelativePath(programDirectory_, topic);
    QString why = Text(help_texts::kNoSuchTopic);
    const richtext::RichDocument document = path ? ReadTopic(*path, why) : richtext::RichDocument{};
    if (document.paragraphs.empty()) {
        message_->setText(QString::fromUtf8(help_texts::kTopicNotShown).arg(QString::fromStdString(topic), why));
        return false;
    }
    FillTextDocument(*text_->document(), document);
    text_->moveCursor(QTextCursor::Start);
    // The contents list follows the topic shown.
    for (int i = 0; i < contents_->count(); ++i) {
        if (contents_->item(i)->data(Qt::UserRole).toString().toStdString() == topic) {
            const QSignalBlocker quiet(contents_);
            contents_->setCurrentRow(i);
        }
    }
    return true;
}

void HelpBrowser::FollowLink(const QUrl& link) {
    const std::string target = link.toString(QUrl::PreferLocalFile).toStdString();
    if (!target.empty()) OpenTopic(LinkedTopic(history_.current(), target));
}

bool HelpBrowser::FindNext(const QString& text) {
    message_->clear();
    if (text.isEmpty()) return false;
    if (text_->find(text)) return true;
    // From the top again.
    text_->moveCursor(QTextCursor::Start);
    if (text_->find(text)) return true;
    message_->setText(QString::fromUtf8(help_texts::kNotFoundInTopic).arg(text));
    return false;
}

void HelpBrowser::UpdateButtons() {
    back_->setEnabled(history_.CanGoBack());
    forward_->setEnabled(history_.CanGoForward());
}

}  // namespace korvath::ui
