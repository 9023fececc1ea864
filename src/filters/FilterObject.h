#pragma once
// What an item of the filter combo stands for: a property, a category or a stored filter.
#include <QMetaType>
#include <QString>

struct TFilterObject {
    QString Id;        // TULAJDONSAG_ID, KATEGORIA_ID, or FB_ID as decimal text
    QString Category;  // a filter category code (Catalog::Cat*), matched exactly
};
Q_DECLARE_METATYPE(TFilterObject)
