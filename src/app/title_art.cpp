#include "app/title_art.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

QPixmap PaintTitleEmblem(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double radius = std::min(width, height) * 0.44;
    const QPointF centre(width / 2.0, height / 2.0);

    // Sea with a light from the upper left.
    QRadialGradient sea(centre - QPointF(radius * 0.35, radius * 0.35), radius * 1.4);
    sea.setColorAt(0.0, QColor(90, 160, 220));
    sea.setColorAt(0.7, QColor(20, 70, 140));
    sea.setColorAt(1.0, QColor(5, 25, 60));
    p.setPen(Qt::NoPen);
    p.setBrush(sea);
    p.drawEllipse(centre, radius, radius);

    // A few continents, clipped to the disc.
    QPainterPath disc;
    disc.addEllipse(centre, radius, radius);
    p.setClipPath(disc);
    p.setBrush(QColor(196, 170, 110));
    const double blobs[][3] = {
        {-0.35, -0.2, 0.38}, {0.25, 0.15, 0.3}, {-0.05, 0.45, 0.22}, {0.45, -0.45, 0.18}};
    for (const auto& b : blobs) {
        p.drawEllipse(centre + QPointF(b[0] * radius, b[1] * radius), b[2] * radius,
                      b[2] * radius * 0.7);
    }
    // Ice caps: round domes over each pole, each ending in an elliptic arc, so the globe
    // keeps its round outline. The ice is shaded by the same light as the sea, so its edge
    // stands out from the background.
    QRadialGradient ice(centre - QPointF(radius * 0.35, radius * 0.35), radius * 1.4);
    ice.setColorAt(0.0, QColor(250, 252, 255));
    ice.setColorAt(0.7, QColor(200, 218, 235));
    ice.setColorAt(1.0, QColor(130, 150, 175));
    p.setBrush(ice);
    // latitude: the height of the cap's edge as a share of the radius, negative in the north.
    auto cap = [&](double latitude) {
        const double across = radius * std::sqrt(1.0 - latitude * latitude);
        const QPointF middle(centre.x(), centre.y() + latitude * radius);
        QPainterPath edge;
        edge.addEllipse(middle, across, across * 0.25);
        QPainterPath beyond;
        const double top = latitude < 0 ? centre.y() - radius : middle.y();
        beyond.addRect(
            QRectF(centre.x() - radius, top, 2 * radius, radius * (1.0 - std::abs(latitude))));
        p.drawPath(beyond.united(edge));
    };
    cap(-0.8);
    cap(0.82);
    p.setClipping(false);

    // Rim.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(200, 170, 60), 2.0));
    p.drawEllipse(centre, radius, radius);
    return pixmap;
}

QPixmap PaintTitleBanner(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(height * 55 / 100);
    font.setBold(true);
    font.setLetterSpacing(QFont::PercentageSpacing, 115);
    QPainterPath text;
    text.addText(0, 0, font, QStringLiteral("VELMORA"));
    QRectF bounds = text.boundingRect();
    text.translate((width - bounds.width()) / 2 - bounds.left(),
                   height * 0.62 - bounds.center().y() - bounds.height() * 0.12);

    QLinearGradient gold(0, 0, 0, height);
    gold.setColorAt(0.0, QColor(255, 236, 160));
    gold.setColorAt(0.5, QColor(210, 160, 50));
    gold.setColorAt(1.0, QColor(120, 80, 20));
    p.setPen(QPen(QColor(60, 35, 10), 2.0));
    p.setBrush(gold);
    p.drawPath(text);

    QFont small(QStringLiteral("Times New Roman"));
    small.setPixelSize(std::max(10, height / 7));
    small.setItalic(true);
    p.setFont(small);
    p.setPen(QColor(40, 60, 110));
    p.drawText(QRectF(0, height * 0.80, width, height * 0.2), Qt::AlignCenter,
               QStringLiteral("Orbalune"));
    return pixmap;
}
