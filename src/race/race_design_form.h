#pragma once

#include <QDialog>
#include <QGroupBox>
#include <QStringList>
#include <array>
#include <string>
#include <vector>

#include "platform/qt/radio_group.h"
#include "race/race_design_values.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QShowEvent;
class QSlider;
class QTabWidget;
class QTextEdit;
class QToolButton;

// An up/down arrow pair: two small arrow buttons, one above the other, or side by side
// (left is "down", right is "up") for a horizontal pair. It keeps no position of its own.
class TArrowPair : public QWidget {
    Q_OBJECT

public:
    TArrowPair(Qt::Orientation orientation, QWidget* parent = nullptr);

    QToolButton* UpButton = nullptr;
    QToolButton* DownButton = nullptr;

signals:
    void Click(bool up);
};

// The race design wizard: names a race and its immortal leader, picks the leader's sex and
// the race's class, spends race points on the eight design-slot categories, and saves and
// loads the race as a race file. Built once; it keeps everything between openings.
class TRaceDesign : public QDialog {
    Q_OBJECT

public:
    explicit TRaceDesign(QWidget* parent = nullptr);

    // The wizard's values. The controls show them; every change the user makes is written
    // back here at once.
    RaceDesignValues Values;

    // Page order of RaceCreateTabControl.
    enum Page {
        RaceInfoPage = 0,
        PrimaryPage = 1,
        BureaucracyPage = 2,
        SecondaryPage = 3,
        HabitabilityPage = 4,
        TechnologyPage = 5,
        PageCount = 6
    };

    // Header.
    QFrame* HeaderPanel = nullptr;
    QLabel* Label8 = nullptr;
    QFrame* PointsPanel = nullptr;
    QLabel* PointsCaption = nullptr;
    QLabel* RacePointsLabel = nullptr;

    QTabWidget* RaceCreateTabControl = nullptr;  // its page tabs are hidden
    QWidget* TabSheet1 = nullptr;                // "Race Info"
    QWidget* TabSheet2 = nullptr;                // "Primary Characteristics"
    QWidget* TabSheet6 = nullptr;                // "Bureaucracy"
    QWidget* TabSheet3 = nullptr;                // "Secondary Characteristics"
    QWidget* TabSheet4 = nullptr;                // "Habitibility"
    QWidget* TabSheet5 = nullptr;                // "Technology"

    // "Race Info".
    QGroupBox* RaceDataGroup = nullptr;
    QLineEdit* RaceNameSingular = nullptr;
    QLineEdit* RaceNamePlural = nullptr;
    QGroupBox* RaceLeaderGroup = nullptr;
    QLineEdit* RaceLeaderName = nullptr;
    QLineEdit* RaceLeaderTitle = nullptr;
    TRadioGroup* RaceSexRadioGroup = nullptr;
    QTextEdit* RaceBlurb = nullptr;
    QGroupBox* FileSaveGroup = nullptr;
    QLineEdit* Password = nullptr;
    QLineEdit* PasswordConfirm = nullptr;

    // "Primary Characteristics".
    TRadioGroup* ClassChoiceRadioGroup = nullptr;
    QLabel* PicturePanel = nullptr;
    TArrowPair* PictureArrows = nullptr;
    QLabel* ClassDescriptionPanel = nullptr;
    QLabel* ThirdPanel = nullptr;

    // "Bureaucracy": one row per category.
    QLabel* BureaucracyText = nullptr;
    std::array<QLabel*, 2> BaseHeadings{};
    QLabel *InfantryBase = nullptr, *CavalryBase = nullptr, *VehicleBase = nullptr,
           *ArtilleryBase = nullptr, *ShipsBase = nullptr, *AircraftBase = nullptr,
           *MechsBase = nullptr, *SatellitesBase = nullptr;
    TArrowPair *InfSlider = nullptr, *CavSlider = nullptr, *VehSlider = nullptr,
               *ArtSlider = nullptr, *ShiSlider = nullptr, *AirSlider = nullptr,
               *MecSlider = nullptr, *SatSlider = nullptr;
    QLineEdit *InfChange = nullptr, *CavChange = nullptr, *VehChange = nullptr,
              *ArtChange = nullptr, *ShiChange = nullptr, *AirChange = nullptr,
              *MecChange = nullptr, *SatChange = nullptr;
    QLabel *InfPlus = nullptr, *CavPlus = nullptr, *VehPlus = nullptr, *ArtPlus = nullptr,
           *ShiPlus = nullptr, *AirPlus = nullptr, *MecPlus = nullptr, *SatPlus = nullptr;
    QLabel *InfTotal = nullptr, *CavTotal = nullptr, *VehTotal = nullptr, *ArtTotal = nullptr,
           *ShiTotal = nullptr, *AirTotal = nullptr, *MecTotal = nullptr, *SatTotal = nullptr;

    // One category's row, for going through them in category order.
    struct CategoryRow {
        QLabel* Caption = nullptr;
        QLabel* Base = nullptr;
        QLabel* Sign = nullptr;
        TArrowPair* Slider = nullptr;
        QLineEdit* Change = nullptr;
        QLabel* Equals = nullptr;
        QLabel* Total = nullptr;
    };
    const CategoryRow& Row(int category) const { return rows_.at(static_cast<size_t>(category)); }

    // Inactive pages: marked, disabled, without behaviour.
    std::array<QLabel*, 3> InactiveLabels{};
    TRadioGroup* CombatRadioGroup = nullptr;
    TRadioGroup* ProductionRadioGroup = nullptr;
    TRadioGroup* EspionageRadioGroup = nullptr;
    TRadioGroup* MagicRadioGroup = nullptr;
    TRadioGroup* TechnologyRadioGroup = nullptr;
    TRadioGroup* OthersRadioGroup = nullptr;
    std::array<QLabel*, 8> HabitatLabels{};
    std::array<QSlider*, 8> HabitatSliders{};
    TRadioGroup* CombatResearchRadioGroup = nullptr;
    TRadioGroup* MagicResearchRadioGroup = nullptr;
    TRadioGroup* ThirdResearchRadioGroup = nullptr;

    // Buttons.
    QPushButton* LoadRaceButton = nullptr;
    QPushButton* SaveRaceButton = nullptr;
    QPushButton* BackButton = nullptr;
    QPushButton* CancelButton = nullptr;  // "Exit", also the Escape key
    QPushButton* NextButton = nullptr;    // also the Enter key

    // Event handlers.
    void RaceNameSingularChange();  // any of the four name fields
    void RaceSexRadioGroupClick();
    void ClassChoiceRadioGroupClick();
    void InfSliderClick(bool up);
    void CavSliderClick(bool up);
    void VehSliderClick(bool up);
    void ArtSliderClick(bool up);
    void ShiSliderClick(bool up);
    void AirSliderClick(bool up);
    void MecSliderClick(bool up);
    void SatSliderClick(bool up);
    void TabSheet6Show();
    void BackButtonClick();
    void NextButtonClick();
    void CancelButtonClick();
    void FormClose();
    void SaveRaceButtonClick();
    void LoadRaceButtonClick();
    // Loads the race file at `path` as "Load Race" does with a chosen file (checks,
    // messages, password prompt). False when nothing was loaded.
    bool LoadRaceFromFile(const std::string& path);

    // Closing by any means ("Exit", Escape, the close box) ends here.
    void done(int result) override;

private:
    void BuildHeader();
    void BuildRaceInfoPage();
    void BuildPrimaryPage();
    void BuildBureaucracyPage();
    void BuildSecondaryPage();
    void BuildHabitabilityPage();
    void BuildTechnologyPage();
    void BuildButtons();

    void CategoryArrowClick(int category, bool up);
    void PasswordChange();
    void RebuildStoryAndHeader();
    void ShowHeader(const QString& header);
    void ShowRacePoints();
    void UpdateSaveRaceButton();
    void ShowSign(int category);
    // Puts values into every control, then shows what follows from them, sign labels
    // included, as a load does.
    void ShowValues(const RaceDesignValues& values);

    std::array<CategoryRow, kDesignSlotCategories> rows_{};
    bool showingValues_ = false;  // controls are being set from Values
};
