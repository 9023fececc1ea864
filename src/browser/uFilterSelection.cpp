#include "browser/uFilterSelection.h"

#include "app/Messages.h"
#include "app/WidgetUtil.h"
#include "browser/uGridPage.h"
#include "browser/ufMain.h"
#include "filters/FilterObject.h"
#include "filters/uQPList.h"
#include "storage/CatalogNames.h"
#include "widgets/CheckListCombo.h"
#include "browser/uPicturePage.h"
#include "filters/ufFilters.h"
#include "filters/ufKapcs.h"
#include "filters/ufQueries.h"
#include "storage/Exceptions.h"
#include "storage/FormOpenPars.h"

#include <QAction>
#include <QDialog>
#include <QScopeGuard>
#include <QSet>
#include <QTabWidget>
#include <QLineEdit>

namespace {
// Which item of the combo an object is, across a refill: properties and categories by their own
// id, stored filters by theirs whatever category they moved to.
QString ComboKey(const TFilterObject& o)
{
    if (o.Category == Catalog::CatProperties || o.Category == Catalog::CatCategories) return o.Category + u':' + o.Id;
    return QStringLiteral("F:") + o.Id;
}

// The combo's conditions in QPList rebuilt from its checked items.
void ApplyCheckedItems(TCheckListCombo& combo, TQPList& list)
{
    list.RemovePiecesOfKind(pkStoredFilter);
    list.RemovePiecesOfKind(pkProperty);
    for (int i = 0; i < combo.Count(); ++i) {
        const QVariant data = combo.ItemData(i);
        if (!combo.IsChecked(i) || !data.canConvert<TFilterObject>()) continue;
        const TFilterObject o = data.value<TFilterObject>();
        // A player's own filter ("01USER") applies its rows as a basic one does.
        if (o.Category == Catalog::CatBasic || o.Category == Catalog::CatRelatedSets || o.Category == Catalog::CatUser) {
            bool ok = false;
            const qint64 id = o.Id.toLongLong(&ok);
            LoadStoredFilter(AM->qGetFilter, ok ? id : -1, pkStoredFilter, list);
        } else if (o.Category == Catalog::CatCategories || o.Category == Catalog::CatProperties) {
            list.AddPiece(MakePiece(pkProperty, QString(), QString(), o.Id, QStringLiteral("S"), QString(), 0));
        }
    }
}
}  // namespace

void TfMain::FillFilterCombo()
{
    // What was checked stays checked where its item is still there, and keeps narrowing; a checked
    // item that is gone takes its condition with it.
    QSet<QString> checked;
    for (int i = 0; i < cbFilter->Count(); ++i) {
        const QVariant data = cbFilter->ItemData(i);
        if (cbFilter->IsChecked(i) && data.canConvert<TFilterObject>()) checked.insert(ComboKey(data.value<TFilterObject>()));
    }
    bool lost = false;
    {
        cbFilter->BeginUpdate();
        const auto end = qScopeGuard([this] { cbFilter->EndUpdate(); });
        FillFilterComboItems();
        int found = 0;
        for (int i = 0; i < cbFilter->Count(); ++i) {
            const QVariant data = cbFilter->ItemData(i);
            if (!data.canConvert<TFilterObject>() || !checked.contains(ComboKey(data.value<TFilterObject>()))) continue;
            cbFilter->SetChecked(i, true);
            ++found;
        }
        lost = found < checked.size();
        cbFilter->SetText(cbFilter->CheckedText());
    }
    if (lost && QPList) {
        const TWaitCursor wait;
        ApplyCheckedItems(*cbFilter, *QPList);
        AM->ReQuery();
    }
}

void TfMain::FillFilterComboItems()
{
    cbFilter->Clear();
    auto addAll = [this](TQuery& q, int idCol, int nameCol, int categoryCol, const QString& category) {
        q.Close();
        q.Open();
        for (q.First(); !q.Eof(); q.Next()) {
            TFilterObject o{q.Fields(idCol).AsString(), categoryCol < 0 ? category : q.Fields(categoryCol).AsString()};
            cbFilter->AddItem(q.Fields(nameCol).AsString(), QVariant::fromValue(o), CategoryColor(o.Category));
        }
        q.Close();
    };
    addAll(AM->qTulQuery, 0, 1, -1, Catalog::CatProperties);
    addAll(AM->qKatQuery, 0, 1, -1, Catalog::CatCategories);
    addAll(AM->qFilterQuery, 0, 2, 1, QString());
}

void TfMain::ClearFilters()
{
    for (const auto& box : ts2->QuickFilterBoxes)
        if (box) box->clear();
    cbFilter->BeginUpdate();
    cbFilter->UncheckAll();
    cbFilter->EndUpdate();
    cbFilter->SetText(QStringLiteral("[]"));
    QPList->RemoveSelectablePieces();
    ClearSearch();
}

void TfMain::CheckFilterInCombo(qint64 filterId)
{
    const QString key = QString::number(filterId);
    QString text;
    cbFilter->BeginUpdate();
    cbFilter->UncheckAll();
    for (int i = 0; i < cbFilter->Count(); ++i) {
        const QVariant data = cbFilter->ItemData(i);
        if (!data.canConvert<TFilterObject>() || data.value<TFilterObject>().Id != key) continue;
        cbFilter->SetChecked(i, true);
        text = cbFilter->ItemText(i);
        break;
    }
    cbFilter->EndUpdate();
    cbFilter->SetText(QStringLiteral("[") + text + QStringLiteral("]"));
}

void TfMain::cbFilterChange()
{
    if (cbFilter->LastCurrentIndex() < 0) return;
    const TWaitCursor wait;
    ApplyCheckedItems(*cbFilter, *QPList);
    AM->ReQuery();
}

void TfMain::acDisableFilterExecute()
{
    ClearFilters();
    AM->ReQuery();
}

void TfMain::acDarabFilterExecute()
{
    QPList->RemovePiecesOfKind(pkOwnedCount);
    if (acDarabFilter->isChecked())
        QPList->AddPiece(MakePiece(pkOwnedCount, QStringLiteral("L_DB"), QStringLiteral(">"), QStringLiteral("0"),
                                   QStringLiteral("I"), QString(), 0));
    AM->ReQuery();
}

void TfMain::acLeidezesFilterExecute()
{
    QPList->RemovePiecesOfKind(pkSummoning);
    // The god's code goes in as an SQL text literal through the one quoting function: a
    // double-quoted word would be read as a column name first.
    if (acLeidezesFilter->isChecked())
        QPList->AddPiece(MakePiece(pkSummoning, QuoteSqlText(DeckSummoningTech), QStringLiteral("LIKE"),
                                   QStringLiteral("TLAP.L_LEIDEZESTECH"), QStringLiteral("S"), QString(), 0));
    AM->ReQuery();
}

void TfMain::acFilterExecute()
{
    TFormOpenPars pars;
    pars.Mode = 0;
    ShowFilterList(pars);
    FillFilterCombo();
}

void TfMain::acInsertFilterExecute()
{
    TFormOpenPars pars;
    pars.Mode = 1;
    if (ShowQueryEditor(pars) == QDialog::Accepted) FillFilterCombo();
}

void TfMain::acInsertKapcsExecute()
{
    if (ShowRelatedCards() == QDialog::Accepted) FillFilterCombo();
}

void TfMain::LapSzuresClick(qint64 filterId)
{
    // The linked filter replaces every selection and box text; the quick filters stay.
    const TWaitCursor wait;
    ClearFilters();
    LoadStoredFilter(AM->qGetFilter, filterId, pkStoredFilter, *QPList);
    CheckFilterInCombo(filterId);
    AM->ReQuery();
}

bool TfMain::LinkFilterToCurrentCard(qint64 filterId)
{
    if (!FConnected || AM->qLapok.IsEmpty() || filterId < 0) return false;
    const qint64 card = AM->qLapok.FieldByName(QStringLiteral("L_ID")).AsLargeInt();
    bool stored = false;
    bool gone = false;
    try {
        // Checked and written under one write lock: another copy of the program can neither link
        // the filter to the card in between (its label would show twice) nor delete the filter.
        TTransaction transaction(AM->ADOConnection, TTransaction::Immediate);
        gone = ScalarCount(QStringLiteral("SELECT COUNT(*) FROM TFILTERBASE WHERE FB_ID = :PFBID"), filterId, card) == 0;
        if (!gone && ScalarCount(QStringLiteral("SELECT COUNT(*) FROM TSZURESLAP WHERE SZL_FBID = :PFBID AND "
                                                "SZL_LID = :PLID"),
                                 filterId, card) == 0) {
            TCommand insert(&AM->ADOConnection);
            insert.SetSQL(QStringLiteral("INSERT INTO TSZURESLAP (SZL_FBID,SZL_LID) VALUES (:PFBID,:PLID)"));
            insert.SetParam(QStringLiteral("PFBID"), filterId);
            insert.SetParam(QStringLiteral("PLID"), card);
            insert.Execute();
            stored = true;
        }
        transaction.Commit();
    } catch (const EDatabaseError& e) {
        AM->ReportError(QStringLiteral("Am.RunCommand"), e.Message());
        stored = false;
    }
    if (gone) ShowWarning(QStringLiteral("A szűrőt időközben törölték a katalógusból, ezért nem csatolható."));
    if (pc->currentWidget() == ts3) ts3->SetPictureLayout();
    CurrentCardChanged();
    return stored;
}

qint64 TfMain::ScalarCount(const QString& sql, qint64 filterId, qint64 cardId)
{
    TQuery q(&AM->ADOConnection);
    q.SetSQL(sql);
    for (const QString& name : q.ParamNames()) q.SetParam(name, name == QLatin1String("PFBID") ? filterId : cardId);
    q.Open();
    return q.Fields(0).AsLargeInt();
}

void TfMain::sbInsLapFilterClick()
{
    if (!FConnected || AM->qLapok.IsEmpty()) return;
    TFormOpenPars pars;
    pars.Mode = 3;
    if (ShowFilterList(pars) == QDialog::Accepted && pars.ResultId >= 0) LinkFilterToCurrentCard(pars.ResultId);
}

void TfMain::acLapSzuresLinkExecute()
{
    if (pc->currentWidget() == ts3) ts3->SetPictureLayout();
    CurrentCardChanged();
}
