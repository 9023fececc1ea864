// The related-card sets window: every card listed with its id, moves between the two lists only,
// ids that travel with their items, the search, and a set stored in one transaction exactly as
// the stored filter rows expect, or not at all.
#include "FilterWindowFixture.h"

#include "filters/DataListBox.h"
#include "filters/uQPList.h"
#include "filters/ufKapcs.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>

namespace {

class RelatedSetsTest : public FilterWindowTest {
protected:
    std::unique_ptr<TfKapcs> Open()
    {
        auto w = std::make_unique<TfKapcs>();
        w->FormShow();
        return w;
    }
    static int IndexOfId(TDataListBox* list, qint64 id)
    {
        for (int i = 0; i < list->count(); ++i)
            if (list->Value(i) == id) return i;
        return -1;
    }
    // Selects the cards of these ids in the list and nothing else.
    static void SelectIds(TDataListBox* list, std::initializer_list<qint64> ids)
    {
        list->clearSelection();
        for (qint64 id : ids) {
            const int i = IndexOfId(list, id);
            ASSERT_GE(i, 0) << id;
            list->item(i)->setSelected(true);
        }
    }
    QString Rows(qint64 id)
    {
        return Scalar("SELECT group_concat(x, '|') FROM (SELECT F_FTID || ',' || F_FOID || ',' || F_VALUE || ',' || "
                      "F_ORDER || ',' || F_GROUP || ',[' || F_ANDOR || '],' || F_FIELDNAME || ',' || F_OPERATION || "
                      "',' || F_VALUETYPE AS x FROM TFILTER WHERE F_FBID = " +
                      QString::number(id) + " ORDER BY F_ORDER)");
    }
    QString CardText(qint64 id)
    {
        return Scalar("SELECT '(' || L_LAPSZAM || ') ' || L_NEV FROM TLAP WHERE L_ID = " + QString::number(id));
    }
};

}  // namespace

TEST_F(RelatedSetsTest, AllCardsAreListedWithTheirIdsAndTheSetStartsEmpty)
{
    auto w = Open();
    EXPECT_EQ(w->windowTitle(), "Összetartozó lapok");
    EXPECT_EQ(w->eNev->text(), "Új kapcsolat neve");
    EXPECT_EQ(w->eNev->maxLength(), 120);
    EXPECT_TRUE(w->eNev->font().bold());
    EXPECT_TRUE(w->lb2->font().bold());
    EXPECT_EQ(w->findChild<QPlainTextEdit*>(), nullptr);  // no description box whose text would vanish
    ASSERT_EQ(w->lb1->count(), Count("TLAP"));
    EXPECT_EQ(w->lb2->count(), 0);
    for (qint64 id : {1, 5, 9, 346}) {
        const int i = IndexOfId(w->lb1, id);
        ASSERT_GE(i, 0);
        EXPECT_EQ(w->lb1->item(i)->text(), CardText(id));
    }
    for (int i = 1; i < w->lb1->count(); ++i)
        ASSERT_LE(w->lb1->Compare(w->lb1->item(i - 1)->text(), w->lb1->item(i)->text()), 0) << i;
}

TEST_F(RelatedSetsTest, ASetOfIdsFiveAndNineStoresTheTwoRows)
{
    auto w = Open();
    w->eNev->setText("Ikrek – Őrző és Ügyes");
    SelectIds(w->lb1, {9, 5});
    w->KapcsListbox_DragDrop(w->lb2, w->lb1);
    ASSERT_EQ(w->lb2->count(), 2);
    EXPECT_EQ(w->lb1->count(), Count("TLAP") - 2);
    EXPECT_EQ(IndexOfId(w->lb1, 5), -1);
    const qint64 first = w->lb2->Value(0), second = w->lb2->Value(1);
    EXPECT_EQ(QSet<qint64>({first, second}), QSet<qint64>({5, 9}));

    const qint64 before = Count("TFILTERBASE");
    w->btnOK->click();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(Count("TFILTERBASE"), before + 1);
    const qint64 id = w->SavedFilterId();
    EXPECT_EQ(Scalar("SELECT FB_NAME || '/' || FB_CATEGORY FROM TFILTERBASE WHERE FB_ID = " + QString::number(id)),
              "Ikrek – Őrző és Ügyes/04OSSZ");
    // In the order of the set list: its first item carries no connective.
    EXPECT_EQ(Rows(id), QString("12,-1,%1,0,0,[],L_ID,=,I|12,-1,%2,1,0,[OR],L_ID,=,I").arg(first).arg(second));

    // Applied, the set narrows the card list to exactly those cards.
    TQPList list;
    LoadStoredFilter(AM->ADOConnection, int(id), pkStoredFilter, list);
    EXPECT_EQ(list.BuildWhereClause(), QString("WHERE ((TLAP.L_ID = %1)OR(TLAP.L_ID = %2))\r\n").arg(first).arg(second));
}

TEST_F(RelatedSetsTest, AnEmptySetStoresAHeaderWithoutRows)
{
    auto w = Open();
    w->btnOKClick();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(Scalar("SELECT FB_NAME FROM TFILTERBASE WHERE FB_ID = " + QString::number(w->SavedFilterId())),
              "Új kapcsolat neve");
    EXPECT_EQ(Count("TFILTER WHERE F_FBID = " + QString::number(w->SavedFilterId())), 0);
}

TEST_F(RelatedSetsTest, ADropOntoTheListItStartedFromIsRefused)
{
    auto w = Open();
    QListWidget stranger;
    EXPECT_FALSE(w->KapcsListbox_DragOver(w->lb1, w->lb1));
    EXPECT_FALSE(w->KapcsListbox_DragOver(w->lb2, w->lb2));
    EXPECT_FALSE(w->KapcsListbox_DragOver(w->lb2, &stranger));
    EXPECT_FALSE(w->KapcsListbox_DragOver(w->lb2, nullptr));
    EXPECT_TRUE(w->KapcsListbox_DragOver(w->lb2, w->lb1));
    EXPECT_TRUE(w->KapcsListbox_DragOver(w->lb1, w->lb2));

    SelectIds(w->lb1, {3});
    const int count = w->lb1->count();
    w->KapcsListbox_DragDrop(w->lb1, w->lb1);
    EXPECT_EQ(w->lb1->count(), count);
    EXPECT_EQ(w->lb2->count(), 0);
    EXPECT_GE(IndexOfId(w->lb1, 3), 0);
}

TEST_F(RelatedSetsTest, CardsMovedBackReturnToTheirSortedPlaceWithTheirIds)
{
    auto w = Open();
    const int home = IndexOfId(w->lb1, 40);
    SelectIds(w->lb1, {40, 41, 300});
    w->KapcsListbox_DragDrop(w->lb2, w->lb1);
    SelectIds(w->lb2, {40});
    w->KapcsListbox_DragDrop(w->lb1, w->lb2);
    EXPECT_EQ(IndexOfId(w->lb1, 40), home);
    EXPECT_EQ(w->lb1->item(home)->text(), CardText(40));
    EXPECT_EQ(w->lb2->count(), 2);
    EXPECT_EQ(w->lb2->item(0)->text(), CardText(41));
    EXPECT_EQ(w->lb2->Value(0), 41);
}

TEST_F(RelatedSetsTest, TwoCardsOfTheSameNumberAndNameKeepTheirOwnIds)
{
    Exec("INSERT INTO TLAP (L_ID, L_LAPSZAM, L_NEV, L_VELKOR, L_LAPTIPUS) VALUES "
         "(9001, '777', 'Ikerlap', 'M001', 'L001'), (9002, '777', 'Ikerlap', 'M001', 'L001')");
    auto w = Open();
    SelectIds(w->lb1, {9002});
    w->KapcsListbox_DragDrop(w->lb2, w->lb1);
    ASSERT_EQ(w->lb2->count(), 1);
    EXPECT_EQ(w->lb2->Value(0), 9002);
    EXPECT_GE(IndexOfId(w->lb1, 9001), 0);
    SelectIds(w->lb1, {9001});
    w->KapcsListbox_DragDrop(w->lb2, w->lb1);
    EXPECT_EQ(QSet<qint64>({w->lb2->Value(0), w->lb2->Value(1)}), QSet<qint64>({9001, 9002}));
    w->btnOKClick();
    EXPECT_EQ(Scalar("SELECT group_concat(F_VALUE) FROM (SELECT F_VALUE FROM TFILTER WHERE F_FBID = " +
                     QString::number(w->SavedFilterId()) + " ORDER BY F_VALUE)"),
              "9001,9002");
}

TEST_F(RelatedSetsTest, EnterAndDoubleClickMoveTheSelectionToTheOtherList)
{
    auto w = Open();
    w->show();
    SelectIds(w->lb1, {12, 13});
    QTest::keyClick(w->lb1, Qt::Key_Return);
    EXPECT_EQ(w->lb2->count(), 2);
    SelectIds(w->lb2, {13});
    const int i = IndexOfId(w->lb2, 13);
    const QPoint at = w->lb2->visualItemRect(w->lb2->item(i)).center();
    // The events a real double-click brings: press, release, double-click, release.
    QWidget* vp = w->lb2->viewport();
    const QPointF global = vp->mapToGlobal(QPointF(at));
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease}) {
        const bool up = type == QEvent::MouseButtonRelease;
        QMouseEvent e(type, QPointF(at), global, Qt::LeftButton, up ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(vp, &e);
    }
    EXPECT_EQ(w->lb2->count(), 1);
    EXPECT_EQ(w->lb2->Value(0), 12);
    EXPECT_GE(IndexOfId(w->lb1, 13), 0);
}

TEST_F(RelatedSetsTest, TheSearchMakesTheFirstNameBeginningWithTheTextCurrentInAnyCase)
{
    Exec("INSERT INTO TLAP (L_ID, L_LAPSZAM, L_NEV, L_VELKOR, L_LAPTIPUS) VALUES "
         "(9001, '001', 'Ősi őrző', 'M001', 'L001'), (9002, '002', 'Vén ŐSI fa', 'M001', 'L001')");
    auto w = Open();
    SelectIds(w->lb1, {2});
    w->eKeres->setText("ősi");
    ASSERT_GE(w->lb1->currentRow(), 0);
    EXPECT_EQ(w->lb1->Value(w->lb1->currentRow()), 9001);  // not the one with it inside the name
    EXPECT_EQ(w->lb1->SelectedIndexes(), QList<int>{w->lb1->currentRow()});  // the card found is marked
    const int current = w->lb1->currentRow();
    w->eKeres->setText("001");  // a card number is not a name
    EXPECT_EQ(w->lb1->currentRow(), current);
    w->eKeres->setText("zzzzzz");
    EXPECT_EQ(w->lb1->currentRow(), current);
}

TEST_F(RelatedSetsTest, AFailedHeaderInsertWritesNothingAndKeepsTheWindowOpen)
{
    Exec("CREATE TRIGGER no_headers BEFORE INSERT ON TFILTERBASE BEGIN SELECT RAISE(ABORT, 'full'); END");
    const QString before = FilterTables();
    auto w = Open();
    SelectIds(w->lb1, {5, 9});
    w->KapcsListbox_DragDrop(w->lb2, w->lb1);
    w->btnOK->click();
    EXPECT_EQ(ErrorContexts(), QStringList{"Am.InsertNewFilter"});
    EXPECT_NE(w->result(), QDialog::Accepted);
    EXPECT_EQ(FilterTables(), before);
    EXPECT_EQ(w->lb2->count(), 2);
}

TEST_F(RelatedSetsTest, ARowInsertFailingMidwayLeavesNoHeaderAndNoRows)
{
    Exec("CREATE TRIGGER second_row BEFORE INSERT ON TFILTER WHEN NEW.F_ORDER = 1 BEGIN "
         "SELECT RAISE(ABORT, 'row refused'); END");
    const QString before = FilterTables();
    auto w = Open();
    SelectIds(w->lb1, {5, 9, 11});
    w->KapcsListbox_DragDrop(w->lb2, w->lb1);
    w->btnOK->click();
    EXPECT_EQ(Ui.Count(TUiKind::ErrorDialog), 1);
    EXPECT_NE(w->result(), QDialog::Accepted);
    EXPECT_EQ(FilterTables(), before);
    Exec("DROP TRIGGER second_row");
    w->btnOK->click();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(Count("TFILTER WHERE F_FBID = " + QString::number(w->SavedFilterId())), 3);
}

TEST_F(RelatedSetsTest, TheSetIdIsTheRowJustInserted)
{
    Exec("CREATE TRIGGER other_writer AFTER INSERT ON TFILTERBASE WHEN NEW.FB_NAME <> 'más' BEGIN "
         "INSERT INTO TFILTERBASE (FB_NAME, FB_CATEGORY) VALUES ('más', '00ALAP'); END");
    const qint64 id = AM->InsertNewFilter("Közvetlen", "04OSSZ");
    EXPECT_EQ(Scalar("SELECT FB_NAME FROM TFILTERBASE WHERE FB_ID = " + QString::number(id)), "Közvetlen");
    EXPECT_EQ(Scalar("SELECT MAX(FB_ID) FROM TFILTERBASE").toLongLong(), id + 1);  // the other writer's
    auto w = Open();
    w->eNev->setText("Ablakból");
    SelectIds(w->lb1, {5});
    w->KapcsListbox_DragDrop(w->lb2, w->lb1);
    w->btnOKClick();
    const QString saved = QString::number(w->SavedFilterId());
    EXPECT_EQ(Scalar("SELECT FB_NAME || FB_CATEGORY FROM TFILTERBASE WHERE FB_ID = " + saved), "Ablakból04OSSZ");
    EXPECT_EQ(Count("TFILTER WHERE F_FBID = " + saved), 1);
    EXPECT_EQ(Count("TFILTER WHERE F_FBID IN (SELECT FB_ID FROM TFILTERBASE WHERE FB_NAME = 'más')"), 0);
}
