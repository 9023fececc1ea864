#pragma once
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

// The active conditions of the card list as the card list needs them; the condition list of the
// filters room implements it, so storage does not depend on the filters.
class TCardListConditions {
public:
    virtual ~TCardListConditions() = default;
    // The WHERE clause (with its keyword) or empty.
    virtual QString BuildWhereClause() const = 0;
    // True when a condition's field name contains the text (the card-link join is then needed).
    virtual bool AnyFieldContains(const QString& text) const = 0;
    // Values the clause refers to as :NAME parameters (typed text is bound, never pasted).
    virtual QList<QPair<QString, QVariant>> BoundValues() const { return {}; }
};
