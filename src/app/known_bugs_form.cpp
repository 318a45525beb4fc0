#include "app/known_bugs_form.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include "app/text_window_layout.h"
#include "data/info_texts.h"

TKnownBugsForm::TKnownBugsForm(QWidget* parent) : QDialog(parent) {
    LayOutTextWindow(this, QStringLiteral("Known Bugs"), 217, 125);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    PlaceTextBox(Memo1);
    Memo1->setReadOnly(true);
    Memo1->setPlainText(TextOfLines(KnownBugsLines()));

    Button1 = MakeCloseButton(this);
    connect(Button1, &QPushButton::clicked, this, &TKnownBugsForm::Button1Click);
}

void TKnownBugsForm::Button1Click() {
    close();
}
