#pragma once

#include <QFont>
#include <QString>

class QWidget;

// Window frame of the layouts: the sizes given for windows are outer sizes, with a
// 4-pixel border on each side and a 19-pixel title bar.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 27;

// Gives a top-level window the client size that matches an outer size.
void SetOuterSize(QWidget* window, int outerWidth, int outerHeight);

// Centres a top-level window on the primary screen.
void CentreOnDesktop(QWidget* window);

// A font of the layouts: family and height in pixels.
QFont LayoutFont(const QString& family, int pixelHeight, bool bold = false);

// Maps the layout fonts that this desktop lacks to metric-compatible ones.
void InstallFontSubstitutions();
