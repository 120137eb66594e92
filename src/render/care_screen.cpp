#include "render/care_screen.h"

void drawCareScreen(const GameLoopState&) {}
