#pragma once
// The column model of the card grid: which card list fields are shown, in which order, how wide,
// and which of them sort the list.
#include <QString>
#include <vector>

enum TFieldOrders { ordNone = 0, ordAsc = 1, ordDesc = 2 };

class TColumnCollItem {
public:
    const QString& FieldName() const { return FFieldName; }
    // Setting the field name also fills an empty alias with the name after its first ".".
    void SetFieldName(const QString& name);
    const QString& FieldAlias() const { return FFieldAlias; }
    void SetFieldAlias(const QString& alias) { FFieldAlias = alias; }
    QString DisplayName() const { return FFieldName.isEmpty() ? QStringLiteral("TColumnCollItem") : FFieldName; }

    QString Caption;
    int Width = 100;
    bool Visible = true;
    TFieldOrders Order = ordNone;
    int OrderNum = 0;
    QString DisplayMask;
    bool CheckBox = false;

private:
    QString FFieldName;
    QString FFieldAlias;
};

class TColumnCols {
public:
    std::vector<TColumnCollItem> Cols;

    int Count() const { return int(Cols.size()); }
    TColumnCollItem& operator[](int i) { return Cols[size_t(i)]; }
    const TColumnCollItem& operator[](int i) const { return Cols[size_t(i)]; }
    TColumnCollItem& Add(const QString& fieldName, const QString& caption, int width = 100);
};
