#include "platform/qt/widget_factory.h"

#include <gtest/gtest.h>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "platform/qt/form_geometry.h"

namespace {

class WidgetFactory : public ::testing::Test {
protected:
    WidgetFactory() {
        InstallFontSubstitutions();
        form.setFont(LayoutFont(QStringLiteral("Times New Roman"), 14));
        form.resize(400, 300);
    }

    // The size a label takes for its text in the font it shows it in.
    static QSize TextSize(const QLabel* label) {
        return QFontMetrics(label->font()).size(0, label->text());
    }

    QWidget form;
};

TEST_F(WidgetFactory, LabelsStandAtTheirPlaceSizedToTheTextInTheFontTheyShowIt) {
    QLabel* plain = MakeLabel(&form, QStringLiteral("Habitability: Low"), 68, 26);
    EXPECT_EQ(plain->pos(), QPoint(68, 26));
    EXPECT_EQ(plain->size(), TextSize(plain));
    // Unstyled, it has no font of its own: it follows the form's.
    EXPECT_EQ(plain->font(), form.font());
    EXPECT_FALSE(plain->testAttribute(Qt::WA_SetFont));

    // Styled on top of the form's font: sized after the font is set, not before.
    QLabel* heading = MakeLabel(&form, QStringLiteral("Habitability: Low"), 8, 80,
                                LabelStyle().Pixels(20).Bold().Underlined());
    EXPECT_EQ(heading->pos(), QPoint(8, 80));
    EXPECT_EQ(heading->font().family(), form.font().family());
    EXPECT_EQ(heading->font().pixelSize(), 20);
    EXPECT_TRUE(heading->font().bold());
    EXPECT_TRUE(heading->font().underline());
    EXPECT_EQ(heading->size(), TextSize(heading));
    EXPECT_GT(heading->width(), plain->width());
    EXPECT_GT(heading->height(), plain->height());

    QLabel* bold = MakeLabel(&form, QStringLiteral("Desert"), 68, 8, LabelStyle().Bold());
    EXPECT_EQ(bold->font(), LayoutFont(QStringLiteral("Times New Roman"), 14, true));

    QLabel* other = MakeCentredLabel(&form, QStringLiteral("INACTIVE SCREEN"), QRect(0, 6, 300, 28),
                                     LabelStyle().Family(QStringLiteral("Arial")).Pixels(20));
    EXPECT_EQ(other->geometry(), QRect(0, 6, 300, 28));
    EXPECT_EQ(other->alignment(), Qt::AlignCenter);
    EXPECT_EQ(other->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(other->font().pixelSize(), 20);
    EXPECT_FALSE(other->font().bold());
}

TEST_F(WidgetFactory, APlainTextLabelShowsMarkupAsItIs) {
    // A race name read from a file may hold anything; it must not become formatting.
    const QString name = QStringLiteral("<b>Horde</b>");
    QLabel* plain = MakeLabel(&form, name, 8, 8, LabelStyle().PlainText());
    EXPECT_EQ(plain->textFormat(), Qt::PlainText);
    EXPECT_EQ(plain->size(), TextSize(plain));

    QLabel* rich = MakeLabel(&form, name, 8, 40);
    EXPECT_EQ(rich->textFormat(), Qt::AutoText);
    EXPECT_LT(rich->width(), plain->width());  // the tags were read, not shown
}

TEST_F(WidgetFactory, PanelsAndBevelsHaveTheirFrames) {
    QFrame* panel = MakePanel(&form, QRect(0, 39, 577, 338));
    EXPECT_EQ(panel->geometry(), QRect(0, 39, 577, 338));
    EXPECT_EQ(panel->frameShape(), QFrame::Panel);
    EXPECT_EQ(panel->frameShadow(), QFrame::Raised);
    EXPECT_EQ(panel->lineWidth(), 1);
    EXPECT_EQ(panel->contentsRect(), QRect(1, 1, 575, 336));

    QLabel* captioned = MakeCaptionPanel(&form, QStringLiteral("Picture choice"),
                                         QRect(192, 4, 169, 177), LabelStyle().PlainText());
    EXPECT_EQ(captioned->geometry(), QRect(192, 4, 169, 177));
    EXPECT_EQ(captioned->frameStyle(), QFrame::Panel | QFrame::Raised);
    EXPECT_EQ(captioned->alignment(), Qt::AlignCenter);
    EXPECT_EQ(captioned->textFormat(), Qt::PlainText);

    EXPECT_EQ(MakeBevel(&form, QRect(8, 8, 52, 52))->frameStyle(), QFrame::Box | QFrame::Raised);
    EXPECT_EQ(MakeBevel(&form, QRect(8, 8, 52, 52), QFrame::Sunken)->frameStyle(),
              QFrame::Box | QFrame::Sunken);
    EXPECT_EQ(MakeFrame(&form, QRect(0, 0, 800, 2), QFrame::HLine | QFrame::Sunken)->frameStyle(),
              QFrame::HLine | QFrame::Sunken);
}

TEST_F(WidgetFactory, ButtonsTakeTheirSizeAndSpeedButtonsToggleOnlyWhenAsked) {
    EXPECT_EQ(MakeButton(&form, QStringLiteral("Exit"), 432, 240)->geometry(),
              QRect(432, 240, 75, 25));
    EXPECT_EQ(MakeButton(&form, QStringLiteral("Prev"), QRect(300, 25, 40, 25))->geometry(),
              QRect(300, 25, 40, 25));

    form.show();
    QToolButton* toggle =
        MakeSpeedButton(&form, QRect(432, 16, 29, 29), QStringLiteral("Toggle Wireframe"), true);
    QToolButton* zoom = MakeSpeedButton(&form, QRect(464, 16, 29, 29), QStringLiteral("Zoom"));
    toggle->show();
    zoom->show();
    EXPECT_EQ(toggle->toolTip(), QStringLiteral("Toggle Wireframe"));
    EXPECT_EQ(toggle->geometry(), QRect(432, 16, 29, 29));
    EXPECT_FALSE(toggle->autoRaise());
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_TRUE(toggle->isChecked());
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_FALSE(toggle->isChecked());
    QTest::mouseClick(zoom, Qt::LeftButton);
    EXPECT_FALSE(zoom->isChecked());

    QToolButton* arrow = MakeArrowButton(&form, Qt::LeftArrow, QRect(149, 160, 23, 22));
    EXPECT_EQ(arrow->arrowType(), Qt::LeftArrow);
    EXPECT_EQ(arrow->geometry(), QRect(149, 160, 23, 22));
    form.hide();
}

TEST_F(WidgetFactory, RadiosAndGauges) {
    QRadioButton* sized = MakeRadio(&form, QStringLiteral("Artillery"), 16, 104);
    EXPECT_EQ(sized->pos(), QPoint(16, 104));
    EXPECT_EQ(sized->size(), sized->sizeHint());
    EXPECT_GT(sized->width(), QFontMetrics(sized->font()).horizontalAdvance(sized->text()));

    QProgressBar* gauge = MakeGauge(&form, QRect(632, 362, 100, 17));
    EXPECT_EQ(gauge->geometry(), QRect(632, 362, 100, 17));
    EXPECT_EQ(gauge->minimum(), 0);
    EXPECT_EQ(gauge->maximum(), 100);
    EXPECT_EQ(gauge->value(), 0);
    EXPECT_EQ(gauge->text(), QStringLiteral("0%"));
}

}  // namespace
