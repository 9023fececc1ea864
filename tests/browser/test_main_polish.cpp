// The main window as a player meets it: the deck's undo keys on every page, a filter combo that
// agrees with the active filter after a refill, and dialogs placed where they can be seen.
#include "TestCatalogue.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "app/WidgetUtil.h"
#include "browser/uDetailPage.h"
#include "browser/uGridPage.h"
#include "browser/ufMain.h"
#include "decks/ufmPakli.h"
#include "filters/uQPList.h"
#include "app/uSettings.h"
#include "browser/uPicturePage.h"
#include "browser/udmColumns.h"
#include "browser/ufTulSel.h"
#include "decks/ufPakliBong.h"
#include "decks/ufUjPakli.h"
#include "filters/ufFilters.h"
#include "filters/ufKapcs.h"
#include "filters/ufQueries.h"
#include "refdata/ufSpec.h"
#include "refdata/ufTulajd.h"
#include "storage/uAM.h"
#include "widgets/CheckListCombo.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QDir>
#include <QFile>

namespace {

class MainPolish : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program = std::make_unique<TProgram>(Cat.ProgramDir());
        Program->Create();
    }
    void TearDown() override { Program.reset(); }

    void ShowActive()
    {
        fMain->show();
        fMain->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(fMain));
    }
    void Exec(const QString& sql)
    {
        TCommand c(&AM->ADOConnection);
        c.SetSQL(sql);
        c.Execute();
    }
    TCheckListCombo* Combo() { return fMain->cbFilter; }
    int IndexOf(const QString& text)
    {
        for (int i = 0; i < Combo()->Count(); ++i)
            if (Combo()->ItemText(i) == text) return i;
        return -1;
    }
    // As the player does it: the list dropped down, a click on the item's row.
    void Click(const QString& text)
    {
        const int i = IndexOf(text);
        ASSERT_GE(i, 0) << text.toStdString();
        Combo()->showPopup();
        QAbstractItemView* view = Combo()->view();
        const QModelIndex index = view->model()->index(i, 0);
        view->scrollTo(index);
        const QPoint at = view->visualRect(index).center();
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
        Combo()->hidePopup();
    }
    QStringList Checked()
    {
        QStringList out;
        for (int i = 0; i < Combo()->Count(); ++i)
            if (Combo()->IsChecked(i)) out << Combo()->ItemText(i);
        return out;
    }
    int Cards() { return AM->qLapok.RecordCount(); }

    TTempCatalogue Cat;
    TTestUiHost Ui;
    std::unique_ptr<TProgram> Program;
};

}  // namespace

TEST_F(MainPolish, DeckUndoKeysWorkWhereverTheEditWasMade)
{
    ShowActive();
    fMain->OpenDeck(2);
    TfmPakli* frame = fMain->FindDeckFrame();
    ASSERT_NE(frame, nullptr);
    auto copies = [&](qint64 card) {
        const int row = frame->mdPakli.Find(card);
        return row < 0 ? 0 : frame->mdPakli.Row(row).DB;
    };
    const QKeyCombination undo = Qt::CTRL | Qt::Key_Z, redo = Qt::CTRL | Qt::Key_Y;
    auto press = [](QWidget* w, QKeyCombination key) { QTest::keyClick(w, key.key(), key.keyboardModifiers()); };

    // Added on the card table, undone and redone there, then undone from the detail page.
    fMain->acTs2Execute();
    fMain->grQuery->setFocus();
    AM->qLapok.Locate("L_LAPSZAM", "002");
    const qint64 card = AM->qLapok.FieldByName("L_ID").AsLargeInt();
    press(fMain->grQuery, Qt::Key_Insert);
    ASSERT_EQ(copies(card), 1);
    press(fMain->grQuery, undo);
    EXPECT_EQ(copies(card), 0);
    press(fMain->grQuery, redo);
    EXPECT_EQ(copies(card), 1);
    fMain->acTs1Execute();
    press(fMain->ts1, undo);
    EXPECT_EQ(copies(card), 0);

    // "+" in the deck's search box, undone from the same box.
    fMain->pc->setCurrentWidget(frame->parentWidget());
    frame->pcPakli->setCurrentWidget(frame->tsSzerk);
    frame->cbLapKeres->setCurrentIndex(0);
    const qint64 searched = frame->SelectedSearchCard();
    ASSERT_GE(searched, 0);
    const int before = copies(searched);
    frame->cbLapKeres->lineEdit()->setFocus();
    QTest::keyClick(frame->cbLapKeres->lineEdit(), '+');
    ASSERT_EQ(copies(searched), before + 1);
    press(frame->cbLapKeres->lineEdit(), undo);
    EXPECT_EQ(copies(searched), before);
    press(frame->cbLapKeres->lineEdit(), redo);
    EXPECT_EQ(copies(searched), before + 1);
}

TEST_F(MainPolish, FilterComboKeepsItsMarksAcrossARefill)
{
    const int all = Cards();
    Click("Gyors");
    const int narrowed = Cards();
    ASSERT_LT(narrowed, all);

    // A lookup entry added elsewhere refills the combo: the mark, the box text and the list stay.
    Exec("INSERT INTO TTULAJDONSAG (TULAJDONSAG_ID, TULAJDONSAG_NEV) VALUES ('T900', 'Új tulajdonság')");
    fMain->FillFilterCombo();
    EXPECT_GE(IndexOf("Új tulajdonság"), 0);
    EXPECT_EQ(Checked(), QStringList{"Gyors"});
    EXPECT_EQ(Combo()->Text(), "[Gyors]");
    EXPECT_EQ(Cards(), narrowed);

    // The next check in the combo adds to "Gyors" rather than dropping it.
    Click("Új tulajdonság");
    EXPECT_EQ(Checked(), QStringList({"Gyors", "Új tulajdonság"}));
    EXPECT_EQ(Cards(), 0);  // no card has the new property
    Click("Új tulajdonság");
    EXPECT_EQ(Cards(), narrowed);

    // A renamed item is still checked under its new name; a deleted one takes its condition with it.
    Exec("UPDATE TTULAJDONSAG SET TULAJDONSAG_NEV = 'Fürge' WHERE TULAJDONSAG_ID = 'T005'");
    fMain->FillFilterCombo();
    EXPECT_EQ(Combo()->Text(), "[Fürge]");
    EXPECT_EQ(Cards(), narrowed);
    Exec("DELETE FROM TTULAJDONSAG WHERE TULAJDONSAG_ID = 'T005'");
    fMain->FillFilterCombo();
    EXPECT_TRUE(Checked().isEmpty());
    EXPECT_EQ(Combo()->Text(), "[]");
    EXPECT_EQ(Cards(), all);
}

TEST_F(MainPolish, DialogsOpenWhereThePlayerLooks)
{
    // The lookup editor, laid out only when shown, stands centred over the main window.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget owner;
    owner.setGeometry(screen.adjusted(20, 10, -60, -30));
    owner.show();
    {
        TfTulajd window(&owner);
        CenterOverOwner(&window);
        EXPECT_GT(window.width(), 200);
        EXPECT_LE((window.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 2);
    }
    // Centred on the screen the same way when the size comes from the layout.
    TfTulajd window(nullptr);
    CenterOnScreen(&window);
    EXPECT_LE((window.frameGeometry().center() - QGuiApplication::primaryScreen()->geometry().center()).manhattanLength(), 2);
}

TEST_F(MainPolish, EveryDialogFitsASmallScreenWithItsTitleBar)
{
    TFormOpenPars pars;
    InitFormOpenPars(pars);
    pars.Mode = 0;
    const TOpenDeck none = [](qint64) {};
    std::vector<std::unique_ptr<QWidget>> dialogs;
    dialogs.emplace_back(std::make_unique<TfTulajd>(fMain));
    dialogs.emplace_back(std::make_unique<TfQueries>(pars, fMain));
    dialogs.emplace_back(std::make_unique<TfFilters>(pars, fMain));
    dialogs.emplace_back(std::make_unique<TfKapcs>(fMain));
    dialogs.emplace_back(std::make_unique<TfSpec>(pars, fMain));
    dialogs.emplace_back(std::make_unique<TfTulSel>(fMain));
    dialogs.emplace_back(std::make_unique<TfUjPakli>(*AM, none, QString(), fMain));
    dialogs.emplace_back(std::make_unique<TfPakliBong>(*AM, none, QString(), fMain));
    dialogs.emplace_back(std::unique_ptr<QWidget>(fMain));
    const int titleBar = 32;
    for (const auto& d : dialogs) {
        if (!d->testAttribute(Qt::WA_Resized)) d->adjustSize();
        EXPECT_LE(d->width(), 1024) << d->objectName().toStdString();
        EXPECT_LE(d->height() + titleBar, 768) << d->objectName().toStdString() << " " << d->height();
    }
    dialogs.back().release();
}

TEST_F(MainPolish, HeaderMenuShowsAndHidesColumnsByTheirCaptions)
{
    const int first = 0;
    dmColumns->cCols[first].Caption = "Szám & név";
    const int shown = fMain->grQuery->model()->columnCount();
    std::unique_ptr<QMenu> menu(fMain->ts2->BuildColumnMenu(nullptr));
    ASSERT_EQ(menu->actions().size(), dmColumns->cCols.Count());
    QAction* a = menu->actions()[first];
    EXPECT_EQ(a->text(), "Szám && név");  // shown as written, no keyboard mark
    ASSERT_TRUE(a->isChecked());
    a->trigger();
    EXPECT_FALSE(dmColumns->cCols[first].Visible);
    EXPECT_EQ(fMain->grQuery->model()->columnCount(), shown - 1);

    // The last shown column stays.
    for (int i = 0; i < dmColumns->cCols.Count(); ++i) fMain->ts2->SetColumnVisible(i, false);
    EXPECT_EQ(fMain->grQuery->model()->columnCount(), 1);
    std::unique_ptr<QMenu> last(fMain->ts2->BuildColumnMenu(nullptr));
    int enabledChecked = 0;
    for (QAction* item : last->actions()) enabledChecked += item->isChecked() && item->isEnabled();
    EXPECT_EQ(enabledChecked, 0);
}

TEST_F(MainPolish, PictureModeAndSaveFolderAreRememberedBetweenRuns)
{
    QTemporaryDir out;
    fMain->ts3->SetPictureMode(pmQuarter);
    Ui.PushSaveFile(out.filePath("lista.csv"));
    fMain->acExportText->trigger();
    ASSERT_TRUE(QFile::exists(out.filePath("lista.csv")));
    EXPECT_TRUE(Ui.Of(TUiKind::Information).value(0).Text.contains(QDir::toNativeSeparators(out.filePath("lista.csv"))));
    fMain->close();
    Program.reset();
    SetLastSaveFolder(QString());

    TSettings settings;
    TdmColumns columns;
    ReadSettings(Cat.ProgramDir() + "/velkor.ini", settings, columns);
    EXPECT_EQ(settings.PictureMode, int(pmQuarter));
    EXPECT_EQ(settings.LastFolder, out.path());

    Program = std::make_unique<TProgram>(Cat.ProgramDir());
    Program->Create();
    EXPECT_EQ(fMain->PictureMode, int(pmQuarter));
    EXPECT_EQ(fMain->ts3->PictureMode(), int(pmQuarter));
    EXPECT_EQ(SaveDialogStart("pakli.htm"), QDir(out.path()).filePath("pakli.htm"));
    EXPECT_EQ(SaveDialogStart("/masik/mappa/pakli.htm"), "/masik/mappa/pakli.htm");
}
