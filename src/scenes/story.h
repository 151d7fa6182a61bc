#pragma once
#include "shell/common.h"

u8 InitStory(void);
u8 RunStory(void);
u8 ExitStory(void);
