#include "progress/progress.h"

Progress progress = defaultProgress();

Progress defaultProgress()
{
    return Progress{0, 0, 0.0f, 0.0f, 255.0f, 255.0f, 255.0f, 0, 0};
}

void loadProgress() { progress = defaultProgress(); }
void saveProgress() {}
