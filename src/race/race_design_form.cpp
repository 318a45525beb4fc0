#include "race/race_design_form.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <cstdlib>

#include "game/title_screen_link.h"
#include "platform/qt/form_geometry.h"
#include "platform/qt/game_text.h"
#include "platform/qt/widget_factory.h"
#include "race/race_file.h"
#include "race/race_file_form.h"

namespace {

const QString kArial = QStringLiteral("Arial");
constexpr int kFontPixels = 12;

// Client size of the window: 558 x 477 outside.
constexpr int kClientWidth = 558 - kFrameWidth;
constexpr int kClientHeight = 477 - kFrameHeight;

constexpr int kHeaderHeight = 40;
// The header's text: 24 pixels, or smaller for a long race name.
constexpr int kHeaderPixels = 24;
constexpr int kHeaderSmallestPixels = 14;
constexpr int kPointsHeight = 28;
constexpr int kButtonRowHeight = 41;
constexpr int kPageTop = kHeaderHeight + kPointsHeight;
constexpr int kPageHeight = kClientHeight - kPageTop - kButtonRowHeight;

// Every caption of the wizard shows its text as it is.
const LabelStyle kPlain = LabelStyle().PlainText();

// A password field: every character shows as "*".
QLineEdit* MakePasswordEdit(QWidget* parent, const QRect& geometry) {
    QLineEdit* edit = MakeEdit(parent, geometry);
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    return edit;
}

QWidget* MakePage(QTabWidget* pages, const QString& caption) {
    auto* page = new QWidget;
    pages->addTab(page, caption);
    return page;
}

// The mark of a page that does nothing yet.
QLabel* MakeInactiveMark(QWidget* page) {
    return MakeCentredLabel(page, QStringLiteral("INACTIVE SCREEN"),
                            QRect(0, 6, kClientWidth - 4, 28),
                            LabelStyle().Family(kArial).Pixels(20).Bold());
}

const QStringList kNoviceNormalExpert = {QStringLiteral("Novice"), QStringLiteral("Normal"),
                                         QStringLiteral("Expert")};
const QStringList kIneptNormalExpert = {QStringLiteral("Inept"), QStringLiteral("Normal"),
                                        QStringLiteral("Expert")};

}  // namespace

// ---- TArrowPair ----

TArrowPair::TArrowPair(Qt::Orientation orientation, QWidget* parent) : QWidget(parent) {
    UpButton = new QToolButton(this);
    DownButton = new QToolButton(this);
    if (orientation == Qt::Vertical) {
        resize(17, 22);
        UpButton->setArrowType(Qt::UpArrow);
        DownButton->setArrowType(Qt::DownArrow);
        UpButton->setGeometry(0, 0, 17, 11);
        DownButton->setGeometry(0, 11, 17, 11);
    } else {
        resize(34, 17);
        DownButton->setArrowType(Qt::LeftArrow);
        UpButton->setArrowType(Qt::RightArrow);
        DownButton->setGeometry(0, 0, 17, 17);
        UpButton->setGeometry(17, 0, 17, 17);
    }
    for (QToolButton* button : {UpButton, DownButton}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
    }
    connect(UpButton, &QToolButton::clicked, this, [this] { emit Click(true); });
    connect(DownButton, &QToolButton::clicked, this, [this] { emit Click(false); });
}

// ---- TRaceDesign ----

TRaceDesign::TRaceDesign(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("RaceDesign"));
    setFont(LayoutFont(kArial, kFontPixels));
    SetOuterSize(this, 558, 477);

    BuildHeader();
    RaceCreateTabControl = new QTabWidget(this);
    RaceCreateTabControl->tabBar()->hide();
    RaceCreateTabControl->setGeometry(0, kPageTop, kClientWidth, kPageHeight);
    BuildRaceInfoPage();
    BuildPrimaryPage();
    BuildBureaucracyPage();
    BuildSecondaryPage();
    BuildHabitabilityPage();
    BuildTechnologyPage();
    BuildButtons();
    RaceCreateTabControl->setCurrentIndex(RaceInfoPage);
    connect(RaceCreateTabControl, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == BureaucracyPage)
            TabSheet6Show();
    });

    // Start: Mammalia, no adjustment, 300 points, the story of nameless names.
    Values = RaceDesignValues{};
    ShowValues(Values);

    CentreOnDesktop(this);
}

void TRaceDesign::BuildHeader() {
    HeaderPanel = MakePanel(this, QRect(0, 0, kClientWidth, kHeaderHeight));
    Label8 = new QLabel(HeaderPanel);
    Label8->setTextFormat(Qt::PlainText);
    Label8->setFont(LayoutFont(kArial, kHeaderPixels, true));
    Label8->setGeometry(8, 4, kClientWidth - 16, kHeaderHeight - 8);

    PointsPanel = MakePanel(this, QRect(0, kHeaderHeight, kClientWidth, kPointsHeight));
    PointsCaption = MakeLabel(PointsPanel, QStringLiteral("Available Race Points:"), 8, 7, kPlain);
    RacePointsLabel = new QLabel(PointsPanel);
    RacePointsLabel->setTextFormat(Qt::PlainText);
    RacePointsLabel->setFont(LayoutFont(kArial, 18, true));
    RacePointsLabel->setGeometry(PointsCaption->x() + PointsCaption->width() + 8, 3, 120,
                                 kPointsHeight - 6);
}

void TRaceDesign::BuildRaceInfoPage() {
    TabSheet1 = MakePage(RaceCreateTabControl, QStringLiteral("Race Info"));

    RaceDataGroup = new TGroupBox(QStringLiteral("Race Data"), TabSheet1);
    RaceDataGroup->setGeometry(8, 4, 257, 110);
    MakeLabel(RaceDataGroup, QStringLiteral("Race Name (Singular)"), 12, 20, kPlain);
    RaceNameSingular = MakeEdit(RaceDataGroup, QRect(12, 36, 233, 21));
    MakeLabel(RaceDataGroup, QStringLiteral("Race Name (Plural)"), 12, 62, kPlain);
    RaceNamePlural = MakeEdit(RaceDataGroup, QRect(12, 78, 233, 21));

    RaceBlurb = new QTextEdit(TabSheet1);
    RaceBlurb->setGeometry(8, 122, 257, kPageHeight - 134);
    RaceBlurb->setReadOnly(true);
    RaceBlurb->setFrameShape(QFrame::NoFrame);
    RaceBlurb->setFocusPolicy(Qt::NoFocus);
    RaceBlurb->setLineWrapMode(QTextEdit::WidgetWidth);
    RaceBlurb->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QPalette blurbPalette = RaceBlurb->palette();
    blurbPalette.setColor(QPalette::Base, blurbPalette.color(QPalette::Window));
    RaceBlurb->setPalette(blurbPalette);

    RaceLeaderGroup = new TGroupBox(QStringLiteral("Race Leader Data"), TabSheet1);
    RaceLeaderGroup->setGeometry(276, 4, 262, 165);
    MakeLabel(RaceLeaderGroup, QStringLiteral("Name"), 12, 20, kPlain);
    RaceLeaderName = MakeEdit(RaceLeaderGroup, QRect(12, 36, 238, 21));
    MakeLabel(RaceLeaderGroup, QStringLiteral("Title"), 12, 62, kPlain);
    RaceLeaderTitle = MakeEdit(RaceLeaderGroup, QRect(12, 78, 238, 21));
    RaceSexRadioGroup =
        new TRadioGroup(QStringLiteral("Sex"),
                        {QStringLiteral("Male"), QStringLiteral("Female"), QStringLiteral("Other")},
                        3, RaceLeaderGroup);
    RaceSexRadioGroup->setGeometry(12, 106, 238, 46);

    FileSaveGroup = new TGroupBox(QStringLiteral("File Save Data"), TabSheet1);
    FileSaveGroup->setGeometry(276, 176, 262, 110);
    MakeLabel(FileSaveGroup, QStringLiteral("Password (optional)"), 12, 20, kPlain);
    Password = MakePasswordEdit(FileSaveGroup, QRect(12, 36, 238, 21));
    MakeLabel(FileSaveGroup, QStringLiteral("Confirm Password"), 12, 62, kPlain);
    PasswordConfirm = MakePasswordEdit(FileSaveGroup, QRect(12, 78, 238, 21));

    for (QLineEdit* name : {RaceNameSingular, RaceNamePlural, RaceLeaderName, RaceLeaderTitle})
        connect(name, &QLineEdit::textChanged, this, &TRaceDesign::RaceNameSingularChange);
    for (QLineEdit* password : {Password, PasswordConfirm})
        connect(password, &QLineEdit::textChanged, this, &TRaceDesign::PasswordChange);
    for (QLineEdit* text : {RaceNameSingular, RaceNamePlural, RaceLeaderName, RaceLeaderTitle,
                            Password, PasswordConfirm})
        AcceptOnlyGameText(text);
    connect(RaceSexRadioGroup, &TRadioGroup::Click, this, &TRaceDesign::RaceSexRadioGroupClick);
}

void TRaceDesign::BuildPrimaryPage() {
    TabSheet2 = MakePage(RaceCreateTabControl, QStringLiteral("Primary Characteristics"));

    ClassChoiceRadioGroup = new TRadioGroup(
        QStringLiteral("Choose a Class"),
        {QStringLiteral("Arachnidia"), QStringLiteral("Amphibia"), QStringLiteral("Aves"),
         QStringLiteral("Insecta"), QStringLiteral("Mammalia"), QStringLiteral("Reptillia")},
        1, TabSheet2);
    ClassChoiceRadioGroup->setGeometry(8, 4, 177, 177);

    PicturePanel = MakeCaptionPanel(TabSheet2, QStringLiteral("Picture choice"),
                                    QRect(192, 4, 169, 177), kPlain);
    PictureArrows = new TArrowPair(Qt::Horizontal, PicturePanel);
    PictureArrows->move((PicturePanel->width() - PictureArrows->width()) / 2,
                        PicturePanel->height() - PictureArrows->height() - 8);
    ClassDescriptionPanel = MakeCaptionPanel(TabSheet2, QStringLiteral("class description"),
                                             QRect(368, 4, 170, 177), kPlain);
    ThirdPanel =
        MakeCaptionPanel(TabSheet2, QString(), QRect(8, 188, 530, kPageHeight - 200), kPlain);

    connect(ClassChoiceRadioGroup, &TRadioGroup::Click, this,
            &TRaceDesign::ClassChoiceRadioGroupClick);
}

void TRaceDesign::BuildBureaucracyPage() {
    TabSheet6 = MakePage(RaceCreateTabControl, QStringLiteral("Bureaucracy"));

    BureaucracyText = new QLabel(
        QStringLiteral("Your race has the organizational capacity to simultaneously manage the "
                       "bureaucratic overhead for the following number of designs:"),
        TabSheet6);
    BureaucracyText->setTextFormat(Qt::PlainText);
    BureaucracyText->setWordWrap(true);
    BureaucracyText->setGeometry(16, 8, 514, 34);

    static const char* const kCaptions[kDesignSlotCategories] = {
        "Infantry:", "Cavalry:",  "Vehicle:", "Artillery:",
        "Ships:",    "Aircraft:", "Mechs:",   "Satellites:"};
    constexpr int kColumnLeft[2] = {24, 288};
    constexpr int kFirstRowTop = 76;
    constexpr int kRowPitch = 40;
    constexpr int kCaptionWidth = 66;

    for (int column = 0; column < 2; ++column) {
        const int x = kColumnLeft[column];
        QLabel* heading = new QLabel(QStringLiteral("Base"), TabSheet6);
        heading->setAlignment(Qt::AlignCenter);
        heading->setGeometry(x + kCaptionWidth, kFirstRowTop - 22, 34, 16);
        BaseHeadings[static_cast<size_t>(column)] = heading;
    }

    for (int category = 0; category < kDesignSlotCategories; ++category) {
        const int x = kColumnLeft[category / 4];
        const int y = kFirstRowTop + (category % 4) * kRowPitch;
        CategoryRow& row = rows_[static_cast<size_t>(category)];
        row.Caption =
            MakeLabel(TabSheet6, QString::fromLatin1(kCaptions[category]), x, y + 3, kPlain);
        row.Base = new QLabel(TabSheet6);
        row.Base->setAlignment(Qt::AlignCenter);
        row.Base->setGeometry(x + kCaptionWidth, y + 3, 34, 16);
        row.Sign = new QLabel(QStringLiteral("+"), TabSheet6);
        row.Sign->setAlignment(Qt::AlignCenter);
        row.Sign->setGeometry(x + kCaptionWidth + 38, y + 3, 12, 16);
        row.Slider = new TArrowPair(Qt::Vertical, TabSheet6);
        row.Slider->move(x + kCaptionWidth + 54, y);
        row.Change = MakeEdit(TabSheet6, QRect(x + kCaptionWidth + 74, y, 33, 22));
        row.Change->setReadOnly(true);
        row.Change->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row.Equals =
            MakeLabel(TabSheet6, QStringLiteral("="), x + kCaptionWidth + 116, y + 3, kPlain);
        row.Total = new QLabel(TabSheet6);
        row.Total->setGeometry(x + kCaptionWidth + 132, y + 3, 30, 16);
    }

    auto take = [this](int category, QLabel*& base, TArrowPair*& slider, QLineEdit*& change,
                       QLabel*& sign, QLabel*& total, const char* baseName, const char* prefix) {
        const CategoryRow& row = rows_[static_cast<size_t>(category)];
        base = row.Base;
        slider = row.Slider;
        change = row.Change;
        sign = row.Sign;
        total = row.Total;
        const QString stem = QString::fromLatin1(prefix);
        base->setObjectName(QString::fromLatin1(baseName));
        slider->setObjectName(stem + QStringLiteral("Slider"));
        change->setObjectName(stem + QStringLiteral("Change"));
        sign->setObjectName(stem + QStringLiteral("Plus"));
        total->setObjectName(stem + QStringLiteral("Total"));
    };
    take(0, InfantryBase, InfSlider, InfChange, InfPlus, InfTotal, "InfantryBase", "Inf");
    take(1, CavalryBase, CavSlider, CavChange, CavPlus, CavTotal, "CavalryBase", "Cav");
    take(2, VehicleBase, VehSlider, VehChange, VehPlus, VehTotal, "VehicleBase", "Veh");
    take(3, ArtilleryBase, ArtSlider, ArtChange, ArtPlus, ArtTotal, "ArtilleryBase", "Art");
    take(4, ShipsBase, ShiSlider, ShiChange, ShiPlus, ShiTotal, "ShipsBase", "Shi");
    take(5, AircraftBase, AirSlider, AirChange, AirPlus, AirTotal, "AircraftBase", "Air");
    take(6, MechsBase, MecSlider, MecChange, MecPlus, MecTotal, "MechsBase", "Mec");
    take(7, SatellitesBase, SatSlider, SatChange, SatPlus, SatTotal, "SatellitesBase", "Sat");

    connect(InfSlider, &TArrowPair::Click, this, &TRaceDesign::InfSliderClick);
    connect(CavSlider, &TArrowPair::Click, this, &TRaceDesign::CavSliderClick);
    connect(VehSlider, &TArrowPair::Click, this, &TRaceDesign::VehSliderClick);
    connect(ArtSlider, &TArrowPair::Click, this, &TRaceDesign::ArtSliderClick);
    connect(ShiSlider, &TArrowPair::Click, this, &TRaceDesign::ShiSliderClick);
    connect(AirSlider, &TArrowPair::Click, this, &TRaceDesign::AirSliderClick);
    connect(MecSlider, &TArrowPair::Click, this, &TRaceDesign::MecSliderClick);
    connect(SatSlider, &TArrowPair::Click, this, &TRaceDesign::SatSliderClick);
}

void TRaceDesign::BuildSecondaryPage() {
    TabSheet3 = MakePage(RaceCreateTabControl, QStringLiteral("Secondary Characteristics"));
    InactiveLabels[0] = MakeInactiveMark(TabSheet3);

    auto choice = [this](const QString& caption, const QStringList& items, int left, int top) {
        auto* group = new TRadioGroup(caption, items, 1, TabSheet3);
        group->setGeometry(left, top, 170, 100);
        group->SetItemIndex(items.size() > 1 ? 1 : -1);
        return group;
    };
    CombatRadioGroup = choice(QStringLiteral("Combat"), kNoviceNormalExpert, 8, 44);
    ProductionRadioGroup = choice(QStringLiteral("Production"), kNoviceNormalExpert, 184, 44);
    EspionageRadioGroup = choice(QStringLiteral("Espionage"), kNoviceNormalExpert, 360, 44);
    MagicRadioGroup = choice(QStringLiteral("Magic"), kNoviceNormalExpert, 8, 156);
    TechnologyRadioGroup = choice(QStringLiteral("Technology"), kNoviceNormalExpert, 184, 156);
    OthersRadioGroup = choice(QStringLiteral("Others"), {QStringLiteral("Flight")}, 360, 156);

    TabSheet3->setEnabled(false);
}

void TRaceDesign::BuildHabitabilityPage() {
    TabSheet4 = MakePage(RaceCreateTabControl, QStringLiteral("Habitibility"));
    InactiveLabels[1] = MakeInactiveMark(TabSheet4);

    static const char* const kTerrains[8] = {"Forest", "Forest", "Forest",   "Forest",
                                             "Forest", "Desert", "Mountain", "Temperate"};
    for (size_t i = 0; i < HabitatSliders.size(); ++i) {
        const int left = i < 4 ? 16 : 288;
        const int top = 52 + static_cast<int>(i % 4) * 44;
        HabitatLabels[i] =
            MakeLabel(TabSheet4, QString::fromLatin1(kTerrains[i]), left, top + 4, kPlain);
        auto* slider = new QSlider(Qt::Horizontal, TabSheet4);
        slider->setRange(0, 100);
        slider->setValue(50);
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(10);
        slider->setGeometry(left + 76, top, 160, 28);
        HabitatSliders[i] = slider;
    }

    TabSheet4->setEnabled(false);
}

void TRaceDesign::BuildTechnologyPage() {
    TabSheet5 = MakePage(RaceCreateTabControl, QStringLiteral("Technology"));
    InactiveLabels[2] = MakeInactiveMark(TabSheet5);

    CombatResearchRadioGroup =
        new TRadioGroup(QStringLiteral("Combat Research"), kIneptNormalExpert, 1, TabSheet5);
    CombatResearchRadioGroup->setGeometry(8, 44, 170, 100);
    CombatResearchRadioGroup->SetItemIndex(1);
    MagicResearchRadioGroup =
        new TRadioGroup(QStringLiteral("Magic Research"), kIneptNormalExpert, 1, TabSheet5);
    MagicResearchRadioGroup->setGeometry(184, 44, 170, 100);
    MagicResearchRadioGroup->SetItemIndex(1);
    ThirdResearchRadioGroup = new TRadioGroup(QString(), {}, 1, TabSheet5);
    ThirdResearchRadioGroup->setGeometry(360, 44, 170, 100);

    TabSheet5->setEnabled(false);
}

void TRaceDesign::BuildButtons() {
    const int top = kClientHeight - kButtonRowHeight + 8;
    auto button = [this, top](const QString& caption, int left) {
        QPushButton* made = MakeButton(this, caption, left, top);
        made->setAutoDefault(false);
        return made;
    };
    LoadRaceButton = button(QStringLiteral("Load Race"), 8);
    SaveRaceButton = button(QStringLiteral("Save Race"), 88);
    BackButton = button(QStringLiteral("Back"), 307);
    CancelButton = button(QStringLiteral("Exit"), 387);
    NextButton = button(QStringLiteral("Next"), 467);
    NextButton->setDefault(true);  // the Enter key; Escape closes the dialog like "Exit"

    connect(LoadRaceButton, &QPushButton::clicked, this, &TRaceDesign::LoadRaceButtonClick);
    connect(SaveRaceButton, &QPushButton::clicked, this, &TRaceDesign::SaveRaceButtonClick);
    connect(BackButton, &QPushButton::clicked, this, &TRaceDesign::BackButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TRaceDesign::CancelButtonClick);
    connect(NextButton, &QPushButton::clicked, this, &TRaceDesign::NextButtonClick);
}

// ---- What the wizard shows ----

void TRaceDesign::RebuildStoryAndHeader() {
    RaceBlurb->clear();
    RaceBlurb->setPlainText(FromGameText(RaceStory(Values)));
    ShowHeader(FromGameText(RaceHeader(Values)));
}

void TRaceDesign::ShowHeader(const QString& header) {
    // A long plural name sets the header smaller, down to a size still above the page
    // texts; a name too long even for that is cut short with "...", and the header's
    // tooltip holds it whole (the name field below shows it too).
    const QFont font = FontFittingWidth(LayoutFont(kArial, kHeaderPixels, true), header,
                                        Label8->width(), kHeaderSmallestPixels);
    Label8->setFont(font);
    const QFontMetrics metrics(font);
    if (metrics.size(0, header).width() <= Label8->width()) {
        Label8->setText(header);
        Label8->setToolTip(QString());
    } else {
        Label8->setText(metrics.elidedText(header, Qt::ElideRight, Label8->width() - 1));
        Label8->setToolTip(header);
    }
}

void TRaceDesign::ShowRacePoints() {
    RacePointsLabel->setText(QString::number(RacePoints(Values)));
}

void TRaceDesign::UpdateSaveRaceButton() {
    SaveRaceButton->setEnabled(RaceCanBeSaved(Values));
}

void TRaceDesign::ShowSign(int category) {
    rows_[static_cast<size_t>(category)].Sign->setText(
        QString::fromLatin1(AdjustmentSign(Values.Adjustments[static_cast<size_t>(category)])));
}

void TRaceDesign::ShowValues(const RaceDesignValues& values) {
    Values = values;
    showingValues_ = true;
    RaceNameSingular->setText(FromGameText(Values.RaceNameSingular));
    RaceNamePlural->setText(FromGameText(Values.RaceNamePlural));
    RaceLeaderName->setText(FromGameText(Values.RaceLeaderName));
    RaceLeaderTitle->setText(FromGameText(Values.RaceLeaderTitle));
    Password->setText(FromGameText(Values.Password));
    PasswordConfirm->setText(FromGameText(Values.PasswordConfirm));
    RaceSexRadioGroup->SetItemIndex(Values.Sex);
    ClassChoiceRadioGroup->SetItemIndex(Values.RaceClass);
    showingValues_ = false;

    RebuildStoryAndHeader();
    ShowRacePoints();
    UpdateSaveRaceButton();
    TabSheet6Show();
    for (int category = 0; category < kDesignSlotCategories; ++category)
        ShowSign(category);
}

// ---- Event handlers ----

void TRaceDesign::RaceNameSingularChange() {
    if (showingValues_)
        return;
    Values.RaceNameSingular = ToGameText(RaceNameSingular->text());
    Values.RaceNamePlural = ToGameText(RaceNamePlural->text());
    Values.RaceLeaderName = ToGameText(RaceLeaderName->text());
    Values.RaceLeaderTitle = ToGameText(RaceLeaderTitle->text());
    RebuildStoryAndHeader();
    UpdateSaveRaceButton();
}

void TRaceDesign::PasswordChange() {
    if (showingValues_)
        return;
    Values.Password = ToGameText(Password->text());
    Values.PasswordConfirm = ToGameText(PasswordConfirm->text());
}

void TRaceDesign::RaceSexRadioGroupClick() {
    if (showingValues_)
        return;
    Values.Sex = RaceSexRadioGroup->ItemIndex();
    RebuildStoryAndHeader();
}

void TRaceDesign::ClassChoiceRadioGroupClick() {
    if (showingValues_)
        return;
    // The rows of the "Bureaucracy" page follow when that page is next shown.
    ChangeRaceClass(Values, ClassChoiceRadioGroup->ItemIndex());
    ShowRacePoints();
    UpdateSaveRaceButton();
}

void TRaceDesign::CategoryArrowClick(int category, bool up) {
    PressCategoryArrow(Values, category, up);
    const auto index = static_cast<size_t>(category);
    const int32_t adjustment = Values.Adjustments[index];
    const CategoryRow& row = rows_[index];
    row.Change->setText(QString::number(std::abs(adjustment)));
    ShowSign(category);
    row.Total->setText(QString::number(DesignSlotTotals(Values)[index]));
    ShowRacePoints();
    UpdateSaveRaceButton();
}

void TRaceDesign::InfSliderClick(bool up) {
    CategoryArrowClick(0, up);
}
void TRaceDesign::CavSliderClick(bool up) {
    CategoryArrowClick(1, up);
}
void TRaceDesign::VehSliderClick(bool up) {
    CategoryArrowClick(2, up);
}
void TRaceDesign::ArtSliderClick(bool up) {
    CategoryArrowClick(3, up);
}
void TRaceDesign::ShiSliderClick(bool up) {
    CategoryArrowClick(4, up);
}
void TRaceDesign::AirSliderClick(bool up) {
    CategoryArrowClick(5, up);
}
void TRaceDesign::MecSliderClick(bool up) {
    CategoryArrowClick(6, up);
}
void TRaceDesign::SatSliderClick(bool up) {
    CategoryArrowClick(7, up);
}

void TRaceDesign::TabSheet6Show() {
    // The sign labels keep the sign of the last arrow press or load.
    const CategoryValues& base = ClassBase(Values.RaceClass);
    const CategoryValues totals = DesignSlotTotals(Values);
    for (size_t i = 0; i < rows_.size(); ++i) {
        rows_[i].Base->setText(QString::number(base[i]));
        rows_[i].Change->setText(QString::number(std::abs(Values.Adjustments[i])));
        rows_[i].Total->setText(QString::number(totals[i]));
    }
}

void TRaceDesign::BackButtonClick() {
    const int current = RaceCreateTabControl->currentIndex();
    RaceCreateTabControl->setCurrentIndex((current + PageCount - 1) % PageCount);
}

void TRaceDesign::NextButtonClick() {
    const int current = RaceCreateTabControl->currentIndex();
    RaceCreateTabControl->setCurrentIndex((current + 1) % PageCount);
}

void TRaceDesign::CancelButtonClick() {
    close();
}

void TRaceDesign::done(int result) {
    QDialog::done(result);
    FormClose();
}

void TRaceDesign::FormClose() {
    TitleScreen().ShowTitleScreen();
}

void TRaceDesign::SaveRaceButtonClick() {
    if (!RaceCanBeSaved(Values))
        return;
    // The race file carries the version stamp the title screen holds.
    SaveRaceFromDesign(Values, TitleScreen().Values().VersionStampB);
}

void TRaceDesign::LoadRaceButtonClick() {
    RaceDesignValues loaded = Values;
    if (!LoadRaceIntoDesign(loaded))
        return;
    ShowValues(loaded);
}

bool TRaceDesign::LoadRaceFromFile(const std::string& path) {
    RaceDesignValues loaded = Values;
    if (!LoadChosenRaceIntoDesign(path, loaded))
        return false;
    ShowValues(loaded);
    return true;
}
