#pragma once

#include <QFont>
#include <QString>

class QLabel;
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

// The font at the largest pixel size, no larger than its own, at which every line of `text`
// is at most `width` pixels wide; never smaller than `smallestPixels`. Texts that would run
// out of their panel at the layout's size are set a little smaller instead.
QFont FontFittingWidth(QFont font, const QString& text, int width, int smallestPixels);

// Sizes the label to its text in the font that fits its text between its left edge and
// `right` (in its parent's co-ordinates), no larger than the label's own.
void FitLabelToRight(QLabel* label, int right, int smallestPixels);

// Maps the layout fonts that this desktop lacks to metric-compatible ones.
void InstallFontSubstitutions();
