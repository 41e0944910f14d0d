#pragma once
// The console face's firmware update command over the process-wide seams.

struct ConsoleCommands;

void AddFirmwareCommands(ConsoleCommands& commands);
