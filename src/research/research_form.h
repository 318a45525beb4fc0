#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <vector>

#include "research/research_rules.h"

class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;
class QTimer;
class QToolButton;

// The research screen: one technology tree at a time, the details of a technology, and the
// research queue built from the available technologies.
class TResearchForm : public QWidget {
    Q_OBJECT

public:
    explicit TResearchForm(QWidget* parent = nullptr);
    ~TResearchForm() override;

    // The rules' state: catalogue, shown tree, queue, available list and the research
    // points the player file fills (State.Points).
    ResearchState State;

    // Description panel.
    QFrame* TechDescription = nullptr;
    QFrame* TechIcon = nullptr;
    QLabel* DescriptionTitle = nullptr;
    QLabel* TechDescriptionText = nullptr;
    QLabel* PrerequisitesHeading = nullptr;
    QLabel* BenifitsHeading = nullptr;
    std::array<QLabel*, 4> Prereq{};  // Prereq1 .. Prereq4
    QLabel* BenifitsLabel = nullptr;
    QLabel* ResearchCostLabel = nullptr;

    // Status panel.
    QFrame* TechStatus = nullptr;
    QLabel* ResearchPointsAvailableLabel = nullptr;
    QLabel* PointsEarnedLabel = nullptr;
    QLabel* ProjectedPointsLabel = nullptr;
    QLabel* AvailableHeading = nullptr;
    QLabel* ResearchingHeading = nullptr;
    QLabel* EtaHeading = nullptr;
    QListWidget* ResearchQueueAvailable = nullptr;
    QListWidget* ResearchQueueResearching = nullptr;
    QListWidget* ETAListBox = nullptr;
    QToolButton* BitBtn1 = nullptr;  // empties the queue
    QToolButton* BitBtn2 = nullptr;  // adds the selected available technology
    QToolButton* BitBtn3 = nullptr;  // removes the selected queued technology

    // Tree choice.
    QGroupBox* TechTreeRadioGroup = nullptr;
    QButtonGroup* TechTreeItems = nullptr;  // item index = button id
    QToolButton* PrintTreeButton = nullptr;
    QToolButton* SpeedButton2 = nullptr;

    // Tree area.
    QFrame* TechTree = nullptr;
    QScrollArea* TechTreeScrollBox = nullptr;
    QWidget* TechTreeContent = nullptr;   // the scrolled content area
    QWidget* TechTreePaintBox = nullptr;  // fills the content area
    QPushButton* AcceptButton = nullptr;
    QPushButton* CancelButton = nullptr;
    std::vector<QPushButton*> TechButtons;  // one per tree-list entry
    QImage TechTreePicture;

    QTimer* Timer1 = nullptr;

    // The item index of the tree choice.
    int TechTreeItemIndex() const;
    // Shows the details of technology `tech`.
    void ShowTechDetails(int tech);
    // Rebuilds buttons, lists and picture for the selected tree and the queue.
    void Rebuild();

    void FormShow();
    void TechTreeRadioGroupClick();
    void ResearchQueueAvailableClick();
    void ResearchQueueResearchingClick();
    void ResearchQueueAvailableDblClick();
    void ResearchQueueResearchingDblClick();
    void BitBtn1Click();
    void TechTreePaintBoxPaint();
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildDescriptionPanel();
    void BuildStatusPanel();
    void BuildTreeChoice();
    void BuildTreeArea();
    void PlaceTreeArea();
    void SizeTreeContent();
    void DrawTreePicture();
    void RepaintTreeArea();
};
