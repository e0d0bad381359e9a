// The host's random source and clock.
#include "host/HostClock.h"
#include "host/HostRandomSource.h"

#include <array>
#include <gtest/gtest.h>

namespace orvanta::host {
namespace {

TEST(HostRandomSource, StaysBelowTheBoundAndReachesEveryValue)
{
    HostRandomSource random;
    for (std::uint32_t bound : {1u, 2u, 3u, 7u, 62u, 94u}) {
        std::vector<int> seen(bound, 0);
        for (int i = 0; i < 4000; ++i) {
            const std::uint32_t value = random.below(bound);
            ASSERT_LT(value, bound);
            ++seen[value];
        }
        for (std::uint32_t value = 0; value < bound; ++value) {
            EXPECT_GT(seen[value], 0) << value << " below " << bound;
        }
    }
    for (std::uint32_t bound : {0x80000001u, 0xFFFFFFFFu}) {
        for (int i = 0; i < 100; ++i) {
            EXPECT_LT(random.below(bound), bound);
        }
    }
}

TEST(HostRandomSource, UpperHalfIsNotFavoured)
{
    // With a bound of 3 * 2^30, taking a word modulo the bound would give each value below 2^30
    // twice the chance of the others and put 5/8 of the draws in the lower half.
    HostRandomSource random;
    constexpr std::uint32_t bound = 0xC0000000u;
    int low = 0;
    constexpr int draws = 20000;
    for (int i = 0; i < draws; ++i) {
        if (random.below(bound) < bound / 2) {
            ++low;
        }
    }
    EXPECT_NEAR(low, draws / 2, draws / 20);
}

TEST(HostClock, GivesAPlausibleLocalTime)
{
    const LocalTime now = HostClock().now();
    EXPECT_GE(now.year, 2024);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
    EXPECT_GE(now.day, 1);
    EXPECT_LE(now.day, 31);
    EXPECT_GE(now.hour, 0);
    EXPECT_LE(now.hour, 23);
    EXPECT_GE(now.minute, 0);
    EXPECT_LE(now.minute, 59);
    EXPECT_GE(now.second, 0);
    EXPECT_LE(now.second, 59);
}

} // namespace
} // namespace orvanta::host
