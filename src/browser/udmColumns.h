#pragma once
// The column data module: the grid's column model cCols and the operations on it.
#include "browser/ColumnColl.h"

class TdmColumns {
public:
    TdmColumns();  // the nine design columns

    TColumnCols cCols;

    void ClearOrdering();
    // Position of the first column with this field name (exact); 0 when none has it.
    int FindColumn(const QString& fieldName) const;
    int CountOrdered() const;
    void MoveColumn(int from, int to);
    int NextOrderNum() const;
    QString BuildOrderBy() const;
    // A title click on the column of this field: starts a new sort (unless ctrlHeld adds a key)
    // or flips the direction of a column that already sorts.
    void TitleClick(const QString& fieldName, bool ctrlHeld);
    static QString OrderToText(TFieldOrders order);
};

extern TdmColumns* dmColumns;
