#pragma once
// The registry the library stores into: its own Win32 registry inside
// Sarnet.dll, the process-wide seam in the native build.

class IRegistry;

IRegistry* SarnetRegistry();
