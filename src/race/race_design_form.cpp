#include "race/race_design_form.h"

#include "platform/qt/form_geometry.h"

TRaceDesign::TRaceDesign(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("RaceDesign"));
    SetOuterSize(this, 640, 480);
}
