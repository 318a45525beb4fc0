#include "research/research_form.h"

#include <algorithm>

#include <QButtonGroup>
#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

#include "platform/qt/form_geometry.h"
#include "platform/qt/game_text.h"
#include "platform/qt/radio_group.h"
#include "platform/qt/widget_factory.h"

namespace {

const QString kTimes = QStringLiteral("Times New Roman");

// Client size of the window as designed; it opens maximized.
constexpr int kClientWidth = 792;
constexpr int kClientHeight = 478;

// Left column.
constexpr int kLeftWidth = 321;
constexpr int kDescriptionHeight = 329;
constexpr int kStatusHeight = 233;
// Tree choice above the tree area.
constexpr int kTreeChoiceHeight = 64;
// Room below the scroll box for "Accept" and "Cancel".
constexpr int kTreeButtonsHeight = 40;

constexpr QColor kNavy{0, 0, 128};

QColor ToQColor(StatusColour colour) {
    return QColor(colour.Red, colour.Green, colour.Blue);
}

// Every caption of the screen shows its text as it is.
const LabelStyle kPlain = LabelStyle().PlainText();

void SetTextColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// The largest font of `family` whose text cell (ascent and descent) is at most
// `cellHeight` pixels high. Drawn without smoothing, so every text pixel has its colour.
QFont CellHeightFont(const QString& family, int cellHeight) {
    QFont font = LayoutFont(family, 1);
    for (int pixels = cellHeight; pixels > 1; --pixels) {
        font = LayoutFont(family, pixels);
        if (QFontMetrics(font).height() <= cellHeight)
            break;
    }
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// The first visible row of a list that scrolls by whole rows.
int TopRow(const QListWidget* list) {
    return list->verticalScrollBar()->value();
}

// The selected row of a single-selection list, or -1.
int SelectedRow(const QListWidget* list) {
    const int row = list->currentRow();
    if (row < 0)
        return -1;
    const QListWidgetItem* item = list->item(row);
    return item != nullptr && item->isSelected() ? row : -1;
}

// A list of one selectable row at a time that scrolls by whole rows, so that its scroll bar
// tells the first visible row (TopRow).
QListWidget* MakeRowList(QWidget* parent, const QRect& geometry) {
    QListWidget* list = MakeList(parent, geometry);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    list->setUniformItemSizes(true);
    return list;
}

void PlotLine(QImage& image, const PictureLine& line, QRgb colour) {
    for (const PicturePoint& p : LinePixels(line)) {
        if (image.rect().contains(p.X, p.Y))
            image.setPixel(p.X, p.Y, colour);
    }
}

// Writes `text` with the top left of its text cell at `at`, on the button-face background.
void DrawCellText(QPainter& painter, PicturePoint at, std::string_view text, const QColor& colour) {
    painter.setPen(colour);
    painter.drawText(QPoint(at.X, at.Y + painter.fontMetrics().ascent()), FromGameText(text));
}

}  // namespace

TResearchForm::TResearchForm(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Research"));
    resize(kClientWidth, kClientHeight);
    setWindowState(Qt::WindowMaximized);
    setFont(LayoutFont(kTimes, 12));

    BuildDescriptionPanel();
    BuildStatusPanel();
    BuildTreeChoice();
    BuildTreeArea();
    PlaceTreeArea();

    Timer1 = new QTimer(this);
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, &TResearchForm::Timer1Timer);
    Timer1->start();

    State.Create();
    ShowTechDetails(0);
}

TResearchForm::~TResearchForm() = default;

void TResearchForm::BuildDescriptionPanel() {
    TechDescription = MakePanel(this, QRect(0, 0, kLeftWidth, kDescriptionHeight));

    TechIcon = MakePanel(TechDescription, QRect(8, 8, 50, 50));
    TechIcon->setLineWidth(2);

    DescriptionTitle = MakeLabel(TechDescription, QString(), 68, 18, kPlain);
    DescriptionTitle->setFont(LayoutFont(kTimes, 21, true));

    TechDescriptionText = new QLabel(TechDescription);
    TechDescriptionText->setTextFormat(Qt::PlainText);
    TechDescriptionText->setWordWrap(true);
    TechDescriptionText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    TechDescriptionText->setGeometry(16, 66, 265, 145);

    const LabelStyle heading = LabelStyle().PlainText().Pixels(14).Bold().Underlined();
    PrerequisitesHeading =
        MakeLabel(TechDescription, QStringLiteral("Prerequisites"), 16, 216, heading);
    BenifitsHeading = MakeLabel(TechDescription, QStringLiteral("Benifits"), 168, 216, heading);
    for (QLabel* label : {PrerequisitesHeading, BenifitsHeading})
        SetTextColour(label, QPalette::WindowText, kNavy);

    for (size_t k = 0; k < Prereq.size(); ++k) {
        Prereq[k] =
            MakeLabel(TechDescription, QString(), 24, 234 + static_cast<int>(k) * 15, kPlain);
        Prereq[k]->hide();
    }
    BenifitsLabel = MakeLabel(TechDescription, QString(), 176, 234, kPlain);
    ResearchCostLabel = MakeLabel(TechDescription, QString(), 16, 302, kPlain);
    // A benefit too long for its column wraps; the column ends a little inside the panel and
    // the lines end above the cost line. The fixed size holds whatever text is shown.
    BenifitsLabel->setWordWrap(true);
    BenifitsLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    BenifitsLabel->setFixedSize(kLeftWidth - 8 - BenifitsLabel->x(),
                                ResearchCostLabel->y() - BenifitsLabel->y());
    ResearchCostLabel->setFont(LayoutFont(kTimes, 13, true));
}

void TResearchForm::BuildStatusPanel() {
    TechStatus = MakePanel(this, QRect(0, kDescriptionHeight, kLeftWidth, kStatusHeight));

    ResearchPointsAvailableLabel =
        MakeLabel(TechStatus, QStringLiteral("Available Points:"), 8, 8, kPlain);
    PointsEarnedLabel =
        MakeLabel(TechStatus, QStringLiteral("Points Earned This Turn:"), 8, 26, kPlain);
    ProjectedPointsLabel =
        MakeLabel(TechStatus, QStringLiteral("Projected Points Next Turn:"), 8, 44, kPlain);

    AvailableHeading = MakeLabel(TechStatus, QStringLiteral("Available"), 8, 66, kPlain);
    ResearchingHeading = MakeLabel(TechStatus, QStringLiteral("Researching"), 176, 66, kPlain);
    EtaHeading = MakeLabel(TechStatus, QStringLiteral("ETA"), 276, 66, kPlain);

    ResearchQueueAvailable = MakeRowList(TechStatus, QRect(8, 82, 137, 143));
    ResearchQueueResearching = MakeRowList(TechStatus, QRect(176, 82, 100, 143));
    ETAListBox = MakeRowList(TechStatus, QRect(276, 82, 37, 143));

    BitBtn1 = new QToolButton(TechStatus);
    BitBtn1->setText(QStringLiteral("<<"));
    BitBtn1->setGeometry(149, 100, 23, 22);
    BitBtn2 = MakeArrowButton(TechStatus, Qt::RightArrow, QRect(149, 130, 23, 22));
    BitBtn3 = MakeArrowButton(TechStatus, Qt::LeftArrow, QRect(149, 160, 23, 22));

    // Mouse clicks and keyboard moves both show the selected technology.
    connect(ResearchQueueAvailable, &QListWidget::clicked, this,
            &TResearchForm::ResearchQueueAvailableClick);
    connect(ResearchQueueAvailable, &QListWidget::itemSelectionChanged, this,
            &TResearchForm::ResearchQueueAvailableClick);
    connect(ResearchQueueResearching, &QListWidget::clicked, this,
            &TResearchForm::ResearchQueueResearchingClick);
    connect(ResearchQueueResearching, &QListWidget::itemSelectionChanged, this,
            &TResearchForm::ResearchQueueResearchingClick);
    connect(ResearchQueueAvailable, &QListWidget::itemDoubleClicked, this,
            &TResearchForm::ResearchQueueAvailableDblClick);
    connect(ResearchQueueResearching, &QListWidget::itemDoubleClicked, this,
            &TResearchForm::ResearchQueueResearchingDblClick);
    connect(BitBtn1, &QToolButton::clicked, this, &TResearchForm::BitBtn1Click);
    connect(BitBtn2, &QToolButton::clicked, this, &TResearchForm::ResearchQueueAvailableDblClick);
    connect(BitBtn3, &QToolButton::clicked, this, &TResearchForm::ResearchQueueResearchingDblClick);
}

void TResearchForm::BuildTreeChoice() {
    TechTreeRadioGroup = new TGroupBox(QStringLiteral("Technology Trees"), this);
    TechTreeRadioGroup->setGeometry(kLeftWidth + 4, 0, 440, kTreeChoiceHeight);
    TechTreeItems = new QButtonGroup(this);
    // Four columns, filled top to bottom: two trees per column.
    constexpr int kColumns = 4;
    constexpr int kRowsPerColumn = (kTechTreeCount + kColumns - 1) / kColumns;
    const int columnWidth = (440 - 16) / kColumns;
    for (int i = 0; i < kTechTreeCount; ++i) {
        QRadioButton* item = MakeRadio(TechTreeRadioGroup, FromGameText(TechTreeName(i)),
                                       QRect(8 + (i / kRowsPerColumn) * columnWidth,
                                             18 + (i % kRowsPerColumn) * 20, columnWidth, 20));
        TechTreeItems->addButton(item, i);
    }
    TechTreeItems->button(0)->setChecked(true);
    connect(TechTreeItems, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            TechTreeRadioGroupClick();
    });

    PrintTreeButton =
        MakeSpeedButton(this, QRect(kLeftWidth + 448, 8, 21, 21), QStringLiteral("Print Tree"));
    SpeedButton2 = MakeSpeedButton(this, QRect(kLeftWidth + 448, 36, 21, 21));
}

void TResearchForm::BuildTreeArea() {
    TechTree = new QFrame(this);
    TechTree->setFrameStyle(QFrame::Panel | QFrame::Raised);

    TechTreeScrollBox = new QScrollArea(TechTree);
    TechTreeScrollBox->setWidgetResizable(false);
    TechTreeScrollBox->horizontalScrollBar()->setTracking(true);
    TechTreeScrollBox->verticalScrollBar()->setTracking(true);
    TechTreeContent = new QWidget;
    TechTreeContent->setBackgroundRole(QPalette::Button);
    TechTreeContent->setAutoFillBackground(true);
    TechTreePaintBox = new QWidget(TechTreeContent);
    TechTreePaintBox->move(0, 0);
    TechTreePaintBox->installEventFilter(this);
    TechTreeScrollBox->setWidget(TechTreeContent);
    TechTreeScrollBox->viewport()->installEventFilter(this);

    AcceptButton = new QPushButton(QStringLiteral("Accept"), TechTree);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), TechTree);
}

void TResearchForm::PlaceTreeArea() {
    // The status panel keeps to the bottom left but never climbs over the description.
    TechStatus->move(0, std::max(kDescriptionHeight, height() - kStatusHeight));
    TechTree->setGeometry(kLeftWidth, kTreeChoiceHeight, std::max(0, width() - kLeftWidth),
                          std::max(0, height() - kTreeChoiceHeight));
    const int treeWidth = TechTree->width();
    const int treeHeight = TechTree->height();
    TechTreeScrollBox->setGeometry(2, 2, std::max(0, treeWidth - 4),
                                   std::max(0, treeHeight - kTreeButtonsHeight));
    AcceptButton->setGeometry(treeWidth - 170, treeHeight - 33, 75, 25);
    CancelButton->setGeometry(treeWidth - 85, treeHeight - 33, 75, 25);
}

void TResearchForm::SizeTreeContent() {
    const QSize range(State.Ranges.Horizontal, State.Ranges.Vertical);
    const QSize area = range.expandedTo(TechTreeScrollBox->viewport()->size());
    TechTreeContent->resize(area);
    TechTreePaintBox->resize(area);
}

int TResearchForm::TechTreeItemIndex() const {
    return TechTreeItems->checkedId();
}

void TResearchForm::Rebuild() {
    // 1. The buttons of the previous tree go.
    for (QPushButton* button : TechButtons)
        delete button;
    TechButtons.clear();

    // 2, 3. The tree list and the scroll ranges.
    State.SelectedTree = TechTreeItemIndex();
    State.FormTree();
    SizeTreeContent();

    // 4. One flat button per technology of the tree.
    const QFont buttonFont = LayoutFont(kTimes, 11);
    for (int32_t index : State.TreeList) {
        const TechRecord& tech = State.Catalogue.Tech(index);
        const ButtonCell cell = TechButtonCell(tech);
        auto* button = new QPushButton(FromGameText(tech.Name), TechTreeContent);
        button->setFlat(true);
        button->setFont(buttonFont);
        button->setGeometry(cell.Left, cell.Top, cell.Width, cell.Height);
        connect(button, &QPushButton::clicked, this, [this, index] { ShowTechDetails(index); });
        button->show();
        TechButtons.push_back(button);
    }

    // 5. Statuses and the three lists. Refilling a list is no click on it.
    State.DeriveAndList();
    const QSignalBlocker blockAvailable(ResearchQueueAvailable);
    const QSignalBlocker blockResearching(ResearchQueueResearching);
    ResearchQueueAvailable->clear();
    for (int32_t index : State.AvailableList) {
        ResearchQueueAvailable->addItem(FromGameText(State.Catalogue.Tech(index).Name));
    }
    ResearchQueueResearching->clear();
    ETAListBox->clear();
    const std::vector<std::string> eta = EtaTexts(State.ResearchQueue.size());
    for (size_t j = 0; j < State.ResearchQueue.size(); ++j) {
        ResearchQueueResearching->addItem(
            FromGameText(State.Catalogue.Tech(State.ResearchQueue[j]).Name));
        ETAListBox->addItem(QString::fromStdString(eta[j]));
    }

    // 6. Caption colours by status.
    for (size_t i = 0; i < TechButtons.size(); ++i) {
        const ResearchStatus status = State.Catalogue.Tech(State.TreeList[i]).Status;
        SetTextColour(TechButtons[i], QPalette::ButtonText, ToQColor(ColourOfStatus(status)));
    }

    // 7. The picture behind the buttons.
    DrawTreePicture();
}

void TResearchForm::DrawTreePicture() {
    const QColor face = palette().color(QPalette::Button);
    TechTreePicture = QImage(TechTreePaintBox->size(), QImage::Format_RGB32);
    TechTreePicture.fill(face);
    const TreePicture picture = LayOutTreePicture(State.Catalogue, State.TreeList);

    // Lines go pixel by pixel so that every link ends exactly where the layout says.
    const QRgb black = qRgb(0, 0, 0);
    for (const TechLink& link : picture.Links) {
        for (const PictureLine& segment : link.Segments())
            PlotLine(TechTreePicture, segment, black);
        for (const PictureLine& line : link.Arrowhead)
            PlotLine(TechTreePicture, line, black);
    }
    for (const CrossTreeMarker& marker : picture.Markers) {
        PlotLine(TechTreePicture, marker.Stem, black);
        for (const PictureLine& line : marker.Arrowhead)
            PlotLine(TechTreePicture, line, black);
    }

    QPainter painter(&TechTreePicture);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(face);
    painter.setFont(CellHeightFont(kTimes, kMarkerFontHeight));
    for (const CrossTreeMarker& marker : picture.Markers) {
        DrawCellText(painter, marker.CodeAt, marker.Code,
                     ToQColor(ColourOfStatus(marker.CodeStatus)));
    }
    painter.setFont(CellHeightFont(kTimes, kLegendFontHeight));
    for (const LegendLine& line : picture.Legend) {
        DrawCellText(painter, line.At, line.Text, ToQColor(ColourOfStatus(line.Status)));
    }
}

void TResearchForm::RepaintTreeArea() {
    TechTree->update();
}

void TResearchForm::ShowTechDetails(int tech) {
    if (tech < 0 || tech >= State.Catalogue.Count())
        return;
    const TechRecord& record = State.Catalogue.Tech(tech);
    DescriptionTitle->setText(FromGameText(record.Name));
    DescriptionTitle->adjustSize();
    TechDescriptionText->setText(FromGameText(record.Description));
    BenifitsLabel->setText(FromGameText(record.Benefits));
    BenifitsLabel->adjustSize();
    ResearchCostLabel->setText(QString::fromStdString(ResearchCostText(record)));
    ResearchCostLabel->adjustSize();

    for (QLabel* label : Prereq)
        label->hide();
    for (int k = 0; k < record.PrerequisiteCount(); ++k) {
        const int32_t p = record.Prerequisites[static_cast<size_t>(k)];
        if (p < 0 || p >= State.Catalogue.Count())
            break;
        const TechRecord& prerequisite = State.Catalogue.Tech(p);
        QLabel* label = Prereq[static_cast<size_t>(k)];
        label->setText(FromGameText(prerequisite.Name));
        label->adjustSize();
        SetTextColour(label, QPalette::WindowText, ToQColor(ColourOfStatus(prerequisite.Status)));
        label->show();
    }
}

void TResearchForm::FormShow() {
    Rebuild();
    State.Points.AvailableResearchPoints = 20;
    ResearchPointsAvailableLabel->setText(QStringLiteral("Available Points: ") +
                                          QString::number(State.Points.AvailableResearchPoints));
    ResearchPointsAvailableLabel->adjustSize();
    ResearchPointsAvailableLabel->repaint();
}

void TResearchForm::TechTreeRadioGroupClick() {
    Rebuild();
    RepaintTreeArea();
}

void TResearchForm::ResearchQueueAvailableClick() {
    const int row = SelectedRow(ResearchQueueAvailable);
    if (row < 0 || row >= static_cast<int>(State.AvailableList.size()))
        return;
    ShowTechDetails(State.AvailableList[static_cast<size_t>(row)]);
}

void TResearchForm::ResearchQueueResearchingClick() {
    const int row = SelectedRow(ResearchQueueResearching);
    if (row < 0 || row >= static_cast<int>(State.ResearchQueue.size()))
        return;
    ShowTechDetails(State.ResearchQueue[static_cast<size_t>(row)]);
}

void TResearchForm::ResearchQueueAvailableDblClick() {
    if (!State.Add(SelectedRow(ResearchQueueAvailable)))
        return;
    Rebuild();
    RepaintTreeArea();
}

void TResearchForm::ResearchQueueResearchingDblClick() {
    if (!State.Remove(SelectedRow(ResearchQueueResearching)))
        return;
    Rebuild();
    RepaintTreeArea();
}

void TResearchForm::BitBtn1Click() {
    State.Empty();
    Rebuild();
    RepaintTreeArea();
}

void TResearchForm::TechTreePaintBoxPaint() {
    QPainter painter(TechTreePaintBox);
    painter.drawImage(0, 0, TechTreePicture);
}

void TResearchForm::Timer1Timer() {
    // The ETA column leads; the name column follows it.
    const int top = TopRow(ETAListBox);
    if (top != TopRow(ResearchQueueResearching)) {
        ResearchQueueResearching->verticalScrollBar()->setValue(top);
    }
}

void TResearchForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Restoring a minimized window is not a new showing.
    if (!event->spontaneous())
        FormShow();
}

void TResearchForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceTreeArea();
}

bool TResearchForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TechTreePaintBox && event->type() == QEvent::Paint) {
        TechTreePaintBoxPaint();
        return true;
    }
    if (watched == TechTreeScrollBox->viewport() && event->type() == QEvent::Resize) {
        // The paint area grows with the visible area; its picture waits for the next rebuild.
        SizeTreeContent();
    }
    return QWidget::eventFilter(watched, event);
}
