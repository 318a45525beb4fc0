#include "creation/new_game_form.h"

#include "platform/qt/form_geometry.h"

TNewGameForm::TNewGameForm(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("New Game"));
    SetOuterSize(this, 808, 500);
}
