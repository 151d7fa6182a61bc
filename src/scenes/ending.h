#pragma once
#include "shell/common.h"

u8 InitEnding(void);
u8 RunEnding(void);
u8 ExitEnding(void);
