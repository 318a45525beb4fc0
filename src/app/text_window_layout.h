#pragma once

#include <string>
#include <vector>

class QAbstractScrollArea;
class QDialog;
class QPushButton;
class QString;

// The layout the credits, known-bugs and version-history windows share: outer size
// 435 x 300, "MS Sans Serif" 11 pixels, a read-only text box at (8, 8) 409 x 233 with a
// vertical scroll bar and a "Close" button at (344, 248) 75 x 25.
void LayOutTextWindow(QDialog* window, const QString& caption, int left, int top);

// Places the text box and gives it its vertical scroll bar.
void PlaceTextBox(QAbstractScrollArea* textBox);

// Makes the window's "Close" button; the caller connects it.
QPushButton* MakeCloseButton(QDialog* window);

// The text of fixed lines as one string for a text box.
QString TextOfLines(const std::vector<std::string>& lines);
