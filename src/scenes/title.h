#pragma once
#include "shell/common.h"

u8 InitTitle(void);
u8 RunTitle(void);
u8 ExitTitle(void);
