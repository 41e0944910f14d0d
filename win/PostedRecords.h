#pragma once
// Posted records: messages whose lParam is a heap record that the receiving
// window owns (the device thread's replies, the mapping dialog's record).
// A dialog hands such a record to the OnRecord entry that claims it. One
// that no entry claims, or that is still queued when its window goes, is
// freed here, in one place, so that a record is never leaked.

#include <windows.h>

#include <span>

struct PostedRecordKind {
    UINT message;
    void (*free)(LPARAM record);
};

template <class T> constexpr PostedRecordKind PostedRecord(UINT message)
{
    return {message, [](LPARAM record) { delete reinterpret_cast<T*>(record); }};
}

// The program's record messages, set by the composition root before any
// dialog runs; the table must outlive every dialog.
void SetPostedRecordKinds(std::span<const PostedRecordKind> kinds);

// Frees lParam when the message carries a record; true when it does.
bool FreePostedRecord(UINT message, LPARAM lParam);

// Frees the records still queued for a window that is going (its other
// queued messages would be lost with it anyway).
void FreeQueuedRecords(HWND window);
