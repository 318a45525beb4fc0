#include "app/credits_form.h"

#include <QPushButton>
#include <QTextEdit>

#include "app/text_window_layout.h"
#include "data/info_texts.h"

TCreditsForm::TCreditsForm(QWidget* parent) : QDialog(parent) {
    LayOutTextWindow(this, QStringLiteral("Velmora - Orbalune - Credits"), 200, 108);

    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    PlaceTextBox(RichEdit1);
    RichEdit1->setReadOnly(true);
    RichEdit1->setPlainText(TextOfLines(CreditsLines()));

    Button1 = MakeCloseButton(this);
    connect(Button1, &QPushButton::clicked, this, &TCreditsForm::Button1Click);
}

void TCreditsForm::Button1Click() {
    close();
}
