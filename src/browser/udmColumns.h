#pragma once
// The column data module: the grid's column model cCols and the operations on it.
#include "app/ColumnLayout.h"
#include "browser/ColumnColl.h"

class TdmColumns : public IColumnLayout {
public:
    TdmColumns();  // the nine default columns

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

    // The layout the settings file keeps.
    int LayoutCount() const override { return cCols.Count(); }
    TColumnLayoutEntry LayoutEntry(int position) const override;
    void SetLayoutEntry(int position, const TColumnLayoutEntry& entry) override;
    int LayoutFind(const QString& fieldName) const override { return FindColumn(fieldName); }
    void LayoutMove(int from, int to) override { MoveColumn(from, to); }
};

extern TdmColumns* dmColumns;
