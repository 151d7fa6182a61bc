// The simulator reads and writes globals by name: formats and parsing must be exact.
#include "base/registry.h"

#include <gtest/gtest.h>

#include "graphics/sprites.h"
#include "input/input.h"
#include "shell/shell.h"

namespace {
std::string Format(const char* name) {
    int element = -1;
    const GlobalEntry* e = FindGlobal(name, &element);
    if (!e) return "<unknown>";
    char buffer[4096];
    FormatGlobal(e, element, buffer, sizeof buffer);
    return buffer;
}

bool Assign(const char* name, const char* value) {
    int element = -1;
    const GlobalEntry* e = FindGlobal(name, &element);
    return e && AssignGlobal(e, element, value);
}
}  // namespace

TEST(Registry, ScalarsArraysElementsAndFieldsByName) {
    RegisterAllGlobals();
    ASSERT_TRUE(Assign("scenePhase", "1,0,0,0,0,2"));
    EXPECT_EQ(Format("scenePhase"), "1,0,0,0,0,2");
    EXPECT_EQ(Format("scenePhase[5]"), "2");
    EXPECT_EQ(Format("scenePhase[6]"), "<unknown>");
    EXPECT_EQ(Format("scenePhase[x]"), "<unknown>");
    ASSERT_TRUE(Assign("scenePhase[5]", "0"));
    EXPECT_EQ(scenePhase[5], 0);
    ASSERT_TRUE(Assign("mousePos.x", "-12"));
    EXPECT_EQ(Format("mousePos.x"), "-12");
    f32 scale = spriteState.scaleX;
    spriteState.scaleX = 0.1f;
    EXPECT_EQ(Format("spriteState.scaleX"), "0.100000001");
    ASSERT_TRUE(Assign("sceneId", "259"));  // a byte keeps its low 8 bits
    EXPECT_EQ(sceneId, 3);
    EXPECT_FALSE(Assign("sceneId", "abc"));
    EXPECT_FALSE(Assign("noSuchGlobal", "1"));
    sceneId = 0;
    for (u8& p : scenePhase) p = 0;
    mousePos = POINT{0, 0};
    spriteState.scaleX = scale;
}
