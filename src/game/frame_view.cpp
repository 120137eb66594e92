#include "game/frame_view.h"

#include <cmath>
#include <cstring>

#include "care/panel_layout.h"
#include "dialog/dialog_screen.h"
#include "game/screen_flow.h"
#include "progress/progress.h"
#include "render/care_screen.h"

namespace {

// Graphics cards snap a vertex to 1/16 pixel or finer: an end closer than this to the edge
// between two pixels' centres may fall on either side of it.
constexpr float snapMargin = 1.0f / 16.0f;

uint64_t mix(uint64_t digest, uint32_t value)
{
    // FNV-1a, a byte at a time.
    for (int i = 0; i < 4; ++i) {
        digest ^= (value >> (8 * i)) & 0xffu;
        digest *= 1099511628211ull;
    }
    return digest;
}

uint32_t bitsOf(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

uint64_t particleDigest(const CareState& care)
{
    uint64_t digest = 14695981039346656037ull;
    const int32_t count = care.particleCount < particlePoolSize ? care.particleCount : particlePoolSize;
    for (int32_t i = 0; i < count; ++i) {
        const Particle& p = care.particles[i];
        if (!p.active) continue;
        digest = mix(digest, (uint32_t)i);
        digest = mix(digest, bitsOf(p.x));
        digest = mix(digest, bitsOf(p.y));
        digest = mix(digest, bitsOf((float)p.life / (float)p.maxLife));
    }
    return digest;
}

void viewCareScreen(FrameView& view, const GameLoopState& state)
{
    const CareState& care = state.care;
    view.buttonsShown = care.buttonsEnabled;
    view.hover = care.buttonsEnabled ? state.hover : -1;
    for (int i = 0; i < meterBarCount; ++i) {
        // A pixel is filled when its centre lies left of the end.
        const float edge = meterFillEnd(state.displayWidth, progress.*meterBars[i].meter) - 0.5f;
        view.barColumns[i] = (int32_t)std::ceil(edge);
        if (std::fabs(edge - std::round(edge)) < snapMargin) view.barNearEdge[i] = edge + 0.5f;
    }
    view.chipX = care.chipX;
    view.chipY = care.chipY;
    view.hop = care.hop;
    view.particles = particleDigest(care);
    view.goodCount = progress.goodCount;
    view.deadCount = progress.deadCount;
}

void viewDialog(FrameView& view, const GameLoopState& state)
{
    view.dialogNode = state.currentNode;
    const int32_t count = dialogOptionCount(dialogTable[state.currentNode]);
    view.hover = state.hover >= 1 && state.hover <= count ? state.hover : 0;
}

static_assert(sizeof meterBars / sizeof meterBars[0] == meterBarCount, "one view entry per bar");

}  // namespace

FrameView frameView(const GameLoopState& state)
{
    FrameView view{};
    view.screen = state.screen;
    view.fadeLevel = state.fadeLevel < 0 ? 0 : state.fadeLevel > fadeBlack ? fadeBlack : state.fadeLevel;
    switch (state.screen) {
    case Screen::Care: viewCareScreen(view, state); break;
    case Screen::Dialog: viewDialog(view, state); break;
    case Screen::Start: break;
    }
    return view;
}

bool sameFrame(const FrameView& a, const FrameView& b)
{
    for (int i = 0; i < meterBarCount; ++i) {
        if (a.barColumns[i] != b.barColumns[i] || a.barNearEdge[i] != b.barNearEdge[i]) return false;
    }
    return a.screen == b.screen && a.fadeLevel == b.fadeLevel && a.dialogNode == b.dialogNode &&
           a.hover == b.hover && a.buttonsShown == b.buttonsShown && a.chipX == b.chipX &&
           a.chipY == b.chipY && a.hop == b.hop && a.particles == b.particles &&
           a.goodCount == b.goodCount && a.deadCount == b.deadCount;
}
