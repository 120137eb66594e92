#include "dialog/dialog_screen.h"

void dialogTick(GameLoopState&) {}
void drawDialog(const GameLoopState&) {}
