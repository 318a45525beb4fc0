// A captioned group of radio buttons, shared by the screens that offer a choice of items.
#pragma once

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QButtonGroup;
class QEvent;
class QRadioButton;
class QResizeEvent;

// A captioned group of radio buttons in columns, filled top to bottom, then left to right.
// Click is emitted whenever another item becomes selected, by the user or by SetItemIndex.
class TRadioGroup : public QGroupBox {
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
