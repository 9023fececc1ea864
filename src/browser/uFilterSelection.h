#pragma once
// The main window's side of filtering: the check-list filter combo, switching filters off and
// the two quick filters. Members of TfMain live in uFilterSelection.cpp.
// The category colours live with the filter windows, which sit below the main window.
#include "filters/uFilterCategory.h"
