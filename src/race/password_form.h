#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;

// The password prompt: asks for a race's password before a protected race file is loaded.
// "Okay" closes it only when the typed text is accepted; "Cancel", Escape or the close box
// end it unaccepted. A wrong password is not reported: the prompt simply stays open.
class TPasswordForm : public QDialog {
    Q_OBJECT

public:
    explicit TPasswordForm(QWidget* parent = nullptr);

    // Decides whether a typed text is the password (compared exactly, letter case
    // included, by the caller's function). Without one nothing is accepted.
    void SetPasswordCheck(std::function<bool(const std::string&)> accept);

    QLabel* Label1 = nullptr;
    QLineEdit* PasswordBox = nullptr;
    QPushButton* OkayButton = nullptr;
    QPushButton* CancelButton = nullptr;

    // 1 when the prompt closed on an accepted password, otherwise 0.
    uint8_t PasswordAccepted = 0;

    void OkayButtonClick();
    void CancelButtonClick();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::function<bool(const std::string&)> accept_;
};

// Shows the prompt modally with this check and tells whether it closed accepted. The
// application installs it as the Qt shell's password prompt.
bool AskPasswordWithForm(TPasswordForm& form,
                         const std::function<bool(const std::string&)>& accept);
