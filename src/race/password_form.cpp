#include "race/password_form.h"

#include "platform/qt/form_geometry.h"

TPasswordForm::TPasswordForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Enter Password"));
    SetOuterSize(this, 216, 123);
}
