#include "app/version_history_form.h"

#include "platform/qt/form_geometry.h"

TVersionHistoryForm::TVersionHistoryForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Velmora Version History"));
    SetOuterSize(this, 435, 300);
}
