#include "filters/uFilterCategory.h"

#include "storage/CatalogNames.h"

QColor CategoryColor(const QString& category)
{
    if (category == Catalog::CatBasic) return QColor(0, 128, 0);
    // The player's own filters: a grey that still reads on a white list (silver did not).
    if (category == Catalog::CatUser) return QColor(100, 100, 100);
    if (category == Catalog::CatCategories) return QColor(80, 80, 0);
    if (category == Catalog::CatRelatedSets) return QColor(128, 0, 128);
    if (category == Catalog::CatProperties) return QColor(96, 96, 160);
    return QColor(0, 0, 0);
}
