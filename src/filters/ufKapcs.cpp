#include "filters/ufKapcs.h"

#include "app/Guard.h"
#include "app/WidgetUtil.h"
#include "filters/DataListBox.h"
#include "storage/CatalogNames.h"
#include "storage/uAM.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace {
const int kNameLength = 120;    // TFILTERBASE.FB_NAME
const int kSearchLength = 250;
const qint64 kCardIdType = 12;  // TFILTERTYPE: the card identifier
}  // namespace

TfKapcs::TfKapcs(QWidget* parent) : QDialog(parent)
{
    setObjectName("fKapcs");
    setWindowTitle(QStringLiteral("Összetartozó lapok"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    auto* lNev = new QLabel(QStringLiteral("Megnevezés :"), this);
    eNev = new QLineEdit(QStringLiteral("Új kapcsolat neve"), this);
    eNev->setObjectName("eNev");
    eNev->setMaxLength(kNameLength);
    QFont bold = eNev->font();
    bold.setBold(true);
    eNev->setFont(bold);
    lNev->setBuddy(eNev);

    auto* lOsszes = new QLabel(QStringLiteral("Összes lap"), this);
    eKeres = new QLineEdit(this);
    eKeres->setObjectName("eKeres");
    eKeres->setMaxLength(kSearchLength);
    lOsszes->setBuddy(eKeres);
    lb1 = new TDataListBox(this);
    lb1->setObjectName("lb1");
    lb1->setAccessibleName(QStringLiteral("Összes lap"));
    auto* lSet = new QLabel(QStringLiteral("Az összeállításban szereplő lapok"), this);
    lb2 = new TDataListBox(this);
    lb2->setObjectName("lb2");
    lb2->setAccessibleName(QStringLiteral("Az összeállításban szereplő lapok"));
    lb2->setFont(bold);
    lSet->setBuddy(lb2);
    for (TDataListBox* list : {lb1, lb2}) {
        list->setMinimumSize(300, 360);
        // The catalogue's own name order, so that "Cs" follows "Cu" as in every other list.
        list->SetCompare([](const QString& a, const QString& b) { return AM->ADOConnection.CompareText(a, b); });
    }

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName("btnOK");
    // Enter in the search box must not store the set half-composed.
    btnOK->setAutoDefault(false);
    btnCancel = new QPushButton(QStringLiteral("Mégsem"), this);
    btnCancel->setObjectName("btnCancel");
    btnCancel->setAutoDefault(false);

    auto* name = new QHBoxLayout;
    name->addWidget(lNev);
    name->addWidget(eNev, 1);
    auto* grid = new QGridLayout;
    grid->addWidget(lOsszes, 0, 0);
    grid->addWidget(eKeres, 1, 0);
    grid->addWidget(lb1, 2, 0);
    grid->addWidget(lSet, 1, 1, Qt::AlignBottom);
    grid->addWidget(lb2, 2, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* root = new QVBoxLayout(this);
    root->addLayout(name);
    root->addLayout(grid, 1);
    root->addLayout(buttons);

    GuardedConnect(btnOK, &QPushButton::clicked, this, &TfKapcs::btnOKClick);
    GuardedConnect(btnCancel, &QPushButton::clicked, this, [this] { reject(); });
    SetFinishKeys(this, {btnOK}, false);  // Enter in the search box must not store
    GuardedConnect(eKeres, &QLineEdit::textChanged, this, [this](const QString&) { eKeresKeyUp(); });
    for (TDataListBox* list : {lb1, lb2}) {
        GuardedConnect(list, &TDataListBox::ItemsDropped, this,
                       [this, list](TDataListBox* source) { KapcsListbox_DragDrop(list, source); });
        GuardedConnect(list, &TDataListBox::MoveRequested, this,
                       [this, list] { KapcsListbox_DragDrop(Other(list), list); });
    }
    setFixedSize(sizeHint().expandedTo(QSize(660, 480)));
}

TfKapcs::~TfKapcs() = default;

void TfKapcs::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (FShown) return;
    FShown = true;
    CenterOnScreen(this);
    if (!FLoaded) Guarded([this] { FormShow(); });
}

TDataListBox* TfKapcs::Other(TDataListBox* list) const { return list == lb1 ? lb2 : lb1; }

void TfKapcs::FormShow()
{
    TWaitCursor wait;
    TUpdatesSuspended frozen({lb1});
    lb1->clear();
    lb1->SetSorted(false);
    lb2->SetSorted(false);
    TQuery& q = AM->qTemp;
    q.Close();
    q.SetSQL(QStringLiteral("SELECT L_ID, L_LAPSZAM, L_NEV FROM TLAP ORDER BY L_LAPSZAM, L_NEV"));
    q.Open();
    std::vector<std::pair<QString, qint64>> cards;
    cards.reserve(size_t(q.RecordCount()));
    for (int row = 0; row < q.RecordCount(); ++row)
        cards.emplace_back("(" + q.ValueText(row, 1) + ") " + q.ValueText(row, 2), q.ValueInteger(row, 0));
    q.Close();
    // Sorted here, straight on the texts, rather than by the list through its items: the same
    // order for a fraction of the cost on a large catalogue.
    std::stable_sort(cards.begin(), cards.end(), [this](const auto& a, const auto& b) {
        return lb1->Compare(a.first, b.first) < 0;
    });
    for (const auto& [text, id] : cards) lb1->AddItem(text, id);
    lb1->SetSorted(true, true);
    lb2->SetSorted(true);
    FLoaded = true;
}

bool TfKapcs::KapcsListbox_DragOver(TDataListBox* target, QObject* source) const
{
    return target && target->AcceptsDragFrom(source);
}

void TfKapcs::KapcsListbox_DragDrop(TDataListBox* target, TDataListBox* source)
{
    if (!KapcsListbox_DragOver(target, source)) return;
    const QList<int> rows = source->SelectedIndexes();
    if (rows.isEmpty()) return;
    TUpdatesSuspended frozen({source, target});
    // The item itself travels, so its card id goes with it: two cards with the same number and
    // name never swap ids.
    QList<QListWidgetItem*> moved;
    for (int i = rows.size() - 1; i >= 0; --i) moved.prepend(source->takeItem(rows[i]));
    target->clearSelection();
    for (QListWidgetItem* item : moved) {
        target->addItem(item);
        item->setSelected(true);
    }
    if (!moved.isEmpty()) target->scrollToItem(moved.constFirst());
}

void TfKapcs::eKeresKeyUp()
{
    const QString text = eKeres->text();
    if (text.isEmpty()) return;
    const QString needle = QStringLiteral(") ") + text.toUpper();
    for (int i = 0; i < lb1->count(); ++i) {
        if (lb1->item(i)->text().toUpper().contains(needle)) {
            // The card found is the one marked, ready to be moved over.
            lb1->setCurrentRow(i, QItemSelectionModel::ClearAndSelect);
            lb1->scrollToItem(lb1->item(i));
            return;
        }
    }
}

bool TfKapcs::SaveRelatedCards()
{
    TWaitCursor wait;
    TTransaction transaction(AM->ADOConnection);
    const qint64 id = AM->InsertNewFilter(eNev->text(), Catalog::CatRelatedSets);
    if (id < 0) return false;  // reported as "Am.InsertNewFilter"; nothing stays written
    TCommand& c = AM->cInsertFilter;
    for (int i = 0; i < lb2->count(); ++i) {
        c.SetParam("F_FBID", id);
        c.SetParam("F_FTID", kCardIdType);
        c.SetParam("F_FOID", -1);
        c.SetParam("F_VALUE", QString::number(lb2->Value(i)));
        c.SetParam("F_ORDER", i);
        c.SetParam("F_GROUP", 0);
        c.SetParam("F_ANDOR", i == 0 ? QString() : QStringLiteral("OR"));
        c.SetParam("F_FIELDNAME", QStringLiteral("L_ID"));
        c.SetParam("F_OPERATION", QStringLiteral("="));
        c.SetParam("F_VALUETYPE", QStringLiteral("I"));
        c.Execute();  // a failure leaves the scope: the header and earlier rows are undone
    }
    transaction.Commit();
    FSavedId = id;
    return true;
}

void TfKapcs::btnOKClick()
{
    if (SaveRelatedCards()) accept();
}

int ShowRelatedCards()
{
    TfKapcs window;
    return window.exec();
}
