// The stage messages: start, miss, time up, clear and all clear. Each starts
// its sound at the first frame of its sequence; frame = `sequenceFrame`.
#pragma once
#include "base/common.h"

const i32 ALL_CLEAR_FIRST_FRAME = 131;

void DrawStartMessage(i32 frame);
void DrawMissMessage(i32 frame);
void DrawTimeUpMessage(i32 frame);
void DrawClearMessage(i32 frame);
void DrawAllClearMessage(i32 frame);

void RegisterMessagesGlobals(void);
