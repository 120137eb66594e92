#include "care/care_tick.h"

void careTick(GameLoopState&) {}
