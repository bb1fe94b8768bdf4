// Tests of the sample combo boxes and the multi-line button.
#include "controls/MultiLineButton.h"
#include "controls/StyleComboBoxes.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace kurvex {
namespace {

// Eight items each; a value above the maximum (7 and 4) is ignored, but the user may pick any item.
TEST(StyleComboTest, ValueAboveTheMaximumIsIgnored)
{
    FillStyleComboBox fill;
    EXPECT_EQ(fill.itemText(7), QStringLiteral("Ashurado 8"));
    fill.setFillStyle(7);
    fill.setFillStyle(9);
    fill.setFillStyle(-1);
    EXPECT_EQ(fill.FillStyle(), 7);
    EXPECT_EQ(fill.currentIndex(), 7);

    LineStyleComboBox line;
    EXPECT_EQ(line.count(), 8);
    EXPECT_EQ(line.LineStyle(), 2);
    line.setLineStyle(5);
    EXPECT_EQ(line.LineStyle(), 2);
    emit line.activated(6);
    EXPECT_EQ(line.LineStyle(), 6);
}

TEST(FillStyleComboTest, StylesMapToThePlatformHatches)
{
    EXPECT_EQ(QtBrushStyle(0), Qt::SolidPattern);
    EXPECT_EQ(QtBrushStyle(1), Qt::NoBrush);
    EXPECT_EQ(QtBrushStyle(6), Qt::CrossPattern);
    EXPECT_EQ(FillStyleOf(4), BrushStyle::FDiagonal);
    EXPECT_EQ(FillStyleIndex(BrushStyle::DiagCross), 7);
    // The forward diagonal runs down from left to right, as the platform's hatch does.
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter(&img).fillRect(img.rect(), QBrush(Qt::black, QtBrushStyle(4)));
    auto black = [&img](int x, int y) { return img.pixelColor(x, y) == Qt::black ? 1 : 0; };
    int downward = 0;
    int upward = 0;
    for (int y = 1; y < 15; ++y) {
        for (int x = 1; x < 15; ++x) {
            downward += black(x, y) * black(x + 1, y + 1);
            upward += black(x, y) * black(x + 1, y - 1);
        }
    }
    EXPECT_GT(downward, 8);
    EXPECT_EQ(upward, 0);
}

TEST(LineWidthComboTest, WidthIsClampedAndMaximumRefills)
{
    LineWidthComboBox box;
    EXPECT_EQ(box.count(), 5);
    box.setLineWidth(3);
    EXPECT_EQ(box.currentIndex(), 2);
    box.setLineWidth(0);
    EXPECT_EQ(box.LineWidth(), 1);
    EXPECT_EQ(box.currentIndex(), 0);
    box.setLineWidth(9);
    EXPECT_EQ(box.LineWidth(), 5);
    box.setLineWidth(2);
    box.setMaxLineWidth(3);
    EXPECT_EQ(box.count(), 3);
    EXPECT_EQ(box.itemText(2), QStringLiteral("Ancho 3"));
    EXPECT_EQ(box.LineWidth(), 2);
    EXPECT_EQ(box.currentIndex(), 1);
    box.setLineWidth(3);
    box.setMaxLineWidth(2);
    EXPECT_EQ(box.LineWidth(), 2);
}

TEST(LineWidthComboTest, PickStoresTheValueBeforeTheChangeSignal)
{
    LineWidthComboBox box;
    int seen = 0;
    QObject::connect(&box, &StyleComboBoxBase::changed, [&] { seen = box.LineWidth(); });
    QSignalSpy clicks(&box, &StyleComboBoxBase::clicked);
    box.setCurrentIndex(3);
    emit box.activated(3);
    EXPECT_EQ(seen, 4);
    EXPECT_EQ(clicks.count(), 1);
    QSignalSpy changes(&box, &StyleComboBoxBase::changed);
    box.setLineWidth(2); // from code: no change signal
    EXPECT_EQ(changes.count(), 0);
}

// Circles and squares come filled and hollow, pluses (arm above the centre) and crosses thin and thick.
TEST(LineStyleComboTest, MarkersFilledHollowAndThick)
{
    LineStyleComboBox box;
    const bool centreInked[] = {true, false, true, false, true, true, true, true};
    const bool armInked[] = {true, false, true, false, true, true, false, false};
    int ink[8] = {};
    for (int i = 0; i < 8; ++i) {
        QImage img(40, 17, QImage::Format_RGB32); // centre (20, 8)
        img.fill(Qt::white);
        QPainter p(&img);
        box.drawItem(p, img.rect(), i, Qt::white);
        p.end();
        EXPECT_EQ(img.pixelColor(20, 8) != Qt::white, centreInked[i]) << "marker " << i;
        EXPECT_EQ(img.pixelColor(20, 5) != Qt::white, armInked[i]) << "marker " << i;
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                ink[i] += img.pixelColor(x, y) != Qt::white ? 1 : 0;
            }
        }
    }
    EXPECT_GT(ink[5], ink[4]);
    EXPECT_GT(ink[7], ink[6]);
}

TEST(LineWidthComboTest, SampleLineIsDrawnInLineColour)
{
    LineWidthComboBox box;
    box.setLineColor(0x0000FF);
    QImage img(100, 17, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    box.drawItem(p, QRect(0, 0, 100, 17), 2, Qt::white);
    p.end();
    EXPECT_EQ(img.pixelColor(50, 8), QColor(Qt::red));
    EXPECT_NE(img.pixelColor(8, 8), QColor(Qt::red)); // line starts at left + 6 + width
}

TEST(SMButtonTest, LongCaptionWraps)
{
    MultiLineButton button(QStringLiteral("&Aktuelle Einstellungen und Eingaben speichern"));
    button.resize(120, 50);
    EXPECT_GE(button.captionLineCount(), 2);
    EXPECT_FALSE(button.autoDefault());
    button.setWordWrap(false);
    EXPECT_EQ(button.captionLineCount(), 1);
}

} // namespace
} // namespace kurvex
