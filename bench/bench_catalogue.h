#pragma once
// The program folder's catalogue opened the way the program opens it, for the benchmark lines.
#include "filters/uQPList.h"
#include "storage/uAM.h"

#include <cstdio>

// The card list sorted by name; errors go to stderr.
class TBenchHost : public TCardListHost {
public:
    QString CardListOrderBy() override { return QStringLiteral("ORDER BY L_NEV ASC"); }
    void ShowError(const QString& context, const QString& message) override
    {
        std::fprintf(stderr, "error: %s | %s\n", qPrintable(context), qPrintable(message));
    }
};

// Connected with an empty filter that a line may fill; the card list is not read yet.
struct TBenchCatalogue {
    explicit TBenchCatalogue(const QString& programDir) : Am(programDir)
    {
        Am.SetHost(&Host);
        Am.SetConditions(&Conditions);
        Am.Connect();
    }
    TBenchHost Host;
    TQPList Conditions;
    TAM Am;
};
