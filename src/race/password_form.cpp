#include "race/password_form.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "platform/qt/form_geometry.h"
#include "platform/qt/game_text.h"

TPasswordForm::TPasswordForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Enter Password"));
    setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 11));

    Label1 = new QLabel(QStringLiteral("Enter Password For Access..."), this);
    Label1->setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 11, true));
    Label1->move(24, 8);
    Label1->adjustSize();

    PasswordBox = new QLineEdit(this);
    PasswordBox->setGeometry(24, 24, 161, 21);
    PasswordBox->setEchoMode(QLineEdit::Password);
    // Every typed character shows as "*".
    PasswordBox->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    AcceptOnlyGameText(PasswordBox);

    OkayButton = new QPushButton(QStringLiteral("Okay"), this);
    OkayButton->setGeometry(24, 56, 75, 25);
    OkayButton->setDefault(true);

    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setGeometry(112, 56, 75, 25);
    CancelButton->setAutoDefault(false);

    setTabOrder(PasswordBox, OkayButton);
    setTabOrder(OkayButton, CancelButton);

    connect(OkayButton, &QPushButton::clicked, this, &TPasswordForm::OkayButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TPasswordForm::CancelButtonClick);

    SetOuterSize(this, 216, 123);
    CentreOnDesktop(this);
}

void TPasswordForm::SetPasswordCheck(std::function<bool(const std::string&)> accept) {
    accept_ = std::move(accept);
}

void TPasswordForm::showEvent(QShowEvent* event) {
    PasswordBox->clear();
    PasswordAccepted = 0;
    QDialog::showEvent(event);
    PasswordBox->setFocus(Qt::OtherFocusReason);
}

void TPasswordForm::OkayButtonClick() {
    // Race texts are stored in Windows-1252, so the typed text is compared in that form.
    const std::string typed = ToGameText(PasswordBox->text());
    if (!accept_ || !accept_(typed))
        return;
    PasswordAccepted = 1;
    accept();
}

void TPasswordForm::CancelButtonClick() {
    reject();
}

void TPasswordForm::reject() {
    PasswordAccepted = 0;
    QDialog::reject();
}

bool AskPasswordWithForm(TPasswordForm& form,
                         const std::function<bool(const std::string&)>& accept) {
    form.SetPasswordCheck(accept);
    form.exec();
    form.SetPasswordCheck(nullptr);
    return form.PasswordAccepted == 1;
}
