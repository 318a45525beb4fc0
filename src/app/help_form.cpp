#include "app/help_form.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include "platform/os/file_lookup.h"
#include "platform/os/ui_shell.h"

namespace {

constexpr int kAnchorRole = Qt::UserRole;

// The first anchor name found in a block, or an empty text.
QString BlockAnchor(const QTextBlock& block) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QStringList names = it.fragment().charFormat().anchorNames();
        if (!names.isEmpty())
            return names.front();
    }
    return {};
}

}  // namespace

THelpForm::THelpForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Tarrowind Help"));
    resize(760, 540);

    ContentsList = new QListWidget(this);
    ContentsList->setMaximumWidth(220);
    SearchEdit = new QLineEdit(this);
    SearchEdit->setPlaceholderText(QStringLiteral("Search"));
    SearchEdit->setClearButtonEnabled(true);
    HelpBrowser = new QTextBrowser(this);
    HelpBrowser->setOpenLinks(true);
    HelpBrowser->setOpenExternalLinks(false);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Contents"), this));
    left->addWidget(ContentsList, 1);
    left->addWidget(new QLabel(QStringLiteral("Find"), this));
    left->addWidget(SearchEdit);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(HelpBrowser, 1);

    connect(ContentsList, &QListWidget::currentRowChanged, this, &THelpForm::ShowSection);
    connect(ContentsList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ShowSection(ContentsList->row(item)); });
    connect(SearchEdit, &QLineEdit::textEdited, this, &THelpForm::SearchEditEdited);
    connect(SearchEdit, &QLineEdit::returnPressed, this, [this] { FindNext(SearchEdit->text()); });
}

bool THelpForm::LoadDocument() {
    QFile file(QString::fromStdString(ResolvePath(kHelpFilePath)));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray html = file.readAll();
    HelpBrowser->setHtml(QString::fromUtf8(html));
    FillContents();
    return true;
}

void THelpForm::FillContents() {
    ContentsList->clear();
    const QTextDocument* document = HelpBrowser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() != 2)
            continue;
        const QString anchor = BlockAnchor(block);
        if (anchor.isEmpty())
            continue;
        auto* item = new QListWidgetItem(block.text().trimmed(), ContentsList);
        item->setData(kAnchorRole, anchor);
    }
}

void THelpForm::ShowSection(int row) {
    const QListWidgetItem* item = ContentsList->item(row);
    if (item == nullptr)
        return;
    HelpBrowser->scrollToAnchor(item->data(kAnchorRole).toString());
}

bool THelpForm::FindNext(const QString& text) {
    if (text.isEmpty())
        return false;
    if (HelpBrowser->find(text))
        return true;
    // Nothing further down: try again from the top.
    QTextCursor cursor = HelpBrowser->textCursor();
    cursor.movePosition(QTextCursor::Start);
    HelpBrowser->setTextCursor(cursor);
    return HelpBrowser->find(text);
}

void THelpForm::SearchEditEdited(const QString& text) {
    // While typing, the match grows from where it began rather than jumping ahead.
    QTextCursor cursor = HelpBrowser->textCursor();
    cursor.setPosition(cursor.selectionStart());
    HelpBrowser->setTextCursor(cursor);
    FindNext(text);
}

void ShowHelpWindow(THelpForm*& window, QWidget* owner) {
    if (window == nullptr) {
        auto* built = new THelpForm(owner);
        if (!built->LoadDocument()) {
            delete built;
            Shell().ShowMessage("The help file HelpFile\\Tarrowind Help.html could not be found.",
                                "Help");
            return;
        }
        window = built;
    }
    window->show();
    window->raise();
    window->activateWindow();
}
