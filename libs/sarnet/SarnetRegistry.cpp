#include "libs/sarnet/SarnetRegistry.h"

#include "platform/Platform.h"

IRegistry* SarnetRegistry() { return GetPlatform().registry; }
