#pragma once

#include <QPixmap>

// The title screen's artwork, painted at start: a small globe emblem and the name banner.
QPixmap PaintTitleEmblem(int width, int height);
QPixmap PaintTitleBanner(int width, int height);
