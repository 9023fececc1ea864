#include "browser/ColumnColl.h"

void TColumnCollItem::SetFieldName(const QString& name)
{
    FFieldName = name;
    if (FFieldAlias.isEmpty()) {
        const int dot = name.indexOf(u'.');
        FFieldAlias = dot >= 0 ? name.mid(dot + 1) : name;
    }
}

TColumnCollItem& TColumnCols::Add(const QString& fieldName, const QString& caption, int width)
{
    TColumnCollItem item;
    item.SetFieldName(fieldName);
    item.Caption = caption;
    item.Width = width;
    Cols.push_back(item);
    return Cols.back();
}
