#pragma once
// One tick of the bar, run by the window procedure for every tick message.
void runFrameTick();
