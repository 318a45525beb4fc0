#include "app/game_options_form.h"

#include "platform/qt/form_geometry.h"

TGameOptionsForm::TGameOptionsForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("GameOptionsForm"));
    SetOuterSize(this, 544, 375);
}
