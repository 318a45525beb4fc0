#include "app/version_history_form.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include "app/text_window_layout.h"
#include "data/info_texts.h"

TVersionHistoryForm::TVersionHistoryForm(QWidget* parent) : QDialog(parent) {
    LayOutTextWindow(this, QStringLiteral("Velmora Version History"), 200, 108);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    PlaceTextBox(Memo1);
    Memo1->setReadOnly(true);
    Memo1->setPlainText(TextOfLines(VersionHistoryLines()));

    Button1 = MakeCloseButton(this);
    connect(Button1, &QPushButton::clicked, this, &TVersionHistoryForm::Button1Click);
}

void TVersionHistoryForm::Button1Click() {
    close();
}
