#pragma once
// The colour a stored filter's category (TFILTERBASE.FB_CATEGORY, Catalog::Cat*) is drawn in: in
// the filter combo and in the filter list.
#include <QColor>
#include <QString>

// Matched exactly and case-sensitively; any other code (the empty one included) is black.
QColor CategoryColor(const QString& category);
