// The red emblem that fades in and out on black before the game begins.
#pragma once

void runIntro();
