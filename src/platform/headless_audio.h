// What the headless sound objects hold, for leak checks in the tests.
#pragma once

int HeadlessWaveObjects(void);
int HeadlessMusicObjects(void);
