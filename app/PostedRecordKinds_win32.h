#pragma once
// The program's posted-record messages, handed to the window framework at
// start-up so that a record no dialog claims is freed.

#include "win/PostedRecords.h"

#include <span>

std::span<const PostedRecordKind> ProgramPostedRecords();
