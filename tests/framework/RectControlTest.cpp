#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "framework/PropertySet.h"
#include "framework/RectControl.h"
#include "framework/Rectangle.h"
#include "framework/Window.h"

namespace {

TEST(AnchoredGeometryTest, LockedSidesKeepTheirDistanceToTheWindow) {
    // Designed at 10,20 100x50 in a 300x200 area, shown in a 400x260 one: 100 wider, 60 taller.
    const fw::Rect design{10, 20, 100, 50};
    struct Case {
        const char* name;
        fw::Locks locks;
        fw::Rect expected;
    };
    const std::vector<Case> cases = {
        {"no locks stays", {false, false, false, false}, {10, 20, 100, 50}},
        {"left only stays", {true, false, false, false}, {10, 20, 100, 50}},
        {"top only stays", {false, true, false, false}, {10, 20, 100, 50}},
        {"left and top stay", {true, true, false, false}, {10, 20, 100, 50}},
        {"right only moves", {false, false, true, false}, {110, 20, 100, 50}},
        {"left and right stretch", {true, false, true, false}, {10, 20, 200, 50}},
        {"bottom only moves", {false, false, false, true}, {10, 80, 100, 50}},
        {"top and bottom stretch", {false, true, false, true}, {10, 20, 100, 110}},
        {"right and bottom move", {false, false, true, true}, {110, 80, 100, 50}},
        {"all four stretch", {true, true, true, true}, {10, 20, 200, 110}},
        {"left, right, bottom", {true, false, true, true}, {10, 80, 200, 50}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fw::AnchoredGeometry(design, c.locks, 300, 200, 400, 260), c.expected);
        // At the design size every combination gives the design rectangle.
        EXPECT_EQ(fw::AnchoredGeometry(design, c.locks, 300, 200, 300, 200), design);
    }
}

TEST(AnchoredGeometryTest, ShrinkingNeverGivesANegativeSize) {
    const fw::Rect design{10, 20, 100, 50};
    const fw::Locks stretch{true, true, true, true};
    const fw::Rect r = fw::AnchoredGeometry(design, stretch, 300, 200, 150, 100);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.width, 0);
    EXPECT_EQ(r.height, 0);
    // A control that only moves keeps its size and may go off the left.
    const fw::Rect moved =
        fw::AnchoredGeometry(design, {false, false, true, false}, 300, 200, 150, 200);
    EXPECT_EQ(moved, (fw::Rect{-140, 20, 100, 50}));
}

// A window built the way the program builds its own: layout values, then controls.
class StripWindow : public fw::Window {
public:
    std::shared_ptr<fw::Rectangle> strip = std::make_shared<fw::Rectangle>();

protected:
    void Layout() override {
        // With a minimum size, as the program's window has; a window without one is covered by
        // the window's own tests.
        ApplyPropertySet(fw::PropertySetBuilder()
                             .Int32("Width", 300)
                             .Int32("Height", 200)
                             .Int32("MinWidth", 100)
                             .Int32("MinHeight", 100)
                             .Build());
    }
    void CreateControls() override {
        strip->ApplyPropertySet(fw::PropertySetBuilder()
                                    .Int32("Left", 10)
                                    .Int32("Top", 180)
                                    .Int32("Width", 280)
                                    .Int32("Height", 20)
                                    .Boolean("LockLeft", true)
                                    .Boolean("LockRight", true)
                                    .Boolean("LockBottom", true)
                                    .Build());
        Register("Rectangle1", strip);
    }
};

TEST(RectControlTest, WidgetFollowsTheWindowAreaByItsLocks) {
    auto window = std::make_shared<StripWindow>();
    window->Constructor();
    QCoreApplication::processEvents();
    ASSERT_NE(window->strip->Widget(), nullptr);
    EXPECT_EQ(window->strip->Widget()->geometry(), QRect(10, 180, 280, 20));

    for (const auto& [width, height] :
         std::vector<std::pair<fw::Int32, fw::Int32>>{{500, 260}, {150, 120}, {300, 200}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        window->ResizeContent(width, height);
        QCoreApplication::processEvents();
        ASSERT_EQ(window->ContentWidth(), width);
        ASSERT_EQ(window->ContentHeight(), height);
        // 10 pixels from the left and right edges, 0 from the bottom.
        EXPECT_EQ(window->strip->Widget()->geometry(), QRect(10, height - 20, width - 20, 20));
    }
    // The design rectangle itself does not change.
    EXPECT_EQ(window->strip->DesignGeometry(), (fw::Rect{10, 180, 280, 20}));
    window->Close();
}

}  // namespace
