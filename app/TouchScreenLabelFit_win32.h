#pragma once
// The main list's labels whole at any DPI: an icon spacing wide and tall
// enough for every label's two lines in the list's font, so that no label
// wraps into a third line and loses its monitor line.

#include "win/ListView.h"

#include <string>
#include <vector>

// Widens the list's icon spacing where its default spacing (for its current
// icons) is too small for the labels; otherwise the default stays.
void FitTouchScreenLabels(const CListView& list, const std::vector<std::wstring>& labels);
