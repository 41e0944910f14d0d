#include "platform/Platform.h"

namespace {
PlatformServices g_services;
}

void SetPlatform(const PlatformServices& services) { g_services = services; }

const PlatformServices& GetPlatform() { return g_services; }
