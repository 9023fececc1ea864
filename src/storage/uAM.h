#pragma once
// The main data module: the one catalogue connection, the card list whose current row is the
// current card everywhere, the scratch query and command, and the fixed statements.
#include "storage/CardListConditions.h"
#include "storage/DbProvider.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QVariant>


// What the card list needs of the window that shows it; the main window registers one, tests
// register their own. Error reports go through it so that storage opens no window itself.
class TCardListHost {
public:
    virtual ~TCardListHost() = default;
    // The grid's quick-filter boxes become active conditions.
    virtual void RebuildQuickSearchPieces() {}
    // The grid's sort as an ORDER BY clause, or empty.
    virtual QString CardListOrderBy() { return QString(); }
    // The count label under the grid ("37 darab").
    virtual void SetCardCountCaption(const QString&) {}
    // The error dialog: a context line and the error message.
    virtual void ShowError(const QString& context, const QString& message) = 0;
    // A plain message box holding the error message alone.
    virtual void ShowPlainError(const QString& message) { ShowError(QString(), message); }
};

class TAM : public QObject {
    Q_OBJECT
public:
    // programDir: the folder of the running program; the catalogue is its DB/Velkor.db.
    explicit TAM(const QString& programDir, QObject* parent = nullptr);
    ~TAM() override;

    void SetHost(TCardListHost* host) { FHost = host; }
    TCardListHost* Host() const { return FHost; }
    // The active conditions the card list is filtered by (may be null: no conditions).
    void SetConditions(TCardListConditions* list) { FConditions = list; }
    TCardListConditions* Conditions() const { return FConditions; }

    const QString& ProgramDir() const { return FProgramDir; }
    QString CatalogFileName() const;
    // Another catalogue file (relative: to the program folder); empty gives back DB/Velkor.db.
    void SetCatalogFileName(const QString& fileName) { FCatalogFile = fileName; }

    // Opens the catalogue; true at once when already open. A failure shows the error dialog
    // with "Hiba a csatlakozás közben" and then abandons the caller's work with EAbort.
    bool Connect();
    bool Connected() const { return ADOConnection.Connected(); }

    QString BuildCardListSql() const;
    void ReQuery();

    bool RunCommand(const QString& sql);
    bool RunCommand(const QString& sql, qint64 value);
    // The same with named parameters: every value taken from the catalogue or the user is bound,
    // never pasted into the text. Error context "Am.RunCommand".
    bool RunCommand(const QString& sql, const QList<QPair<QString, QVariant>>& params);
    bool RunCommandString(const QString& sql, qint64 value);
    qint64 GetMaxValue(const QString& column, const QString& table);
    QString GetMaxValueText(const QString& column, const QString& table);
    QString GetFieldValue(const QString& table, const QString& keyColumn, const QVariant& keyValue,
                          const QString& resultColumn);
    int CountByKey(qint64 keyValue, const QString& table, const QString& keyColumn);

    // A new stored filter header; returns its FB_ID (the row just inserted), or -1 after the error
    // dialog "Am.InsertNewFilter". Run it inside the caller's transaction when rows follow.
    qint64 InsertNewFilter(const QString& name, const QString& category);
    // Removes a stored filter with its card links and rows, all or nothing; a failure is reported
    // once ("Am.RunCommand 2") and leaves the catalogue as it was.
    bool DeleteFilter(qint64 filterId);

    // A card's property and category links (an already linked id is silently ignored) and its
    // special abilities (qSpec reopened for the card).
    bool Tulajdonsag_Insert(qint64 cardId, const QString& linkedId);
    bool Tulajdonsag_Delete(qint64 cardId, const QString& linkedId);
    void OpenCardSpecials(qint64 cardId);

    // Stored decks. Each runs in one transaction: a failing statement leaves the catalogue as it
    // was, is shown once in the error dialog, and the result says so (false, resp. -1).
    // DeleteDeck removes the deck's card rows and its head.
    bool DeleteDeck(qint64 deckId);
    // A new deck with the source's main god and card rows under newName, without description;
    // returns the new deck's id, or -1 (also when the source deck is not in the catalogue).
    qint64 CopyDeck(qint64 sourceId, const QString& newName);

    TConnection ADOConnection;
    TQuery qLapok;  // the card list; its signals are the data source dsrLapok
    TQuery qTemp;
    TCommand commandTemp;

    // Fixed statements.
    TQuery qTulajd;
    TQuery qKategoria;
    TQuery qSajatMegj;
    TQuery qSpec;
    TQuery qFilterQuery;
    TQuery qTulQuery;
    TQuery qKatQuery;
    TQuery qGetFilter;
    TQuery qSzuresLap;
    TCommand cInsertFilterBase;
    TCommand cInsertFilter;
    TCommand qInsUjPakliFej;
    TCommand qMasolPakliFej;
    TCommand qMasolPakliLap;

    // Shows a failed statement in the error dialog under the context line.
    void ReportError(const QString& context, const QString& message) const;

private:
    bool RunGuarded(const QString& context, const QString& sql, const QList<QPair<QString, QVariant>>& named,
                    const QVariant* value);

    QString FProgramDir;
    QString FCatalogFile;
    TCardListHost* FHost = nullptr;
    TCardListConditions* FConditions = nullptr;
};

extern TAM* AM;

// The rows of a stored filter joined with their filter type; parameter PID is the filter id.
extern const QString GetFilterSql;
