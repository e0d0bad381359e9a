// What both windows take from the core: the size a caption shrinks to, and the message of a handler
// that stopped on an error nobody foresaw.
#include "app/ControlTable.h"
#include "app/EventRoutes.h"
#include "app/MainWindow.h"
#include "support/TestServices.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace orvanta::test {
namespace {

TEST(ViewRulesTest, ACaptionShrinksToTheLargestSizeThatFitsButNotBelowTheFloor)
{
    // The caption is 10 units wide per point; its label has `room` units.
    const struct {
        double designed;
        int room;
        double fitted;
    } cases[] = {{9.75, 100, 9.75}, {9, 90, 9}, {9, 89, 8.75}, {18, 126, 12.5}, {9.75, 20, 7}, {6, 10, 6}};
    for (const auto& c : cases) {
        const auto widthAt = [](double points) { return static_cast<int>(points * 10 + 0.5); };
        EXPECT_EQ(app::fittedCaptionPoints(c.designed, c.room, widthAt), c.fitted)
            << c.designed << " " << c.room;
    }
}

TEST(ViewRulesTest, EnterAndSpaceClickButtonsAndEnterOpensTheChosenId)
{
    using app::ActionKey;
    using app::KeyAction;
    for (const auto& d : app::controlTable()) {
        const bool button = d.kind == app::ControlKind::Button;
        EXPECT_EQ(app::keyAction(d.id, ActionKey::Enter), button ? KeyAction::Click
                                                          : d.id == app::ControlId::Lstidbox
                                                              ? KeyAction::DoubleClick
                                                              : KeyAction::None)
            << d.name;
        EXPECT_EQ(app::keyAction(d.id, ActionKey::Space), button ? KeyAction::Click : KeyAction::None)
            << d.name;
    }
}

TEST(ViewRulesTest, AHandlerThatThrowsLeavesTheUnexpectedErrorMessage)
{
    TestServices services;
    app::MainWindow window{services.services()};
    app::runEvent(window, [] { throw std::runtime_error("ディスクがいっぱいです"); });
    EXPECT_EQ(window.Txtmassage.text(),
              u"思いがけない誤りで操作を最後まで行えませんでした：ディスクがいっぱいです");
}

} // namespace
} // namespace orvanta::test
