#include "app/credits_form.h"

#include "platform/qt/form_geometry.h"

TCreditsForm::TCreditsForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Velmora - Orbalune - Credits"));
    SetOuterSize(this, 435, 300);
}
