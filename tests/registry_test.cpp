// The simulator reads and writes globals by name: formats and parsing must be exact.
#include <gtest/gtest.h>

#include "graphics/sprites.h"
#include "input/input.h"
#include "base/registry.h"
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

TEST(Registry, ScalarsArraysElementsAndFields) {
    RegisterAllGlobals();
    scenePhase[0] = 1;
    scenePhase[5] = 2;
    EXPECT_EQ(Format("scenePhase"), "1,0,0,0,0,2");
    EXPECT_EQ(Format("scenePhase[5]"), "2");
    EXPECT_EQ(Format("scenePhase[6]"), "<unknown>");
    EXPECT_EQ(Format("scenePhase[x]"), "<unknown>");
    mousePos.x = -12;
    EXPECT_EQ(Format("mousePos.x"), "-12");
    spriteState.scaleX = 0.1f;
    EXPECT_EQ(Format("spriteState.scaleX"), "0.100000001");
    scenePhase[0] = scenePhase[5] = 0;
}

TEST(Registry, AssignsByNameWithTypeWidths) {
    RegisterAllGlobals();
    ASSERT_TRUE(Assign("sceneId", "3"));
    EXPECT_EQ(sceneId, 3);
    ASSERT_TRUE(Assign("sceneId", "259"));  // a byte keeps its low 8 bits
    EXPECT_EQ(sceneId, 3);
    ASSERT_TRUE(Assign("scenePhase", "1,2,0,1,2,0"));
    EXPECT_EQ(scenePhase[4], 2);
    ASSERT_TRUE(Assign("scenePhase[1]", "0"));
    EXPECT_EQ(scenePhase[1], 0);
    ASSERT_TRUE(Assign("mousePos.y", "-5"));
    EXPECT_EQ(mousePos.y, -5);
    EXPECT_FALSE(Assign("sceneId", "abc"));
    EXPECT_FALSE(Assign("noSuchGlobal", "1"));
    sceneId = 0;
    for (u8& p : scenePhase) p = 0;
    mousePos = POINT{0, 0};
}
