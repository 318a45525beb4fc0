#include "units/unit_form.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QShortcut>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "platform/os/file_lookup.h"
#include "platform/os/ui_shell.h"
#include "platform/qt/form_geometry.h"
#include "platform/qt/game_text.h"
#include "platform/qt/widget_factory.h"

namespace {

constexpr char kTileFile[] = "GameArt\\ItemTileTemplate.bmp";
constexpr int kListRowHeight = 14;

// An empty picture frame with a raised bevel and its caption in the middle.
QLabel* MakePictureFrame(QWidget* parent, const QString& caption, int left, int top, int size) {
    QLabel* frame = MakeCaptionPanel(parent, caption, QRect(left, top, size, size));
    frame->setWordWrap(true);
    return frame;
}

// The tile shown when the tile bitmap cannot be read: plain grey with a darker rim.
QImage PlainTile() {
    QImage tile(kItemTileSize, kItemTileSize, QImage::Format_RGB32);
    tile.fill(QColor(192, 192, 192));
    QPainter painter(&tile);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(0, 0, kItemTileSize - 1, kItemTileSize - 1);
    return tile;
}

// Texts on a filled slot's tile: the component's name and, below it, "n of c".
constexpr int kTileNameTop = 48;
constexpr int kTileFillTop = 60;
constexpr int kTileFontPixels = 12;
constexpr int kSmallestTileFontPixels = 7;

// The font of a text written on a filled slot's tile with its cell's top at `top`: bold
// "Times New Roman" of 12 pixels or, where that would reach the tile's sides or foot, the
// largest size whose glyphs keep a pixel clear of them.
QFont FilledTileFont(const QString& text, int top) {
    QFont font = LayoutFont(QStringLiteral("Times New Roman"), kTileFontPixels, true);
    while (font.pixelSize() > kSmallestTileFontPixels) {
        const QFontMetrics metrics(font);
        const int lastRow = top + metrics.ascent() + metrics.tightBoundingRect(text).bottom();
        if (metrics.horizontalAdvance(text) <= kItemTileSize - 2 && lastRow < kItemTileSize - 1)
            break;
        font.setPixelSize(font.pixelSize() - 1);
    }
    return font;
}

// Writes `text` with its top-left corner at (left, top), as the layouts place texts.
void DrawTextAt(QPainter& painter, int left, int top, const QString& text) {
    painter.drawText(QPoint(left, top + painter.fontMetrics().ascent()), text);
}

}  // namespace

TUnitForm::TUnitForm(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Unit Inspector"));
    resize(800, 581);
    setWindowState(Qt::WindowMaximized);
    setFont(LayoutFont(QStringLiteral("Times New Roman"), 14));

    // Description panel.
    ComponentDescription = MakePanel(this, QRect(8, 8, 233, 177));
    ComponentDescriptionPicture = MakePictureFrame(ComponentDescription, QString(), 8, 8, 70);
    ItemLabel = MakeLabel(ComponentDescription, QString(), 88, 8);
    ItemLabel->setFont(LayoutFont(QStringLiteral("Times New Roman"), 20, true));
    Label1 = MakeLabel(ComponentDescription, QStringLiteral("Costs"), 8, 80,
                       LabelStyle().Pixels(16).Bold().Underlined());
    ComponentCost1 = MakeLabel(ComponentDescription, QString(), 16, 96);
    ComponentCost2 = MakeLabel(ComponentDescription, QString(), 16, 112);
    ComponentCost3 = MakeLabel(ComponentDescription, QString(), 16, 128);
    ComponentCost4 = MakeLabel(ComponentDescription, QString(), 16, 144);
    descriptionLabels_ = {ComponentCost1, ComponentCost2, ComponentCost3, ComponentCost4};

    // Class filter.
    RadioButtonSelectPanel = MakePanel(this, QRect(248, 8, 201, 177));
    AllRadioButton = MakeRadio(RadioButtonSelectPanel, QStringLiteral("All"), 64, 8);
    AllRadioButton->setChecked(true);
    InfantryRadioButton = MakeRadio(RadioButtonSelectPanel, QStringLiteral("Infantry"), 16, 32);
    CavalryRadioButton = MakeRadio(RadioButtonSelectPanel, QStringLiteral("Cavalry"), 16, 56);
    VehicleRadioButton = MakeRadio(RadioButtonSelectPanel, QStringLiteral("Vehicle"), 16, 80);
    ArtilleryRadioButton = MakeRadio(RadioButtonSelectPanel, QStringLiteral("Artillery"), 16, 104);
    ShipRadioButton = MakeRadio(RadioButtonSelectPanel, QStringLiteral("Ship"), 96, 32);
    AircraftRadioButton = MakeRadio(RadioButtonSelectPanel, QStringLiteral("Aircraft"), 96, 56);
    MechRadioButton = MakeRadio(RadioButtonSelectPanel, QStringLiteral("Mech"), 96, 80);
    SatelliteRadioButton = MakeRadio(RadioButtonSelectPanel, QStringLiteral("Satellite"), 96, 104);
    classButtons_ = {InfantryRadioButton,  CavalryRadioButton,   VehicleRadioButton,
                     ArtilleryRadioButton, ShipRadioButton,      AircraftRadioButton,
                     MechRadioButton,      SatelliteRadioButton, AllRadioButton};
    for (int c = 0; c < kHullClassCount; ++c)
        classButtons_[static_cast<size_t>(c)]->setEnabled(false);

    // Mode and list.
    ItemSelectPanel = MakePanel(this, QRect(456, 8, 169, 177));
    DesignUnitRadioButton = MakeRadio(ItemSelectPanel, QStringLiteral("Design Unit "), 16, 8);
    DesignUnitRadioButton->setChecked(true);
    ExistingUnitRadioButton = MakeRadio(ItemSelectPanel, QStringLiteral("Existing Units"), 16, 24);
    EnemyUnitRadioButton = MakeRadio(ItemSelectPanel, QStringLiteral("Enemy Units"), 16, 40);
    HullUnitSelect = MakeList(ItemSelectPanel, QRect(8, 64, 153, 105));
    HullUnitSelect->setUniformItemSizes(true);

    // Picture area and the unit's name.
    UnitPicturePanel = MakePanel(this, QRect(632, 8, 161, 177));
    UnitPicture = MakePictureFrame(UnitPicturePanel, QStringLiteral("Unit Pic"), 9, 9, 80);
    Image1 = MakePictureFrame(UnitPicturePanel, QStringLiteral("Combat Icon"), 104, 32, 40);
    Image1->setFont(LayoutFont(QStringLiteral("Times New Roman"), 10));
    UpDown1 = new QWidget(UnitPicturePanel);
    UpDown1->setGeometry(72, 92, 32, 16);
    for (int i = 0; i < 2; ++i)
        MakeArrowButton(UpDown1, i == 0 ? Qt::LeftArrow : Qt::RightArrow, QRect(16 * i, 0, 16, 16));
    Label28 = MakeLabel(UnitPicturePanel, QStringLiteral("Unit Name"), 8, 120);
    UnitNameBox = new QLineEdit(UnitPicturePanel);
    UnitNameBox->move(8, 136);
    UnitNameBox->resize(145, UnitNameBox->sizeHint().height());
    UnitNameBox->setMaxLength(kUnitNameBoxMaxLength);
    AcceptOnlyGameText(UnitNameBox);

    // Title strip.
    Panel1 = MakeFrame(this, QRect(248, 200, 545, 25), QFrame::NoFrame);
    TemplateHullName =
        MakeCentredLabel(Panel1, QString(), QRect(0, 0, 545, 25),
                         LabelStyle().Family(QStringLiteral("Arial")).Pixels(20).Bold());

    // Component palette.
    ComponentPanel = MakePanel(this, QRect(8, 192, 233, 369));
    ComponentFilter = new QComboBox(ComponentPanel);
    ComponentFilter->move(8, 8);
    ComponentFilter->resize(209, ComponentFilter->sizeHint().height());
    for (int entry = 0; entry < kComponentFilterEntryCount; ++entry)
        ComponentFilter->addItem(FromGameText(ComponentFilterEntry(entry)));
    ComponentScrollBox = new QScrollArea(ComponentPanel);
    ComponentScrollBox->setGeometry(1, 40, 231, 328);
    ComponentScrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ComponentScrollBox->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ComponentScrollBox->setWidgetResizable(false);
    ComponentPaintBox = new QWidget;
    ComponentScrollBox->setWidget(ComponentPaintBox);
    ComponentPaintBox->installEventFilter(this);
    ComponentScrollBox->viewport()->installEventFilter(this);

    // Stats and costs.
    const LabelStyle title = LabelStyle().Pixels(20).Underlined();
    Label18 = MakeLabel(this, QStringLiteral("Unit Stats"), 680, 240, title);
    Label19 = MakeLabel(this, QStringLiteral("Combat Rating"), 688, 264);
    Label20 = MakeLabel(this, QStringLiteral("Movement"), 688, 280);
    Label21 = MakeLabel(this, QStringLiteral("Initiative"), 688, 296);
    Label16 = MakeLabel(this, QStringLiteral("Unit Costs"), 256, 464, title);
    CostLabel1 = MakeLabel(this, QString(), 272, 488);
    CostLabel2 = MakeLabel(this, QString(), 272, 504);
    CostLabel3 = MakeLabel(this, QString(), 272, 520);
    CostLabel4 = MakeLabel(this, QString(), 272, 536);
    CostLabel5 = MakeLabel(this, QString(), 408, 488);
    CostLabel6 = MakeLabel(this, QString(), 408, 504);
    costLabels_ = {CostLabel1, CostLabel2, CostLabel3, CostLabel4, CostLabel5, CostLabel6};

    UnitSaveButton = MakeButton(this, QStringLiteral("Save"), 704, 464);
    UnitClearButton = MakeButton(this, QStringLiteral("Clear"), 704, 496);
    ExitButton = MakeButton(this, QStringLiteral("Exit"), 704, 528);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);

    // The drag image floats over every control of the form.
    DragImage = new QLabel(this);
    DragImage->resize(kItemTileSize, kItemTileSize);
    DragImage->setAttribute(Qt::WA_TransparentForMouseEvents);
    DragImage->hide();

    connect(DesignUnitRadioButton, &QRadioButton::clicked, this,
            &TUnitForm::DesignUnitRadioButtonClick);
    connect(ExistingUnitRadioButton, &QRadioButton::clicked, this,
            &TUnitForm::ExistingUnitRadioButtonClick);
    connect(EnemyUnitRadioButton, &QRadioButton::clicked, this,
            &TUnitForm::EnemyUnitRadioButtonClick);
    for (int c = 0; c <= kAllHullClasses; ++c) {
        connect(classButtons_[static_cast<size_t>(c)], &QRadioButton::clicked, this,
                [this, c] { ClassRadioButtonClick(c); });
    }
    // A list click is a change of the current row (mouse or keys), or a click on the row
    // that was already current.
    connect(HullUnitSelect, &QListWidget::currentRowChanged, this, [this] {
        if (!showingState_)
            HullUnitSelectClick();
    });
    HullUnitSelect->viewport()->installEventFilter(this);
    connect(HullUnitSelect, &QListWidget::clicked, this, [this](const QModelIndex& index) {
        if (index.row() == rowBeforePress_)
            HullUnitSelectClick();
    });
    connect(UnitNameBox, &QLineEdit::textEdited, this, &TUnitForm::UnitNameBoxChange);
    connect(ComponentFilter, &QComboBox::activated, this, &TUnitForm::ComponentFilterChange);
    connect(UnitSaveButton, &QPushButton::clicked, this, &TUnitForm::UnitSaveButtonClick);
    connect(UnitClearButton, &QPushButton::clicked, this, &TUnitForm::UnitClearButtonClick);
    connect(ExitButton, &QPushButton::clicked, this, &TUnitForm::ExitButtonClick);
    connect(escape, &QShortcut::activated, this, &TUnitForm::ExitButtonClick);
    // The program may come back from another program with another of its windows active;
    // activating this screen from there is an activation like any other.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* window) {
        if (window != nullptr && window != windowHandle() && window->type() != Qt::Popup &&
            window->type() != Qt::ToolTip)
            programActive_ = false;
    });

    ShowState();
}

TUnitForm::~TUnitForm() = default;

// --- Events --------------------------------------------------------------------------

void TUnitForm::FormActivate() {
    const bool tilesRead = LoadTileImages();
    State.Activate();
    ShowState();
    // A tile bitmap that cannot be read is reported once, after the screen is ready to use
    // with plain tiles; the next activations stay silent until the file has been read.
    if (tilesRead) {
        tileFileReported_ = false;
    } else if (!tileFileReported_) {
        tileFileReported_ = true;
        const std::string name = kTileFile;
        Shell().ShowMessage(GameFileExists(kTileFile)
                                ? "Cannot read the bitmap file \"" + name +
                                      "\". The components are shown on plain grey tiles."
                                : "Cannot find the file \"" + name +
                                      "\". The components are shown on plain grey tiles.",
                            "File Error");
    }
}

void TUnitForm::DesignUnitRadioButtonClick() {
    State.EnterMode(UnitScreenMode::DesignMode);
    ShowState();
}

void TUnitForm::ExistingUnitRadioButtonClick() {
    State.EnterMode(UnitScreenMode::ExistingMode);
    ShowState();
}

void TUnitForm::EnemyUnitRadioButtonClick() {
    State.EnterMode(UnitScreenMode::EnemyMode);
    ShowState();
}

void TUnitForm::ClassRadioButtonClick(int classValue) {
    State.ClassClick(classValue);
    ShowState();
}

void TUnitForm::HullUnitSelectClick() {
    State.SelectedRow = HullUnitSelect->currentRow();
    State.ListClick();
    ShowState();
}

void TUnitForm::UnitNameBoxChange() {
    State.SetUnitName(ToGameText(UnitNameBox->text()));
    ShowState();
}

void TUnitForm::ComponentFilterChange() {
    State.ShowPalette(ComponentFilter->currentIndex());
    ShowState();
}

void TUnitForm::UnitSaveButtonClick() {
    State.Save();
    ShowState();
}

void TUnitForm::UnitClearButtonClick() {
    State.ResetWorkingDesign();
    ShowState();
}

void TUnitForm::ExitButtonClick() {
    close();
}

void TUnitForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    if (isActiveWindow()) {
        // The program coming back from another program finds this screen as it was left:
        // only becoming the program's active window runs the activation.
        if (!programActive_) {
            programActive_ = true;
            FormActivate();
        }
    } else if (QApplication::activeWindow() != nullptr) {
        programActive_ = false;  // another window of the program took over
    }
    // With no active window left, another program has the focus; this screen stays the one
    // the program returns to.
}

void TUnitForm::hideEvent(QHideEvent* event) {
    programActive_ = false;  // showing the screen again is an activation
    QWidget::hideEvent(event);
}

bool TUnitForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ComponentPaintBox) {
        switch (event->type()) {
            case QEvent::Paint: {
                QPainter painter(ComponentPaintBox);
                DrawPalette(painter);
                return true;
            }
            case QEvent::MouseButtonPress: {
                auto* mouse = static_cast<QMouseEvent*>(event);
                if (mouse->button() == Qt::LeftButton && !dragging_)
                    ComponentPaintBoxStartDrag(mouse->position().toPoint());
                return true;
            }
            case QEvent::MouseMove: {
                auto* mouse = static_cast<QMouseEvent*>(event);
                if (dragging_)
                    FormDragOver(ComponentPaintBox->mapTo(this, mouse->position().toPoint()));
                return true;
            }
            case QEvent::MouseButtonRelease: {
                auto* mouse = static_cast<QMouseEvent*>(event);
                if (mouse->button() == Qt::LeftButton && dragging_)
                    ComponentPaintBoxEndDrag(
                        ComponentPaintBox->mapTo(this, mouse->position().toPoint()));
                return true;
            }
            default:
                break;
        }
    } else if (watched == ComponentScrollBox->viewport() && event->type() == QEvent::Resize) {
        SizePaintBox();
    } else if (watched == HullUnitSelect->viewport() && event->type() == QEvent::MouseButtonPress) {
        rowBeforePress_ = HullUnitSelect->currentRow();
    }
    return QWidget::eventFilter(watched, event);
}

// --- Dragging --------------------------------------------------------------------------

void TUnitForm::ComponentPaintBoxStartDrag(QPoint contentPos) {
    // The paint box is the scrolled content itself, so its positions include the scroll.
    bool picked = State.PickComponent(contentPos.x(), contentPos.y(), ComponentPaintBox->height());
    ShowState();
    if (!picked)
        return;
    dragging_ = true;
    DragImage->setPixmap(
        QPixmap::fromImage(TileImage(State.PaletteList[static_cast<size_t>(State.PickedRow)])));
    DragImage->raise();
    FormDragOver(ComponentPaintBox->mapTo(this, contentPos));
    DragImage->show();
}

void TUnitForm::FormDragOver(QPoint formPos) {
    // The hot spot is the tile's centre.
    DragImage->move(formPos - QPoint(kItemTileSize / 2, kItemTileSize / 2));
}

void TUnitForm::ComponentPaintBoxEndDrag(QPoint formPos) {
    DragImage->hide();
    dragging_ = false;
    State.DropComponent(formPos.x(), formPos.y());
    ShowState();
}

// --- Tiles and drawing ---------------------------------------------------------------

bool TUnitForm::LoadTileImages() {
    ComponentImageList.clear();
    QImage file(QString::fromStdString(ResolvePath(kTileFile)));
    QImage tile = PlainTile();
    if (!file.isNull()) {
        // The list holds 70 x 70 images: a bitmap of another size is cut or padded.
        tile.fill(Qt::white);
        QPainter painter(&tile);
        painter.drawImage(0, 0, file);
    }
    ComponentImageList.assign(kUnitComCount, tile);
    return !file.isNull();
}

QImage TUnitForm::TileImage(int component) const {
    if (component >= 0 && component < static_cast<int>(ComponentImageList.size()))
        return ComponentImageList[static_cast<size_t>(component)];
    return PlainTile();
}

void TUnitForm::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    if (State.HullShown)
        DrawHull(painter);
}

void TUnitForm::DrawHull(QPainter& painter) {
    const HullType* hull = State.HullAt(State.CurrentHull);
    if (hull == nullptr)
        return;
    int slotTotal = std::clamp(hull->SlotCount, 0, kHullSlotCount);

    // Filled slots: black text on white, ANDed with the tile, so the text shows over it.
    for (int s = 0; s < slotTotal; ++s) {
        int32_t component = State.SlotComponent[static_cast<size_t>(s)];
        if (component == -1)
            continue;
        const HullSlot& slot = hull->Slots[static_cast<size_t>(s)];
        QString name = State.IsComponent(component)
                           ? FromGameText(State.Catalogue.Component(component).Name)
                           : QString();
        QString fill =
            FromGameText(SlotFillText(State.SlotCount[static_cast<size_t>(s)], slot.Capacity));
        QImage work(kItemTileSize, kItemTileSize, QImage::Format_RGB32);
        work.fill(Qt::white);
        {
            QPainter text(&work);
            text.setPen(Qt::black);
            for (const auto& [line, top] :
                 {std::pair{name, kTileNameTop}, std::pair{fill, kTileFillTop}}) {
                const QFont font = FilledTileFont(line, top);
                text.setFont(font);
                DrawTextAt(text, TextLeftCentredOn(35, QFontMetrics(font).horizontalAdvance(line)),
                           top, line);
            }
            text.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
            text.drawImage(0, 0, TileImage(component));
        }
        painter.drawImage(kHullOriginX + slot.X, kHullOriginY + slot.Y, work);
    }

    // Empty slots: white squares outlined in black, with the slot's label and "0 of c".
    QFont smallFont = LayoutFont(QStringLiteral("Small Fonts"), 9, true);
    QFontMetrics metrics(smallFont);
    painter.setFont(smallFont);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    for (int s = 0; s < slotTotal; ++s) {
        if (State.SlotComponent[static_cast<size_t>(s)] != -1)
            continue;
        const HullSlot& slot = hull->Slots[static_cast<size_t>(s)];
        int left = kHullOriginX + slot.X;
        int top = kHullOriginY + slot.Y;
        painter.drawRect(left, top, kItemTileSize - 1, kItemTileSize - 1);
        QString label = FromGameText(SlotLabel(slot.SlotType));
        QString fill = FromGameText(SlotFillText(0, slot.Capacity));
        DrawTextAt(painter, TextLeftCentredInTile(left, metrics.horizontalAdvance(label)), top + 20,
                   label);
        DrawTextAt(painter, TextLeftCentredInTile(left, metrics.horizontalAdvance(fill)), top + 55,
                   fill);
    }
}

void TUnitForm::DrawPalette(QPainter& painter) {
    painter.setFont(font());
    QFontMetrics metrics(font());
    QColor background = ComponentPaintBox->palette().color(QPalette::Window);

    // Blank every row the content can hold, then draw the listed ones.
    int nameBlank = metrics.horizontalAdvance(QString(kPaletteNameBlanks, QLatin1Char(' ')));
    int labelBlank = metrics.horizontalAdvance(QString(kPaletteLabelBlanks, QLatin1Char(' ')));
    int erase = PaletteRowsToErase(ComponentPaintBox->height());
    for (int k = 0; k < erase; ++k) {
        int band = kPaletteRowStep * k;
        painter.fillRect(kPaletteTileLeft, kPaletteTop + band, kItemTileSize, kItemTileSize,
                         background);
        painter.fillRect(kPaletteNameLeft, kPaletteNameTop + band, nameBlank, metrics.height(),
                         background);
        painter.fillRect(kPaletteLabelLeft, kPaletteLabelTop + band, labelBlank, metrics.height(),
                         background);
    }

    painter.setPen(palette().color(QPalette::WindowText));
    for (int k = 0; k < State.PaletteCount; ++k) {
        int32_t component = State.PaletteList[static_cast<size_t>(k)];
        if (!State.IsComponent(component))
            continue;
        const UnitCom& com = State.Catalogue.Component(component);
        int band = kPaletteRowStep * k;
        painter.drawImage(kPaletteTileLeft, kPaletteTop + band, TileImage(component));
        DrawTextAt(painter, kPaletteNameLeft, kPaletteNameTop + band, FromGameText(com.Name));
        DrawTextAt(painter, kPaletteLabelLeft, kPaletteLabelTop + band,
                   FromGameText(PaletteLabel(com.Category)));
    }
}

void TUnitForm::SizePaintBox() {
    QWidget* viewport = ComponentScrollBox->viewport();
    int height = PaletteContentHeight(State.PaletteCount, viewport->height());
    if (ComponentPaintBox->size() != QSize(viewport->width(), height))
        ComponentPaintBox->resize(viewport->width(), height);
}

// --- Controls from the state ---------------------------------------------------------

void TUnitForm::ShowState() {
    showingState_ = true;

    bool sameRows = HullUnitSelect->count() == static_cast<int>(State.ListRows.size());
    for (int r = 0; sameRows && r < HullUnitSelect->count(); ++r)
        sameRows =
            HullUnitSelect->item(r)->text() == FromGameText(State.ListRows[static_cast<size_t>(r)]);
    if (!sameRows) {
        HullUnitSelect->clear();
        for (const std::string& row : State.ListRows) {
            auto* item = new QListWidgetItem(FromGameText(row), HullUnitSelect);
            item->setSizeHint(QSize(HullUnitSelect->viewport()->width(), kListRowHeight));
        }
    }
    HullUnitSelect->setCurrentRow(State.SelectedRow);

    for (int c = 0; c <= kAllHullClasses; ++c) {
        QRadioButton* button = classButtons_[static_cast<size_t>(c)];
        button->setEnabled(c == kAllHullClasses || State.ClassEnabled[static_cast<size_t>(c)]);
        if (c == State.ClassFilter)
            button->setChecked(true);
    }
    DesignUnitRadioButton->setChecked(State.Mode == UnitScreenMode::DesignMode);
    ExistingUnitRadioButton->setChecked(State.Mode == UnitScreenMode::ExistingMode);
    EnemyUnitRadioButton->setChecked(State.Mode == UnitScreenMode::EnemyMode);

    UnitSaveButton->setEnabled(State.SaveEnabled());
    UnitClearButton->setEnabled(State.EditingEnabled);
    UnitNameBox->setEnabled(State.EditingEnabled);
    ComponentFilter->setEnabled(State.EditingEnabled);
    ComponentFilter->setCurrentIndex(State.FilterEntry);

    QString name = FromGameText(State.UnitName);
    if (UnitNameBox->text() != name)
        UnitNameBox->setText(name);
    TemplateHullName->setText(FromGameText(State.TemplateHullName));

    ItemLabel->setText(FromGameText(State.ItemLabel));
    ItemLabel->adjustSize();
    for (size_t i = 0; i < descriptionLabels_.size(); ++i) {
        QLabel* label = descriptionLabels_[i];
        label->setVisible(i < State.DescriptionLines.size());
        if (i < State.DescriptionLines.size()) {
            label->setText(FromGameText(State.DescriptionLines[i]));
            label->adjustSize();
        }
    }
    for (size_t i = 0; i < costLabels_.size(); ++i) {
        QLabel* label = costLabels_[i];
        label->setVisible(i < State.CostReadOut.size());
        if (i < State.CostReadOut.size()) {
            label->setText(FromGameText(State.CostReadOut[i]));
            label->adjustSize();
        }
    }

    SizePaintBox();
    ComponentPaintBox->update();
    update();
    showingState_ = false;
}
