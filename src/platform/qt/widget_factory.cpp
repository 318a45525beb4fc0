#include "platform/qt/widget_factory.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace {

void ApplyStyle(QLabel* label, const LabelStyle& style) {
    if (style.plainText)
        label->setTextFormat(Qt::PlainText);
    // A label given no font of its own keeps following its parent's.
    if (style.family.isEmpty() && style.pixels <= 0 && !style.bold && !style.underline)
        return;
    QFont font = label->font();
    if (!style.family.isEmpty())
        font.setFamily(style.family);
    if (style.pixels > 0)
        font.setPixelSize(style.pixels);
    if (style.bold)
        font.setBold(true);
    if (style.underline)
        font.setUnderline(true);
    label->setFont(font);
}

}  // namespace

QLabel* MakeLabel(QWidget* parent, const QString& text, int left, int top,
                  const LabelStyle& style) {
    auto* label = new QLabel(text, parent);
    ApplyStyle(label, style);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLabel* MakeCentredLabel(QWidget* parent, const QString& text, const QRect& geometry,
                         const LabelStyle& style) {
    auto* label = new QLabel(text, parent);
    ApplyStyle(label, style);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(geometry);
    return label;
}

QLabel* MakeCaptionPanel(QWidget* parent, const QString& caption, const QRect& geometry,
                         const LabelStyle& style) {
    QLabel* panel = MakeCentredLabel(parent, caption, geometry, style);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    return panel;
}

QFrame* MakeFrame(QWidget* parent, const QRect& geometry, int frameStyle) {
    auto* frame = new QFrame(parent);
    frame->setFrameStyle(frameStyle);
    frame->setGeometry(geometry);
    return frame;
}

QFrame* MakePanel(QWidget* parent, const QRect& geometry) {
    QFrame* panel = MakeFrame(parent, geometry, QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    return panel;
}

QFrame* MakeBevel(QWidget* parent, const QRect& geometry, QFrame::Shadow shadow) {
    return MakeFrame(parent, geometry, QFrame::Box | shadow);
}

QPushButton* MakeButton(QWidget* parent, const QString& caption, const QRect& geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(geometry);
    return button;
}

QPushButton* MakeButton(QWidget* parent, const QString& caption, int left, int top) {
    return MakeButton(parent, caption, QRect(QPoint(left, top), kButtonSize));
}

QLineEdit* MakeEdit(QWidget* parent, const QRect& geometry, const QString& text) {
    auto* edit = new QLineEdit(text, parent);
    edit->setGeometry(geometry);
    return edit;
}

QToolButton* MakeSpeedButton(QWidget* parent, const QRect& geometry, const QString& hint,
                             bool toggle) {
    auto* button = new QToolButton(parent);
    button->setGeometry(geometry);
    if (!hint.isEmpty())
        button->setToolTip(hint);
    button->setCheckable(toggle);
    // Drawn as a button at all times, not only under the mouse.
    button->setAutoRaise(false);
    return button;
}

QToolButton* MakeArrowButton(QWidget* parent, Qt::ArrowType arrow, const QRect& geometry) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setGeometry(geometry);
    return button;
}

QRadioButton* MakeRadio(QWidget* parent, const QString& caption, const QRect& geometry) {
    auto* radio = new QRadioButton(caption, parent);
    radio->setGeometry(geometry);
    return radio;
}

QRadioButton* MakeRadio(QWidget* parent, const QString& caption, int left, int top) {
    auto* radio = new QRadioButton(caption, parent);
    radio->move(left, top);
    radio->adjustSize();
    return radio;
}

QListWidget* MakeList(QWidget* parent, const QRect& geometry) {
    auto* list = new QListWidget(parent);
    list->setGeometry(geometry);
    return list;
}

QProgressBar* MakeGauge(QWidget* parent, const QRect& geometry) {
    auto* gauge = new QProgressBar(parent);
    gauge->setRange(0, 100);
    gauge->setValue(0);
    gauge->setTextVisible(true);
    gauge->setAlignment(Qt::AlignCenter);
    gauge->setGeometry(geometry);
    return gauge;
}
