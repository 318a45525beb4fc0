#include "view/loading_form.h"

#include "platform/qt/form_geometry.h"

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Velmora"));
    SetOuterSize(this, 282, 162);
}
