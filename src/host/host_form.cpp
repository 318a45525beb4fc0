#include "host/host_form.h"

#include "platform/qt/form_geometry.h"

THostForm::THostForm(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Host Functions"));
    SetOuterSize(this, 435, 300);
}
