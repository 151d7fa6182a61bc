#include "graphics/trig.h"

#include <cmath>

i32 sinTable[360];
i32 cosTable[360];

void BuildTrigTables(void) {
    // The literal, not full-precision pi: the tables must match the values
    // the key flights were tuned with (sinTable[359] = -1143).
    for (int i = 0; i < 360; i++) {
        double a = i * 3.141592 / 180;
        sinTable[i] = (i32)(sin(a) * 65536);
        cosTable[i] = (i32)(cos(a) * 65536);
    }
}
