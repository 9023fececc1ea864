#include "refdata/ufSpec.h"

#include "app/Guard.h"
#include "app/Messages.h"
#include "app/WidgetUtil.h"
#include "storage/QueryModel.h"
#include "storage/uAM.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>

namespace {
const int kWidth = 541;
const int kHeight = 327;
}  // namespace

TfSpec::TfSpec(const TFormOpenPars& pars, QWidget* parent)
    : QDialog(parent), qSpec(&AM->ADOConnection), cInsert(&AM->ADOConnection), cUpdate(&AM->ADOConnection), FPars(pars)
{
    setObjectName("fSpec");
    setWindowTitle(QStringLiteral("Speciális képesség"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kWidth, kHeight);

    qSpec.SetSQL("SELECT S_LAPID, S_NUM, S_KIJATSZ, S_LEIDEZES, S_SZOVEG FROM TSPEC WHERE S_LAPID = :PLAPID "
                 "ORDER BY S_NUM");
    cInsert.SetSQL("INSERT INTO TSPEC ( S_LAPID, S_NUM, S_KIJATSZ, S_LEIDEZES, S_SZOVEG ) VALUES ( :S_LAPID, "
                   ":S_NUM, :S_KIJATSZ, :S_LEIDEZES, :S_SZOVEG ) ;");
    cUpdate.SetSQL("UPDATE TSPEC SET S_KIJATSZ = :S_KIJATSZ, S_LEIDEZES = :S_LEIDEZES, S_SZOVEG = :S_SZOVEG "
                   "WHERE (S_LAPID=:S_LAPID) AND (S_NUM=:S_NUM) ;");

    grSpec = new QTableView(this);
    grSpec->setObjectName("grSpec");
    grSpec->setAccessibleName(QStringLiteral("Speciális képességek"));
    FModel = new TQueryModel(&qSpec, this);
    FModel->SetColumns({"S_KIJATSZ", "S_LEIDEZES", "S_SZOVEG"}, {QString(), QString(), QString()});
    grSpec->setModel(FModel);
    grSpec->horizontalHeader()->hide();
    grSpec->verticalHeader()->hide();
    grSpec->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grSpec->verticalHeader()->setMinimumSectionSize(17);
    grSpec->verticalHeader()->setDefaultSectionSize(17);
    grSpec->setColumnWidth(0, 60);
    grSpec->setColumnWidth(1, 60);
    grSpec->setColumnWidth(2, 375);
    grSpec->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grSpec->setSelectionBehavior(QAbstractItemView::SelectRows);
    grSpec->setSelectionMode(QAbstractItemView::SingleSelection);
    grSpec->setWordWrap(false);
    grSpec->setGeometry(8, 8, 525, 130);

    pnEdit = new QFrame(this);
    pnEdit->setObjectName("pnEdit");
    pnEdit->setGeometry(8, 144, 525, 140);
    pnEdit->setLineWidth(1);
    auto label = [this](const QString& text, int x, int y, int w) {
        auto* l = new QLabel(text, pnEdit);
        l->setGeometry(x, y, w, 20);
        return l;
    };
    QLabel* lKijatsz = label(QStringLiteral("Kijátszhatóság :"), 8, 8, 100);
    eKijatsz = new QLineEdit(pnEdit);
    eKijatsz->setObjectName("eKijatsz");
    eKijatsz->setMaxLength(3);
    eKijatsz->setGeometry(110, 8, 60, 21);
    lKijatsz->setBuddy(eKijatsz);
    QLabel* lIdezes = label(QStringLiteral("Leidézés :"), 190, 8, 70);
    eIdezes = new QLineEdit(pnEdit);
    eIdezes->setObjectName("eIdezes");
    eIdezes->setMaxLength(4);
    eIdezes->setGeometry(262, 8, 60, 21);
    lIdezes->setBuddy(eIdezes);
    QLabel* lText = label(QStringLiteral("Szöveg :"), 8, 36, 100);
    mText = new QPlainTextEdit(pnEdit);
    mText->setObjectName("mText");
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    mText->setFont(fixed);
    mText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mText->setTabChangesFocus(true);
    mText->setGeometry(8, 56, 509, 76);
    lText->setBuddy(mText);

    auto button = [this](QPushButton*& b, const char* name, const QString& text, int x) {
        b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        b->setGeometry(x, 292, 80, 27);
    };
    button(btnUj, "btnUj", QStringLiteral("Új"), 8);
    button(btnOk, "btnOk", QStringLiteral("OK"), 8);
    button(btnMod, "btnMod", QStringLiteral("Módosítás"), 94);
    button(btnMegsem, "btnMegsem", QStringLiteral("Mégsem"), 94);
    button(btnTorol, "btnTorol", QStringLiteral("Törlés"), 180);
    button(btnClose, "btnClose", QStringLiteral("Bezárás"), 453);

    GuardedConnect(btnUj, &QPushButton::clicked, this, &TfSpec::btnUjClick);
    GuardedConnect(btnMod, &QPushButton::clicked, this, &TfSpec::btnModClick);
    GuardedConnect(btnOk, &QPushButton::clicked, this, &TfSpec::btnOkClick);
    GuardedConnect(btnMegsem, &QPushButton::clicked, this, &TfSpec::btnMegsemClick);
    GuardedConnect(btnTorol, &QPushButton::clicked, this, &TfSpec::btnTorolClick);
    GuardedConnect(btnClose, &QPushButton::clicked, this, [this] { accept(); });
    SetFinishKeys(this, {btnOk, btnClose}, false);
    GuardedConnect(&qSpec, &TQuery::DataChange, this, [this] {
        FollowQuery();
        dsrSpecDataChange();
    });
    GuardedConnect(grSpec->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                   [this](const QModelIndex& current, const QModelIndex&) {
                       if (!FSyncing && current.isValid() && qSpec.RecNo() != current.row())
                           qSpec.SetRecNo(current.row());
                   });

    SetEditMode(esBrowse);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->availableGeometry();
        move(s.center() - QPoint(kWidth / 2, kHeight / 2));
    }
}

TfSpec::~TfSpec() = default;

void TfSpec::FollowQuery()
{
    const int row = qSpec.RecNo();
    if (row < 0 || row >= FModel->rowCount() || grSpec->currentIndex().row() == row) return;
    FSyncing = true;
    grSpec->selectionModel()->setCurrentIndex(FModel->index(row, 0),
                                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    FSyncing = false;
}

void TfSpec::LoadSpecs()
{
    qSpec.Close();
    eKijatsz->clear();
    eIdezes->clear();
    mText->clear();
    qSpec.SetParam("PLAPID", FPars.Id);
    qSpec.Open();
}

void TfSpec::dsrSpecDataChange()
{
    if (!qSpec.Active() || qSpec.IsEmpty()) return;
    eKijatsz->setText(qSpec.FieldByName("S_KIJATSZ").AsString());
    eIdezes->setText(qSpec.FieldByName("S_LEIDEZES").AsString());
    mText->setPlainText(qSpec.FieldByName("S_SZOVEG").AsString());
}

void TfSpec::SetEditMode(uint8_t state)
{
    FState = state;
    const bool browse = state == esBrowse;
    btnUj->setVisible(browse);
    btnMod->setVisible(browse);
    btnTorol->setVisible(browse);
    btnOk->setVisible(!browse);
    btnMegsem->setVisible(!browse);
    pnEdit->setEnabled(!browse);
    pnEdit->setFrameStyle(QFrame::Panel | (browse ? QFrame::Raised : QFrame::Sunken));
    // Moving to another row while editing would overwrite the typed values with that row's.
    grSpec->setEnabled(browse);
    if (!browse) eKijatsz->setFocus();
}

void TfSpec::btnUjClick()
{
    SetEditMode(esNew);
    eKijatsz->clear();
    eIdezes->clear();
    mText->clear();
}

void TfSpec::btnModClick()
{
    // Without a current ability the update would match no row and the typed text would vanish.
    if (!qSpec.Active() || qSpec.IsEmpty()) return;
    SetEditMode(esModify);
}

void TfSpec::btnOkClick()
{
    TCommand* command = nullptr;
    QVariant number;
    if (FState == esNew) {
        command = &cInsert;
        number = AM->GetMaxValue("S_NUM", "TSPEC") + 1;
    } else if (FState == esModify) {
        command = &cUpdate;
        // An existing ability is found by its number exactly as stored, text included.
        number = qSpec.FieldByName("S_NUM").AsStoredValue();
    } else {
        return;
    }
    command->SetParam("S_LAPID", FPars.Id);
    command->SetParam("S_NUM", number);
    command->SetParam("S_KIJATSZ", eKijatsz->text());
    command->SetParam("S_LEIDEZES", eIdezes->text());
    command->SetParam("S_SZOVEG", mText->toPlainText());
    if (FState == esNew) {
        command->Execute();
    } else if (!WriteModifiedAbility(number)) {
        return;
    }
    LoadSpecs();
    SetEditMode(esBrowse);
}

bool TfSpec::ReadStoredAbility(const QVariant& number, QList<QVariant>& values)
{
    TQuery q(&AM->ADOConnection);
    q.SetSQL("SELECT S_KIJATSZ, S_LEIDEZES, S_SZOVEG FROM TSPEC WHERE (S_LAPID=:S_LAPID) AND (S_NUM=:S_NUM)");
    q.SetParam("S_LAPID", FPars.Id);
    q.SetParam("S_NUM", number);
    q.Open();
    if (q.IsEmpty()) return false;
    values.clear();
    for (int c = 0; c < 3; ++c) values << q.StoredValue(0, c);
    return true;
}

bool TfSpec::WriteModifiedAbility(const QVariant& number)
{
    const QString gone = QStringLiteral("A speciális képesség már nincs a katalógusban, a módosítás nem menthető.");
    // The ability as the edits were filled from it, or the newer one the user agreed to overwrite.
    QList<QVariant> expected;
    for (const char* column : {"S_KIJATSZ", "S_LEIDEZES", "S_SZOVEG"})
        expected << qSpec.FieldByName(column).AsStoredValue();
    for (;;) {
        QList<QVariant> stored;
        if (!ReadStoredAbility(number, stored)) {
            ShowWarning(gone);  // the typed text stays for the user
            return false;
        }
        if (!SameStoredValues(stored, expected)) {
            if (!AskYesNo(TEXT_CHANGED_ELSEWHERE)) {
                // The other program's write stays and shows; nothing of the edit is kept.
                SetEditMode(esBrowse);
                LoadSpecs();
                return false;
            }
            expected = stored;
        }
        TTransaction transaction(AM->ADOConnection, TTransaction::Immediate);
        QList<QVariant> locked;
        if (!ReadStoredAbility(number, locked)) {
            ShowWarning(gone);
            return false;
        }
        if (!SameStoredValues(locked, expected)) continue;  // written again while the question was open
        // An update that matches no row changed nothing: saying nothing would pass it off as saved.
        if (cUpdate.Execute() < 1) {
            ShowWarning(gone);
            return false;
        }
        transaction.Commit();
        return true;
    }
}

void TfSpec::btnMegsemClick()
{
    SetEditMode(esBrowse);
    LoadSpecs();
}

void TfSpec::btnTorolClick()
{
    if (!qSpec.Active() || qSpec.IsEmpty()) return;
    if (!ConfirmDelete()) return;
    // Both values are bound: a stored number is whatever the file holds, text included, and
    // must match only its own row. The stored value is bound as it is, in its own storage class.
    AM->RunCommand(QStringLiteral("DELETE FROM TSPEC WHERE (S_LAPID=:S_LAPID) AND (S_NUM=:S_NUM)"),
                   {{QStringLiteral("S_LAPID"), FPars.Id}, {QStringLiteral("S_NUM"), qSpec.FieldByName("S_NUM").AsStoredValue()}});
    LoadSpecs();
}

void ShowSpecEditor(TFormOpenPars& pars)
{
    TfSpec window(pars);
    window.LoadSpecs();
    window.SetEditMode(esBrowse);
    window.exec();
}
