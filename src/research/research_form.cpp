#include "research/research_form.h"

#include "platform/qt/form_geometry.h"

TResearchForm::TResearchForm(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Research"));
    SetOuterSize(this, 800, 600);
}
