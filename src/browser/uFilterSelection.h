#pragma once
// The main window's side of filtering: the check-list filter combo, switching filters off and
// the two quick filters. Members of TfMain live in uFilterSelection.cpp.
#include <QColor>
#include <QString>

// The colour a filter category is drawn in, in the combo and in the filter list.
QColor CategoryColor(const QString& category);
