#include "app/city_design_form.h"

#include "platform/qt/form_geometry.h"

TCityDesignForm::TCityDesignForm(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("CityDesignForm"));
    SetOuterSize(this, 800, 600);
}
