#include "base/scene.h"

u8 sceneId;
u8 scenePhase[SCENE_COUNT];
