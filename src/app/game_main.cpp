// The game's entry point. The working directory is the game directory.
#include "shell/shell.h"

int main() { return WinMain(); }
