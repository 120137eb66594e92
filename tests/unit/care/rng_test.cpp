#include <gtest/gtest.h>

#include "care/care_state.h"

namespace {

// First three steps from known states; the state keeps the shifted value, not the product.
TEST(Rng, FirstOutputsFromKnownStates)
{
    const struct {
        uint64_t start;
        uint64_t states[3];
        uint64_t outputs[3];
    } cases[] = {
        {0, {0, 0, 0}, {0, 0, 0}},  // all-zero state: zero for ever
        {1,
         {0x2000001ULL, 0x4004000802801ULL, 0xd004003202803ULL},
         {0x47e4ce4b896cdd1dULL, 0xabcfa6a8e079651dULL, 0xb9d10d8feb731f57ULL}},
        {0x0123456789abcdefULL,
         {0xa69cf1e9aa4d68fcULL, 0xebff37a39f313bf6ULL, 0x4a3b99c8687bf0c0ULL},
         {0x7c9482472cb6708cULL, 0xd5705692bf1f28deULL, 0x88b71e3ba5e005c0ULL}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "start " << std::hex << c.start);
        Rng rng{c.start};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(rngNext(rng), c.outputs[i]) << "step " << i;
            EXPECT_EQ(rng.state, c.states[i]) << "step " << i;
        }
    }
}

// Set-up takes one step and keeps its product; a zero start is replaced by a live one.
TEST(Rng, SeedKeepsTheProductOfOneStep)
{
    const struct {
        uint64_t start;
        uint64_t state;
    } cases[] = {
        {12345, 0x9857fb32c9efb5e4ULL},
        {1, 0x47e4ce4b896cdd1dULL},
        {0, 0x0d83b3e29a21487aULL},
    };
    for (const auto& c : cases) {
        Rng rng{};
        seedRng(rng, c.start);
        EXPECT_EQ(rng.state, c.state) << "start " << c.start;
    }
}

}  // namespace
