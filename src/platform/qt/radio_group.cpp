#include "platform/qt/radio_group.h"

#include <QButtonGroup>
#include <QEvent>
#include <QRadioButton>
#include <QResizeEvent>
#include <algorithm>

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, int columns,
                         QWidget* parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this)), columns_(std::max(1, columns)) {
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
    // Below the caption line, the columns sharing the width less a small border each side.
    const int top = fontMetrics().height() + 1;
    const int perColumn = (count + columns_ - 1) / columns_;
    const int left = 4;
    const int columnWidth = std::max(1, (width() - 2 * left) / columns_);
    const int rowHeight = std::max(1, (height() - top - 1) / perColumn);
    for (int i = 0; i < count; ++i) {
        const int column = i / perColumn;
        const int row = i % perColumn;
        items_[static_cast<size_t>(i)]->setGeometry(left + column * columnWidth,
                                                    top + row * rowHeight, columnWidth, rowHeight);
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
