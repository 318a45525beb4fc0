// Captioned groups: a frame around related controls, and a group of radio buttons, shared by
// the screens that offer a choice of items.
#pragma once

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QButtonGroup;
class QEvent;
class QPaintEvent;
class QRadioButton;
class QResizeEvent;

// A group frame drawn the classic way: an etched rectangle whose top line runs through the
// middle of the caption, so all of the height below the caption is room for the group's
// controls. (The toolkit's own style sets the caption above the frame and keeps some 20
// pixels clear before the first control, more than the layouts' small groups have.)
class TGroupBox : public QGroupBox {
    Q_OBJECT

public:
    explicit TGroupBox(const QString& caption, QWidget* parent = nullptr);

    // Where the caption is written, over a gap in the frame's top line; empty without one.
    QRect CaptionRect() const;
    // Inside the frame and below the caption: the room for the group's controls.
    QRect ContentArea() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A captioned group of radio buttons in columns, filled top to bottom, then left to right.
// Click is emitted whenever another item becomes selected, by the user or by SetItemIndex.
class TRadioGroup : public TGroupBox {
    Q_OBJECT

public:
    TRadioGroup(const QString& caption, const QStringList& items, int columns,
                QWidget* parent = nullptr);

    // The selected item, -1 when none is.
    int ItemIndex() const;
    void SetItemIndex(int index);
    QRadioButton* Item(int index) const;
    int Count() const { return static_cast<int>(items_.size()); }

signals:
    void Click();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void LayOutItems();

    QButtonGroup* buttons_ = nullptr;
    std::vector<QRadioButton*> items_;
    int columns_ = 1;
};

// The widths of `columns` columns sharing `width` pixels, given the width each column's
// widest item needs: equal shares when every column fits its share; otherwise each column
// gets what it needs and the rest is shared equally (or, when even that is too little,
// the width is shared in proportion to the needs).
std::vector<int> ColumnWidths(const std::vector<int>& needs, int width);
