#include "view/loading_form.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/os/ui_shell.h"
#include "platform/qt/form_geometry.h"

TNeedleGauge::TNeedleGauge(QWidget* parent) : QWidget(parent) {}

void TNeedleGauge::SetProgress(int value) {
    value = std::clamp(value, minValue_, maxValue_);
    if (value == progress_)
        return;
    progress_ = value;
    // The gauge advances while the program is busy building the map and handles no
    // events, so a repaint that waited for the event loop would show only the end.
    repaint();
}

int TNeedleGauge::PercentDone() const {
    if (maxValue_ <= minValue_)
        return 100;
    return (progress_ - minValue_) * 100 / (maxValue_ - minValue_);
}

void TNeedleGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    // The dial is a half disc standing on the widget's lower part; no border around it.
    const double w = width();
    const double h = height();
    const double radius = std::max(4.0, std::min(w / 2.0 - 2.0, h - 6.0));
    const QPointF hub(w / 2.0, radius + 2.0);

    QPainterPath face;
    face.moveTo(hub);
    face.arcTo(QRectF(hub.x() - radius, hub.y() - radius, 2 * radius, 2 * radius), 0, 180);
    face.closeSubpath();
    painter.fillPath(face, palette().color(QPalette::Base));
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    painter.drawPath(face);

    // The share already done is shaded along the rim.
    const int done = PercentDone();
    if (done > 0) {
        QPainterPath filled;
        filled.moveTo(hub);
        filled.arcTo(QRectF(hub.x() - radius, hub.y() - radius, 2 * radius, 2 * radius), 180,
                     -180.0 * done / 100.0);
        filled.closeSubpath();
        QColor shade = palette().color(QPalette::Highlight);
        shade.setAlpha(90);
        painter.fillPath(filled, shade);
    }

    // Ticks every tenth of the scale, longer at the ends and the middle.
    for (int tick = 0; tick <= 10; ++tick) {
        const double angle = std::numbers::pi * (1.0 - tick / 10.0);
        const double inner = radius * ((tick % 5 == 0) ? 0.72 : 0.84);
        painter.drawLine(
            QPointF(hub.x() + inner * std::cos(angle), hub.y() - inner * std::sin(angle)),
            QPointF(hub.x() + radius * std::cos(angle), hub.y() - radius * std::sin(angle)));
    }

    // The needle from the hub towards the value.
    const double angle = std::numbers::pi * (1.0 - done / 100.0);
    const double length = radius * 0.9;
    painter.setPen(QPen(QColor(160, 0, 0), 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(
        hub, QPointF(hub.x() + length * std::cos(angle), hub.y() - length * std::sin(angle)));
    painter.setBrush(palette().color(QPalette::WindowText));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(hub, 2.5, 2.5);

    QFont small = font();
    small.setPixelSize(std::max(6, static_cast<int>(h - hub.y()) - 1));
    painter.setFont(small);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRectF(0, hub.y() + 1, w, h - hub.y() - 1), Qt::AlignCenter,
                     QStringLiteral("%1%").arg(done));
}

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Velmora"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    SetOuterSize(this, 282, 162);
    move(271, 217);
    setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 11));

    const QFont bold = LayoutFont(QStringLiteral("MS Sans Serif"), 11, true);
    Label1 = new QLabel(QStringLiteral("Loading map"), this);
    Label1->setFont(bold);
    Label1->move(104, 16);
    Label1->adjustSize();
    Label2 = new QLabel(QStringLiteral("One Moment Please"), this);
    Label2->setFont(bold);
    Label2->move(80, 40);
    Label2->adjustSize();

    CGauge1 = new TNeedleGauge(this);
    CGauge1->setGeometry(88, 72, 100, 41);
}

void TForm1::ShowProgress(int percent) {
    CGauge1->SetProgress(percent);
    Shell().ProcessPendingPaints();
}
