#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;

// The help window: the contents of the help document in a list, a search field and the
// document itself. It is not one of the program's fixed screens; it is built the first time
// help is asked for and kept until its owner goes.
class THelpForm : public QWidget {
    Q_OBJECT

public:
    explicit THelpForm(QWidget* parent = nullptr);

    QListWidget* ContentsList = nullptr;
    QLineEdit* SearchEdit = nullptr;
    QTextBrowser* HelpBrowser = nullptr;

    // Reads the help document from the run folder and fills the contents list with its
    // sections. False, with nothing changed, when the file cannot be read.
    bool LoadDocument();

    // Selects the next occurrence of `text` after the current selection, case-insensitive,
    // starting again at the top when the end is reached. False when the text occurs nowhere.
    bool FindNext(const QString& text);

    // Scrolls the document to the section of the contents list's row.
    void ShowSection(int row);

private:
    void SearchEditEdited(const QString& text);
    void FillContents();
};

// The help document's path as the game names it.
inline constexpr const char* kHelpFilePath = "HelpFile\\Tarrowind Help.html";

// Shows the help window kept in `window`, building it under `owner` on first use. When the
// help file is missing the user is told so and no window is shown.
void ShowHelpWindow(THelpForm*& window, QWidget* owner);
