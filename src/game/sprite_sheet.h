// Where each sprite sits in the sprite sheet (QUENMARSH_TILES_FILE). The game cuts its sprites
// from here and the asset generator draws them here, so the two can never disagree.
#pragma once

enum SpriteId {
    SpriteIconHeat,
    SpriteIconFire,
    SpriteIconWater,
    SpriteIconFood,
    SpriteIconHealth,
    SpriteCloseIcon,
    SpriteActionButton1,
    SpriteActionButton2,
    SpriteActionButton3,
    SpriteActionButton4,
    SpriteChip,
    spriteCount
};

struct SpriteRect {
    const char* name;
    int x, y, w, h;
};

// In the order the sprites are cut. The sheet keeps the action buttons by columns
// (button 2 under button 1), while the panel shows them by rows.
constexpr SpriteRect spriteRects[spriteCount] = {
    {"iconHeat", 0, 0, 16, 16},
    {"iconFire", 0, 16, 16, 16},
    {"iconWater", 0, 32, 16, 16},
    {"iconFood", 0, 48, 16, 16},
    {"iconHealth", 0, 64, 16, 16},
    {"closeIcon", 0, 80, 16, 16},
    {"actionButton1", 16, 0, 135, 135},
    {"actionButton2", 16, 135, 135, 135},
    {"actionButton3", 151, 0, 135, 135},
    {"actionButton4", 151, 135, 135, 135},
    {"chipSprite", 299, 15, 86, 53},
};

constexpr int mapCanvasWidth = 640;
constexpr int mapCanvasHeight = 480;
