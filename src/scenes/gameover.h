#pragma once
#include "shell/common.h"

u8 InitGameOver(void);
u8 RunGameOver(void);
u8 ExitGameOver(void);
