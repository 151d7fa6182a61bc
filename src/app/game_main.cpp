// The game's entry point. The working directory is the game directory.
#include "platform/platform.h"
#include "shell/shell.h"

int main() {
    PlatformLoadControllerMappings(".");
    return WinMain();
}
