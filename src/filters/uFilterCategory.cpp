#include "filters/uFilterCategory.h"

QColor CategoryColor(const QString& code)
{
    if (code == FC_ALAP) return QColor(0, 128, 0);
    if (code == FC_USER) return QColor(192, 192, 192);
    if (code == FC_KAT) return QColor(80, 80, 0);
    if (code == FC_OSSZ) return QColor(128, 0, 128);
    if (code == FC_TUL) return QColor(96, 96, 160);
    return QColor(0, 0, 0);
}
