// Tests of the colour button: palette lookup, popup placement and hit test, choice and event order.
#include "controls/ColorButton.h"

#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kurvex {
namespace {

// Row order, and a duplicated colour selects its first cell.
TEST(ColorPaletteTest, ColourFindsItsFirstCell)
{
    const std::pair<TColor, int> cases[] = {
        {0x804000, 0},  {0xFF8080, 7},  {0xFF0080, 8},  {0x808000, 16},
        {0x808040, 17}, {0x008080, 22}, {0x00FF00, 25}, {0x0000FF, 36},
        {0xFF00FF, 50}, {0x000000, 72}, {0xFFFFFF, 79}, {0x123456, kPaletteNone},
    };
    for (const auto& [colour, index] : cases) {
        EXPECT_EQ(PaletteIndexOf(colour), index) << std::hex << colour;
    }
}

struct PlacementCase {
    const char* name;
    QRect button;
    QPoint expected;
};

TEST(ColorPopupPlacementTest, BelowAboveAndShifted)
{
    const QRect screen(0, 0, 1000, 800);
    const QSize popup(164, 188);
    const PlacementCase cases[] = {
        {"below", QRect(100, 100, 45, 22), QPoint(99, 122)},
        {"flipped above near the bottom", QRect(100, 700, 45, 22), QPoint(99, 512)},
        {"moved up to the bottom edge while still below the top", QRect(100, 600, 45, 22), QPoint(99, 612)},
        {"shifted left at the right edge", QRect(950, 100, 45, 22), QPoint(836, 122)},
        {"never left of the screen", QRect(0, 100, 45, 22), QPoint(0, 122)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PopupPosition(c.button, popup, screen), c.expected) << c.name;
    }
}

TEST(ColorPopupTest, LayoutAndHitTest)
{
    ColorPopup popup;
    EXPECT_EQ(popup.width(), 8 * 18 + 2 * 2 + 2 * 8);
    EXPECT_EQ(popup.height(), 10 * 18 + 4 * 2);
    EXPECT_EQ(popup.cellRect(0), QRect(10, 4, 18, 18));
    EXPECT_EQ(popup.cellRect(9), QRect(28, 22, 18, 18));
    EXPECT_EQ(popup.hitTest(popup.cellRect(9).center()), 9);
    EXPECT_EQ(popup.hitTest(popup.cellRect(79).center()), 79);
    EXPECT_EQ(popup.hitTest(QPoint(5, 30)), kPaletteNone);                 // left of the spacing
    EXPECT_EQ(popup.hitTest(QPoint(popup.width() - 3, 30)), kPaletteNone); // right of the grid
    EXPECT_EQ(popup.hitTest(QPoint(30, 1)), kPaletteNone);

    popup.setDefaultText(QStringLiteral("&Standard"));
    EXPECT_EQ(popup.hitTest(popup.defaultButtonRect().center()), kPaletteDefaultButton);
    EXPECT_GT(popup.cellRect(0).top(), popup.defaultButtonRect().bottom());
    EXPECT_EQ(popup.hitTest(popup.cellRect(0).center()), 0);
}

// Records the button's signals in the order they came.
struct EventLog {
    std::vector<std::string> events;
    explicit EventLog(ColorButton& b)
    {
        QObject::connect(&b, &ColorButton::changed, [this] { events.push_back("change"); });
        QObject::connect(&b, &ColorButton::dropChanged, [this] { events.push_back("drop"); });
        QObject::connect(&b, &ColorButton::defaultSelected, [this] { events.push_back("default"); });
    }
};

class ColorButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(300, 200);
        button = new ColorButton(&window);
        button->move(20, 20);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void open() { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10)); }

    QWidget window;
    ColorButton* button = nullptr;
};

TEST_F(ColorButtonTest, ChoosingAColourChangesThenCloses)
{
    EventLog log(*button);
    open(); // any press on the button drops the palette
    ASSERT_TRUE(button->DroppedDown());
    ColorPopup* popup = button->popup();
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->selectedIndex(), 72);                       // black
    QTest::mouseClick(popup, Qt::LeftButton, {}, QPoint(3, 50)); // a release off the cells keeps it open
    EXPECT_TRUE(button->DroppedDown());
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->cellRect(36).center());
    EXPECT_EQ(button->SelectionColor(), 0x0000FFu);
    EXPECT_FALSE(button->DroppedDown());
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(log.events, (std::vector<std::string>{"drop", "change", "drop"}));
}

TEST_F(ColorButtonTest, ChoosingTheSelectedCellFiresNoChange)
{
    button->setSelectionColor(0x808000);
    EventLog log(*button);
    button->setDroppedDown(true);
    ColorPopup* popup = button->popup();
    EXPECT_EQ(popup->selectedIndex(), 16);
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->cellRect(16).center());
    EXPECT_EQ(log.events, (std::vector<std::string>{"drop", "drop"}));
    EXPECT_FALSE(button->DroppedDown());
}

TEST_F(ColorButtonTest, ColourFromCodeFiresChangeOnlyOnANewValue)
{
    QSignalSpy spy(button, &ColorButton::changed);
    button->setSelectionColor(0);
    EXPECT_EQ(spy.count(), 0);
    button->setSelectionColor(0x123456);
    button->setSelectionColor(0x123456);
    EXPECT_EQ(spy.count(), 1);
    button->setDroppedDown(true);
    EXPECT_EQ(button->popup()->selectedIndex(), kPaletteNone); // not a palette colour
}

TEST_F(ColorButtonTest, KeysChooseTheHoveredCellOrCloseWithoutChoice)
{
    button->setDroppedDown(true);
    ColorPopup* popup = button->popup();
    const QPoint at = popup->cellRect(5).center();
    QMouseEvent move(QEvent::MouseMove, at, popup->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(popup, &move);
    ASSERT_EQ(popup->hoverIndex(), 5);
    QTest::keyClick(popup, Qt::Key_Left); // arrows do nothing
    EXPECT_TRUE(popup->isVisible());
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(button->SelectionColor(), 0xFF6666u);
    EXPECT_FALSE(button->DroppedDown());

    EventLog log(*button);
    button->setDroppedDown(true);
    QTest::keyClick(button->popup(), Qt::Key_Escape);
    EXPECT_FALSE(button->DroppedDown());
    EXPECT_EQ(button->SelectionColor(), 0xFF6666u);

    button->setDefaultText(QStringLiteral("&Standard"));
    button->setDroppedDown(true);
    QTest::keyClick(button->popup(), Qt::Key_S, Qt::AltModifier); // the default text's accelerator
    EXPECT_FALSE(button->DroppedDown());
    EXPECT_EQ(log.events, (std::vector<std::string>{"drop", "drop", "drop", "default", "drop"}));
}

TEST_F(ColorButtonTest, RefusedDropActsAsGroupedSpeedButton)
{
    QObject::connect(button, &ColorButton::dropChanging, [](bool* allowed) { *allowed = false; });
    auto* other = new ColorButton(&window);
    other->move(100, 20);
    other->show();
    QObject::connect(other, &ColorButton::dropChanging, [](bool* allowed) { *allowed = false; });
    button->setGroupIndex(1);
    other->setGroupIndex(1);
    QSignalSpy clicks(button, &ColorButton::clicked);
    open();
    EXPECT_FALSE(button->DroppedDown());
    EXPECT_TRUE(button->Down());
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(other, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(other->Down());
    EXPECT_FALSE(button->Down());
}

} // namespace
} // namespace kurvex
