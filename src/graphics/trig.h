// Sine and cosine of each whole degree as 16.16 fixed point: the title builds
// them in its set-up, the key flights read them.
#pragma once
#include "base/common.h"

extern i32 sinTable[360];
extern i32 cosTable[360];

void BuildTrigTables(void);
