#include "platform/qt/radio_group.h"

#include <qdrawutil.h>
#include <QButtonGroup>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QRadioButton>
#include <QResizeEvent>
#include <QStyle>
#include <algorithm>
#include <numeric>

namespace {

// The caption starts this far from the group's left edge, with a little space each side
// so the frame line stops short of the text.
constexpr int kCaptionLeft = 6;
constexpr int kCaptionPad = 2;
// The etched frame line is two pixels wide.
constexpr int kFrameLine = 2;

}  // namespace

TGroupBox::TGroupBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

QRect TGroupBox::CaptionRect() const {
    if (title().isEmpty())
        return {};
    const QFontMetrics metrics(font());
    const int width = metrics.size(Qt::TextShowMnemonic, title()).width() + 2 * kCaptionPad;
    return {kCaptionLeft, 0, std::min(width, std::max(0, this->width() - kCaptionLeft)),
            metrics.height()};
}

QRect TGroupBox::ContentArea() const {
    const int top = title().isEmpty() ? kFrameLine : QFontMetrics(font()).height();
    return rect().adjusted(kFrameLine, top, -kFrameLine, -kFrameLine);
}

void TGroupBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect caption = CaptionRect();
    const int lineTop = caption.isEmpty() ? 0 : caption.height() / 2;
    painter.save();
    if (!caption.isEmpty())
        painter.setClipRegion(QRegion(rect()).subtracted(QRegion(caption)));
    qDrawShadeRect(&painter, rect().adjusted(0, lineTop, 0, 0), palette(), true, 1, 0);
    painter.restore();
    if (!caption.isEmpty()) {
        style()->drawItemText(&painter, caption, Qt::AlignCenter | Qt::TextShowMnemonic, palette(),
                              isEnabled(), title(), foregroundRole());
    }
}

std::vector<int> ColumnWidths(const std::vector<int>& needs, int width) {
    const int count = static_cast<int>(needs.size());
    std::vector<int> widths(needs.size(), 0);
    if (count == 0)
        return widths;
    const int share = std::max(0, width) / count;
    const int needed = std::accumulate(needs.begin(), needs.end(), 0);
    if (std::all_of(needs.begin(), needs.end(), [share](int need) { return need <= share; })) {
        std::fill(widths.begin(), widths.end(), share);
    } else if (needed <= width) {
        const int spare = (width - needed) / count;
        for (size_t c = 0; c < needs.size(); ++c)
            widths[c] = needs[c] + spare;
    } else {
        for (size_t c = 0; c < needs.size(); ++c)
            widths[c] = needed > 0 ? needs[c] * width / needed : share;
    }
    return widths;
}

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, int columns,
                         QWidget* parent)
    : TGroupBox(caption, parent), buttons_(new QButtonGroup(this)), columns_(std::max(1, columns)) {
    for (int i = 0; i < items.size(); ++i) {
        auto* item = new QRadioButton(items[i], this);
        buttons_->addButton(item, i);
        items_.push_back(item);
    }
    LayOutItems();
    connect(buttons_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            emit Click();
    });
}

void TRadioGroup::LayOutItems() {
    const int count = Count();
    if (count == 0)
        return;
    // The items fill the room inside the frame, a little in from its sides; a column is as
    // wide as its longest caption needs when the even share would cut one.
    const QRect area = ContentArea().adjusted(2, 0, -2, 0);
    const int perColumn = (count + columns_ - 1) / columns_;
    std::vector<int> needs(static_cast<size_t>(columns_), 0);
    for (int i = 0; i < count; ++i) {
        int& need = needs[static_cast<size_t>(i / perColumn)];
        need = std::max(need, items_[static_cast<size_t>(i)]->sizeHint().width());
    }
    const std::vector<int> widths = ColumnWidths(needs, area.width());
    const int rowHeight = std::max(1, area.height() / perColumn);
    int left = area.left();
    for (int column = 0; column < columns_; ++column) {
        const int width = std::max(1, widths[static_cast<size_t>(column)]);
        for (int row = 0; row < perColumn; ++row) {
            const int i = column * perColumn + row;
            if (i >= count)
                break;
            items_[static_cast<size_t>(i)]->setGeometry(left, area.top() + row * rowHeight, width,
                                                        rowHeight);
        }
        left += width;
    }
}

void TRadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    LayOutItems();
}

void TRadioGroup::changeEvent(QEvent* event) {
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        LayOutItems();
}

int TRadioGroup::ItemIndex() const {
    return buttons_->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
    if (index >= 0 && index < Count())
        items_[static_cast<size_t>(index)]->setChecked(true);
}

QRadioButton* TRadioGroup::Item(int index) const {
    return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)] : nullptr;
}
