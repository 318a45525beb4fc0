#include "view/main_screen_form.h"

#include "platform/qt/form_geometry.h"

TMain_ScreenForm::TMain_ScreenForm(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Velmora - Orbalune  (Pre-Alpha)"));
    SetOuterSize(this, 808, 589);
}
