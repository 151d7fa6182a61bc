#pragma once
#include "shell/common.h"

u8 InitPlay(void);
u8 RunPlay(void);
u8 ExitPlay(void);
