// The rules of the puzzle: stepping, the trail, what the player's cell does,
// the stage clock, and the clear and miss tests. The play scene calls RunStep,
// TickClock and RunCellRules once a frame, in that order.
#pragma once
#include "play/tilerules.h"

// The step countdown, then one step by the held direction when play allows it.
void RunStep(void);
// One second off the stage clock when a second has passed since the last tick.
void TickClock(void);
// The player's cell and the end-of-stage tests, once per frame of play.
void RunCellRules(void);
