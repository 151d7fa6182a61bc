#pragma once
#include "shell/common.h"

u8 InitEditor(void);
u8 RunEditor(void);
u8 ExitEditor(void);
