#include "win/PostedRecords.h"

namespace {
// Set before the dialogs run, read only on their thread afterwards.
std::span<const PostedRecordKind> g_kinds;
} // namespace

void SetPostedRecordKinds(std::span<const PostedRecordKind> kinds) { g_kinds = kinds; }

bool FreePostedRecord(UINT message, LPARAM lParam)
{
    for (const PostedRecordKind& kind : g_kinds) {
        if (kind.message == message) {
            if (lParam)
                kind.free(lParam);
            return true;
        }
    }
    return false;
}

void FreeQueuedRecords(HWND window)
{
    for (const PostedRecordKind& kind : g_kinds) {
        MSG msg;
        while (::PeekMessageW(&msg, window, kind.message, kind.message, PM_REMOVE | PM_NOYIELD))
            kind.free(msg.lParam);
    }
}
