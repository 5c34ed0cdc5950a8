// Choosing and taking the 800 x 600 mode over a scripted display.
#include "platform/DisplayModes.h"

#include <gtest/gtest.h>

using platform::DisplayMode;

namespace
{

class ScriptedDisplay : public platform::IDisplayModes
{
  public:
    explicit ScriptedDisplay(std::vector<DisplayMode> list) : list_(std::move(list)) {}
    std::vector<DisplayMode> modes() override { return list_; }
    bool change(const DisplayMode &mode, bool withRefresh) override
    {
        requests.push_back({mode, withRefresh});
        const bool ok = withRefresh ? acceptRefresh : acceptWithoutRefresh;
        if (ok)
            changed = true;
        return ok;
    }
    void restore() override
    {
        ++restores;
        changed = false;
    }

    std::vector<std::pair<DisplayMode, bool>> requests;
    bool acceptRefresh = true;
    bool acceptWithoutRefresh = true;
    bool changed = false;
    int restores = 0;

  private:
    std::vector<DisplayMode> list_;
};

TEST(SwitchDisplayMode, WalksTheListInOrder)
{
    // Rate, then depth, compared with the best so far: the later 32-bit modes
    // take over from 85 Hz at 16 bits and the rate climbs again from 60.
    ScriptedDisplay display({{800, 600, 60, 16}, {800, 600, 85, 16}, {800, 600, 60, 32}, {800, 600, 75, 32}});
    EXPECT_TRUE(platform::SwitchDisplayMode(display, 800, 600));
    ASSERT_EQ(display.requests.size(), 1u);
    EXPECT_EQ(display.requests[0].first, (DisplayMode{800, 600, 75, 32}));
    EXPECT_TRUE(display.requests[0].second);
}

TEST(SwitchDisplayMode, IgnoresOtherSizesAndEqualModes)
{
    ScriptedDisplay display({{1024, 768, 120, 32},
                             {800, 600, 60, 32},
                             {640, 480, 85, 32},
                             {800, 600, 60, 32},
                             {800, 601, 75, 32},
                             {600, 800, 75, 32}});
    EXPECT_TRUE(platform::SwitchDisplayMode(display, 800, 600));
    ASSERT_EQ(display.requests.size(), 1u);
    EXPECT_EQ(display.requests[0].first, (DisplayMode{800, 600, 60, 32}));
}

TEST(SwitchDisplayMode, CapsTheRateAndRetriesWithoutIt)
{
    ScriptedDisplay display({{800, 600, 60, 32}, {800, 600, 100, 32}});
    display.acceptRefresh = false;
    EXPECT_TRUE(platform::SwitchDisplayMode(display, 800, 600));
    ASSERT_EQ(display.requests.size(), 2u);
    EXPECT_EQ(display.requests[0].first, (DisplayMode{800, 600, 85, 32}));
    EXPECT_TRUE(display.requests[0].second);
    EXPECT_EQ(display.requests[1].first.refresh, 85u); // the record is the same, the rate just not asked for
    EXPECT_FALSE(display.requests[1].second);
}

TEST(SwitchDisplayMode, FailsWhenNothingFitsOrEverythingIsRefused)
{
    ScriptedDisplay none({{1024, 768, 60, 32}, {640, 480, 60, 32}});
    EXPECT_FALSE(platform::SwitchDisplayMode(none, 800, 600));
    EXPECT_TRUE(none.requests.empty());

    ScriptedDisplay empty({});
    EXPECT_FALSE(platform::SwitchDisplayMode(empty, 800, 600));

    ScriptedDisplay refusing({{800, 600, 60, 32}});
    refusing.acceptRefresh = refusing.acceptWithoutRefresh = false;
    EXPECT_FALSE(platform::SwitchDisplayMode(refusing, 800, 600));
    EXPECT_EQ(refusing.requests.size(), 2u);

    // A mode that beats neither zero rate nor zero depth is never taken.
    ScriptedDisplay blank({{800, 600, 0, 0}});
    EXPECT_FALSE(platform::SwitchDisplayMode(blank, 800, 600));
}

} // namespace
