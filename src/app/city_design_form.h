#pragma once

#include <QPixmap>
#include <QWidget>

class QFrame;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

// The three pictures of the production queue buttons.
enum class CityGlyph { ArrowLeft, ArrowRight, Wedge };

// A 16 x 16 picture button glyph, in its normal or its disabled look.
QPixmap PaintCityGlyph(CityGlyph glyph, bool enabled);

// The city design window: the layout of the city screen (city map, resource allocation,
// component description, production queue and city information), with fixed captions and
// sample values. None of its controls reacts to input; the window only shows and hides.
class TCityDesignForm : public QWidget {
    Q_OBJECT

public:
    explicit TCityDesignForm(QWidget* parent = nullptr);

    QFrame* CityMap = nullptr;
    QFrame* CityMapSpeedBar = nullptr;
    QFrame* ResourceAllocationPanel = nullptr;
    QRadioButton* ResearchRadioButton = nullptr;
    QRadioButton* StorageRadioButton = nullptr;
    QFrame* ComponentDescriptionPanel = nullptr;
    QFrame* ProductionQueuePanel = nullptr;
    QListWidget* ListBox1 = nullptr;
    QListWidget* ListBox2 = nullptr;
    QToolButton* LeftArrowButton = nullptr;
    QToolButton* RightArrowButton = nullptr;
    QToolButton* WedgeButton = nullptr;
    QFrame* CityInfoPanel = nullptr;
    QLabel* NameLabel = nullptr;
    QPushButton* CityHistoryButton = nullptr;
    QFrame* NotebookPanel = nullptr;
    QPlainTextEdit* NotebookMemo = nullptr;
    QPushButton* AddButton = nullptr;
    QPushButton* DeleteButton = nullptr;
    QPushButton* ClearButton = nullptr;

private:
    void BuildResourceAllocation();
    void BuildProductionQueue();
    void BuildCityInfo();
};
