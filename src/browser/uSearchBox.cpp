// The main window's "Keresés" box: the catalogue's full-text index made ready on open, the box's
// text turned into the card list's search condition, and where a card matched.
#include "app/Guard.h"
#include "app/WidgetUtil.h"
#include "browser/uDetailPage.h"
#include "browser/uGridPage.h"
#include "browser/ufMain.h"
#include "filters/uQPList.h"
#include "storage/SearchIndex.h"
#include "widgets/CheckListCombo.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <memory>

namespace {

const int kSearchPauseMs = 250;

// Enter searches at once, Esc clears, the arrow and page keys move in the card list while the
// box keeps the focus.
class TSearchKeys : public QObject {
public:
    TSearchKeys(TfMain* window) : QObject(window), FWindow(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::KeypadModifier) return false;
        TfMain* w = FWindow;
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: Guarded([w] { w->ApplySearch(); }); return true;
        case Qt::Key_Escape:
            Guarded([w] {
                w->eKereses->clear();
                w->ApplySearch();
            });
            return true;
        case Qt::Key_Down: Guarded([w] { w->acNextExecute(); }); return true;
        case Qt::Key_Up: Guarded([w] { w->acPriorExecute(); }); return true;
        case Qt::Key_PageDown: Guarded([w] { w->ac5NextExecute(); }); return true;
        case Qt::Key_PageUp: Guarded([w] { w->ac5PriorExecute(); }); return true;
        default: return false;
        }
    }

private:
    TfMain* FWindow;
};

}  // namespace

QWidget* TfMain::BuildSearchBox(QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    auto* label = new QLabel(QStringLiteral("&Keresés"), box);
    row->addWidget(label);
    eKereses = new QLineEdit(box);
    eKereses->setObjectName("eKereses");
    eKereses->setPlaceholderText(QStringLiteral("Lapok szövege..."));
    eKereses->setClearButtonEnabled(true);
    eKereses->setEnabled(false);  // until the catalogue's index is ready
    eKereses->installEventFilter(new TSearchKeys(this));
    label->setBuddy(eKereses);
    row->addWidget(eKereses, 1);

    tmrKereses = new QTimer(this);
    tmrKereses->setObjectName("tmrKereses");
    tmrKereses->setSingleShot(true);
    tmrKereses->setInterval(kSearchPauseMs);
    GuardedConnect(tmrKereses, &QTimer::timeout, this, &TfMain::ApplySearch);
    // Every change restarts the pause; the clear button too.
    GuardedConnect(eKereses, &QLineEdit::textChanged, this, [this] { tmrKereses->start(); });

    acKereses = new QAction(QStringLiteral("Keresés a lapok szövegében"), this);
    acKereses->setObjectName("acKereses");
    acKereses->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    acKereses->setShortcutContext(Qt::WindowShortcut);
    addAction(acKereses);
    GuardedConnect(acKereses, &QAction::triggered, this, [this] {
        if (!eKereses->isEnabled()) return;
        eKereses->setFocus(Qt::ShortcutFocusReason);
        eKereses->selectAll();
    });
    return box;
}

void TfMain::SetUpSearch()
{
    FSearchAvailable = false;
    QString why;
    {
        const TWaitCursor wait;
        std::unique_ptr<QProgressDialog> dialog;
        // Shown only when building takes longer than half a second.
        auto progress = [&](int done, int total) {
            if (!dialog) {
                dialog = std::make_unique<QProgressDialog>(QStringLiteral("A keresőindex készül a lapok szövegéből..."),
                                                           QString(), 0, std::max(total, 1), this);
                dialog->setWindowTitle(QStringLiteral("Velkor Adatbázis"));
                dialog->setWindowModality(Qt::ApplicationModal);
                dialog->setMinimumDuration(500);
                dialog->setCancelButton(nullptr);
                dialog->setAutoClose(true);
            }
            dialog->setValue(done);
        };
        FSearchAvailable = SearchIndex::Ensure(AM->ADOConnection, progress, &why);
    }
    eKereses->setEnabled(FSearchAvailable);
    acKereses->setEnabled(FSearchAvailable);
    if (FSearchAvailable) {
        eKereses->setPlaceholderText(QStringLiteral("Lapok szövege..."));
        eKereses->setToolTip(QStringLiteral(
            "Minden szó eleje számít (\"sár\" megtalálja a \"sárkány\"-t); \"idézőjelben\" kifejezés; "
            "-szó: kizárás. Enter: azonnal, Esc: törlés."));
    } else {
        eKereses->setPlaceholderText(QStringLiteral("A keresés nem érhető el"));
        eKereses->setToolTip(QStringLiteral("A keresés nem érhető el: ") + why);
    }
    ts2->RowToolTip = [this](int row) { return SearchToolTip(row); };
}

void TfMain::ApplySearch()
{
    tmrKereses->stop();
    if (!FConnected || !QPList) return;
    const QString text = FSearchAvailable ? eKereses->text().trimmed() : QString();
    if (text == QPList->SearchText()) return;
    const TWaitCursor wait;
    QToolTip::hideText();  // a row's "Találat" tip belongs to the list before
    QPList->SetSearchText(text);
    ShowSearchState();
    AM->ReQuery();
}

void TfMain::ClearSearch()
{
    tmrKereses->stop();
    {
        const QSignalBlocker quiet(eKereses);
        eKereses->clear();
    }
    if (QPList) QPList->SetSearchText(QString());
    ShowSearchState();
}

void TfMain::ShowSearchState()
{
    const bool active = QPList && !QPList->Search().IsEmpty();
    cbFilter->SetExtraText(active ? QStringLiteral("Keresés: \"") + QPList->SearchText() + u'"' : QString());
    ts1->SetSearchHighlight(active ? QPList->Search() : TSearchQuery());
}

QString TfMain::SearchToolTip(int row)
{
    if (!FConnected || !QPList || !AM->qLapok.Active() || row < 0 || row >= AM->qLapok.RecordCount()) return {};
    const QString query = QPList->Search().PositiveMatchText();
    const int idColumn = AM->qLapok.FindField(QStringLiteral("L_ID"));
    if (query.isEmpty() || idColumn < 0) return {};
    QStringList where;
    for (int column : SearchIndex::MatchedColumns(AM->ADOConnection, AM->qLapok.ValueInteger(row, idColumn), query))
        where << SearchIndex::ColumnCaption(column);
    return where.isEmpty() ? QString() : QStringLiteral("Találat: ") + where.join(QStringLiteral(", "));
}
