// The pieces the screens are built of. Every screen reproduces a designed form with absolute
// geometry, so each function makes one control as a child of `parent`, at the place the
// layout gives, and returns it; the parent owns it.
#pragma once

#include <QFrame>
#include <QRect>
#include <QSize>
#include <QString>

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QToolButton;
class QWidget;

// A push button's size where the layout gives no other.
inline constexpr QSize kButtonSize{75, 25};

// How a label differs from its parent's text, e.g. LabelStyle().Bold().Underlined(). Left
// as it is made, a label has no font of its own and follows its parent's.
struct LabelStyle {
    bool plainText = false;  // the text shows as it is, never read as rich text
    QString family;          // empty: the parent's family
    int pixels = 0;          // the font's height in pixels; 0: the parent's
    bool bold = false;
    bool underline = false;

    LabelStyle& PlainText() {
        plainText = true;
        return *this;
    }
    LabelStyle& Family(const QString& name) {
        family = name;
        return *this;
    }
    LabelStyle& Pixels(int height) {
        pixels = height;
        return *this;
    }
    LabelStyle& Bold() {
        bold = true;
        return *this;
    }
    LabelStyle& Underlined() {
        underline = true;
        return *this;
    }
};

// A label with its top-left corner at (left, top), sized to its text.
QLabel* MakeLabel(QWidget* parent, const QString& text, int left, int top,
                  const LabelStyle& style = {});

// A label that fills `geometry` with its text in the middle.
QLabel* MakeCentredLabel(QWidget* parent, const QString& text, const QRect& geometry,
                         const LabelStyle& style = {});

// A raised panel with its caption in the middle: a label in a one-pixel raised bevel.
QLabel* MakeCaptionPanel(QWidget* parent, const QString& caption, const QRect& geometry,
                         const LabelStyle& style = {});

// A frame of the given shape and shadow, e.g. QFrame::HLine | QFrame::Sunken for a rule.
QFrame* MakeFrame(QWidget* parent, const QRect& geometry, int frameStyle);

// A raised panel: a frame with a one-pixel raised bevel, which the panel's controls sit in.
QFrame* MakePanel(QWidget* parent, const QRect& geometry);

// A box drawn around an area: raised, or sunken into the form.
QFrame* MakeBevel(QWidget* parent, const QRect& geometry, QFrame::Shadow shadow = QFrame::Raised);

QPushButton* MakeButton(QWidget* parent, const QString& caption, const QRect& geometry);
// A push button of the usual size with its top-left corner at (left, top).
QPushButton* MakeButton(QWidget* parent, const QString& caption, int left, int top);

QLineEdit* MakeEdit(QWidget* parent, const QRect& geometry, const QString& text = {});

// A tool button of a button bar (a "speed button") with its hint; a toggle stays down when
// clicked until it is clicked again.
QToolButton* MakeSpeedButton(QWidget* parent, const QRect& geometry, const QString& hint = {},
                             bool toggle = false);

// A tool button that shows the toolkit's arrow of the given direction.
QToolButton* MakeArrowButton(QWidget* parent, Qt::ArrowType arrow, const QRect& geometry);

QRadioButton* MakeRadio(QWidget* parent, const QString& caption, const QRect& geometry);
// A radio button with its top-left corner at (left, top), sized to its caption.
QRadioButton* MakeRadio(QWidget* parent, const QString& caption, int left, int top);

QListWidget* MakeList(QWidget* parent, const QRect& geometry);

// A progress gauge from 0 to 100 percent, empty, with the percentage in its middle.
QProgressBar* MakeGauge(QWidget* parent, const QRect& geometry);
