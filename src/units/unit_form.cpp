#include "units/unit_form.h"

#include "platform/qt/form_geometry.h"

TUnitForm::TUnitForm(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Unit Inspector"));
    SetOuterSize(this, 800, 600);
}
