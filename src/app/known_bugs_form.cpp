#include "app/known_bugs_form.h"

#include "platform/qt/form_geometry.h"

TKnownBugsForm::TKnownBugsForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Known Bugs"));
    SetOuterSize(this, 435, 300);
}
