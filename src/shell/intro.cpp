#include "shell/intro.h"

void runIntro() {}
