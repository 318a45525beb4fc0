#include "app/city_design_form.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPolygon>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <array>

#include "platform/qt/form_geometry.h"
#include "platform/qt/widget_factory.h"

namespace {

constexpr int kGlyphSize = 16;
constexpr int kColumnHeadPixels = 12;

QPolygon GlyphOutline(CityGlyph glyph) {
    switch (glyph) {
        case CityGlyph::ArrowLeft:
            return QPolygon({{1, 8}, {7, 2}, {7, 5}, {14, 5}, {14, 11}, {7, 11}, {7, 14}});
        case CityGlyph::ArrowRight:
            return QPolygon({{14, 8}, {8, 2}, {8, 5}, {1, 5}, {1, 11}, {8, 11}, {8, 14}});
        case CityGlyph::Wedge:
            return QPolygon({{2, 4}, {13, 4}, {8, 12}, {7, 12}});
    }
    return {};
}

// A named panel with a raised bevel and, when it has one, its caption in the middle: the
// placeholder of a part of the screen still to come.
QFrame* MakeNamedPanel(QWidget* parent, const char* name, const QRect& rect, const char* caption) {
    QFrame* panel = MakePanel(parent, rect);
    panel->setObjectName(QString::fromLatin1(name));
    if (caption != nullptr)
        MakeCentredLabel(panel, QString::fromLatin1(caption),
                         QRect(1, 1, rect.width() - 2, rect.height() - 2));
    return panel;
}

// A heading in bold "Times New Roman" of the given height.
LabelStyle Heading(int pixels) {
    return LabelStyle().Family(QStringLiteral("Times New Roman")).Pixels(pixels).Bold();
}

QToolButton* MakeGlyphButton(QWidget* parent, CityGlyph glyph, const QRect& rect) {
    auto* button = new QToolButton(parent);
    QIcon icon;
    icon.addPixmap(PaintCityGlyph(glyph, true), QIcon::Normal);
    icon.addPixmap(PaintCityGlyph(glyph, false), QIcon::Disabled);
    button->setIcon(icon);
    button->setIconSize(QSize(kGlyphSize, kGlyphSize));
    button->setGeometry(rect);
    return button;
}

}  // namespace

QPixmap PaintCityGlyph(CityGlyph glyph, bool enabled) {
    QPixmap pixmap(kGlyphSize, kGlyphSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QPolygon outline = GlyphOutline(glyph);
    painter.setPen(Qt::NoPen);
    if (enabled) {
        painter.setBrush(QColor(0, 0, 128));
        painter.drawPolygon(outline);
    } else {
        // The engraved look of a disabled button: a white highlight one pixel down and
        // right, under the shape in grey.
        painter.setBrush(Qt::white);
        painter.drawPolygon(outline.translated(1, 1));
        painter.setBrush(QColor(128, 128, 128));
        painter.drawPolygon(outline);
    }
    return pixmap;
}

TCityDesignForm::TCityDesignForm(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("CityDesignForm"));
    SetOuterSize(this, 800, 600);
    move(9, 34);
    setFont(LayoutFont(QStringLiteral("Times New Roman"), 14));
    // The window opens maximized; the size above is its restored size.
    setWindowState(Qt::WindowMaximized);

    CityMap = MakeNamedPanel(this, "CityMap", QRect(1, 1, 504, 360), "CityMap");
    // Along the city map's bottom edge, inside its bevel.
    CityMapSpeedBar = MakeNamedPanel(CityMap, "CityMapSpeedBar", QRect(1, 360 - 1 - 51, 502, 51),
                                     "CityMapSpeedBar");

    ResourceAllocationPanel =
        MakeNamedPanel(this, "ResourceAllocationPanel", QRect(510, 1, 286, 200), nullptr);
    BuildResourceAllocation();

    ComponentDescriptionPanel = MakeNamedPanel(
        this, "ComponentDescriptionPanel", QRect(510, 208, 286, 153), "ComponentDescriptionPanel");

    ProductionQueuePanel =
        MakeNamedPanel(this, "ProductionQueuePanel", QRect(390, 365, 406, 209), nullptr);
    BuildProductionQueue();

    CityInfoPanel = MakeNamedPanel(this, "CityInfoPanel", QRect(1, 365, 384, 209), nullptr);
    BuildCityInfo();
}

void TCityDesignForm::BuildResourceAllocation() {
    QWidget* panel = ResourceAllocationPanel;
    // Five columns: the resource, what it produces, and its shares for research, storage
    // and production.
    constexpr std::array<int, 5> kColumns = {4, 58, 120, 172, 218};
    MakeLabel(panel, QStringLiteral("Allocate To"), kColumns[2] + 12, 4);
    QLabel* available = MakeLabel(panel, QStringLiteral("Available for"), 0, 4);
    available->move(panel->width() - 4 - available->width(), 4);

    const std::array<const char*, 5> heads = {"Resource", "Producing", "Research", "Storage",
                                              "Production"};
    for (size_t column = 0; column < heads.size(); ++column) {
        // At the form's 14 pixels the heads run into each other; 12 pixels leave a gap.
        MakeLabel(panel, QString::fromLatin1(heads[column]), kColumns[column], 24,
                  LabelStyle().Pixels(kColumnHeadPixels).Underlined());
    }

    const std::array<std::array<const char*, 5>, 2> rows = {{
        {"Wood", "10", "1 (15)", "2 (14)", "7"},
        {"Iron", "15", "2 (28)", "10 (35)", "3"},
    }};
    for (size_t row = 0; row < rows.size(); ++row)
        for (size_t column = 0; column < rows[row].size(); ++column)
            MakeLabel(panel, QString::fromLatin1(rows[row][column]), kColumns[column],
                      46 + static_cast<int>(row) * 20);

    MakeLabel(panel, QStringLiteral("Send Extra Resources To:"), 6, 104);
    ResearchRadioButton = MakeRadio(panel, QStringLiteral("Research"), QRect(16, 126, 180, 20));
    ResearchRadioButton->setChecked(true);
    StorageRadioButton =
        MakeRadio(panel, QStringLiteral("Storage (326/500)"), QRect(16, 148, 180, 20));
}

void TCityDesignForm::BuildProductionQueue() {
    QWidget* panel = ProductionQueuePanel;
    MakeLabel(panel, QStringLiteral("Production"), 8, 4, Heading(24));
    MakeLabel(panel, QStringLiteral("Available Items"), 8, 44);
    MakeLabel(panel, QStringLiteral("Production Queue"), 232, 44);

    ListBox1 = MakeList(panel, QRect(8, 64, 155, 128));
    ListBox1->setObjectName(QStringLiteral("ListBox1"));

    // Two columns: the items run down the first column, then on in the second.
    ListBox2 = MakeList(panel, QRect(232, 64, 156, 128));
    ListBox2->setObjectName(QStringLiteral("ListBox2"));
    ListBox2->setFlow(QListView::TopToBottom);
    ListBox2->setWrapping(true);
    ListBox2->setResizeMode(QListView::Adjust);
    ListBox2->setGridSize(QSize((156 - 4) / 2, 16));
    ListBox2->setSelectionMode(QAbstractItemView::ExtendedSelection);

    LeftArrowButton = MakeGlyphButton(panel, CityGlyph::ArrowLeft, QRect(176, 72, 43, 32));
    RightArrowButton = MakeGlyphButton(panel, CityGlyph::ArrowRight, QRect(176, 112, 43, 32));
    WedgeButton = MakeGlyphButton(panel, CityGlyph::Wedge, QRect(176, 152, 43, 31));
}

void TCityDesignForm::BuildCityInfo() {
    QWidget* panel = CityInfoPanel;
    NameLabel = MakeLabel(panel, QStringLiteral("Name"), 8, 4, Heading(28));
    NameLabel->setObjectName(QStringLiteral("NameLabel"));
    MakeLabel(panel, QStringLiteral("Miscellanious city info"), 8, 48);
    MakeLabel(panel, QStringLiteral("or it's picture???"), 8, 66);
    CityHistoryButton = MakeButton(panel, QStringLiteral("City History"), QRect(8, 172, 90, 25));

    NotebookPanel = MakeNamedPanel(panel, "NotebookPanel", QRect(176, 4, 202, 201), nullptr);
    MakeLabel(NotebookPanel, QStringLiteral("Emperor's Notebook"), 8, 4, Heading(14));
    NotebookMemo = new QPlainTextEdit(NotebookPanel);
    NotebookMemo->setGeometry(6, 26, 190, 136);
    NotebookMemo->setReadOnly(true);
    NotebookMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    AddButton = MakeButton(NotebookPanel, QStringLiteral("Add"), QRect(6, 168, 58, 25));
    DeleteButton = MakeButton(NotebookPanel, QStringLiteral("Delete"), QRect(72, 168, 58, 25));
    ClearButton = MakeButton(NotebookPanel, QStringLiteral("Clear"), QRect(138, 168, 58, 25));
}
