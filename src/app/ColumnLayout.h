#pragma once
// What the settings file keeps of the grid's columns, without knowing the grid: the column model,
// which stands above the shell, implements it.
#include <QString>

struct TColumnLayoutEntry {
    QString FieldName;
    int Order = 0;  // 0 unsorted, 1 ascending, 2 descending
    int OrderNum = 0;
    bool Visible = true;
    int Width = 120;
};

class IColumnLayout {
public:
    virtual ~IColumnLayout() = default;
    virtual int LayoutCount() const = 0;
    virtual TColumnLayoutEntry LayoutEntry(int position) const = 0;
    // Sets the sort, visibility and width of the column at this position (the field name stays).
    virtual void SetLayoutEntry(int position, const TColumnLayoutEntry& entry) = 0;
    // Position of the column of this field, as the column model finds it.
    virtual int LayoutFind(const QString& fieldName) const = 0;
    virtual void LayoutMove(int from, int to) = 0;
};
