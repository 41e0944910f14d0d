#pragma once
// The console face's list and diagnose commands over the process-wide seams.

struct ConsoleCommands;

void AddFleetCommands(ConsoleCommands& commands);
