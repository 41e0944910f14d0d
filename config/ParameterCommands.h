#pragma once
// The console face's export and import commands over the process-wide seams.

struct ConsoleCommands;

void AddParameterCommands(ConsoleCommands& commands);
