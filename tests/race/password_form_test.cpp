#include "race/password_form.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/qt/form_geometry.h"

namespace {

class PasswordPrompt : public ::testing::Test {
protected:
    TPasswordForm form;
    int checks = 0;

    void SetUp() override {
        form.SetPasswordCheck([this](const std::string& typed) {
            ++checks;
            return typed == "Secret";
        });
    }
    void Type(const QString& text) {
        form.PasswordBox->clear();
        QTest::keyClicks(form.PasswordBox, text);
    }
};

TEST_F(PasswordPrompt, LayoutAndOpeningEmptyFocusedAndMasked) {
    EXPECT_EQ(form.windowTitle(), "Enter Password");
    EXPECT_EQ(form.size(), QSize(216 - kFrameWidth, 123 - kFrameHeight));
    EXPECT_EQ(form.font().family(), "MS Sans Serif");
    EXPECT_EQ(form.font().pixelSize(), 11);
    EXPECT_EQ(form.Label1->text(), "Enter Password For Access...");
    EXPECT_TRUE(form.Label1->font().bold());
    EXPECT_EQ(form.Label1->pos(), QPoint(24, 8));
    EXPECT_EQ(form.PasswordBox->geometry(), QRect(24, 24, 161, 21));
    EXPECT_EQ(form.OkayButton->geometry(), QRect(24, 56, 75, 25));
    EXPECT_EQ(form.CancelButton->geometry(), QRect(112, 56, 75, 25));
    EXPECT_EQ(form.OkayButton->text() + form.CancelButton->text(), "OkayCancel");

    form.PasswordBox->setText("left over");
    form.PasswordAccepted = 1;
    form.open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    EXPECT_TRUE(form.PasswordBox->text().isEmpty());
    EXPECT_EQ(form.PasswordAccepted, 0);
    EXPECT_EQ(QApplication::focusWidget(), form.PasswordBox);
    Type("abc");
    EXPECT_EQ(form.PasswordBox->displayText(), "***");
}

TEST_F(PasswordPrompt, WrongPasswordKeepsItOpenRightOneAccepts) {
    form.open();
    Type("secret");  // letter case counts
    QTest::mouseClick(form.OkayButton, Qt::LeftButton);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.PasswordAccepted, 0);

    Type("Secret");
    QTest::keyClick(form.PasswordBox, Qt::Key_Return);  // Enter presses "Okay"
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.PasswordAccepted, 1);
    EXPECT_EQ(checks, 2);
}

TEST_F(PasswordPrompt, CancelEscapeAndCloseBoxGiveZero) {
    form.open();
    Type("Secret");
    QTest::mouseClick(form.CancelButton, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.PasswordAccepted, 0);

    form.open();
    QTest::keyClick(form.PasswordBox, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());

    form.open();
    Type("Secret");
    form.close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.PasswordAccepted, 0);
    EXPECT_EQ(checks, 0);
}

TEST(AskPasswordWithForm, RunsModallyUntilAnswered) {
    TPasswordForm form;
    auto accept = [](const std::string& typed) { return typed == "pw"; };
    QTimer::singleShot(0, &form, [&form] {
        QTest::keyClicks(form.PasswordBox, "no");
        form.OkayButton->click();
        form.PasswordBox->setText("pw");
        form.OkayButton->click();
    });
    EXPECT_TRUE(AskPasswordWithForm(form, accept));

    QTimer::singleShot(0, &form, [&form] { form.CancelButton->click(); });
    EXPECT_FALSE(AskPasswordWithForm(form, accept));
}

}  // namespace
