#include "browser/ufTulSel.h"

#include "app/Guard.h"
#include "storage/uAM.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TfTulSel::TfTulSel(QWidget* parent) : QDialog(parent)
{
    setObjectName("fTulSel");
    setWindowTitle(QStringLiteral("Tulajdonságok"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    lb = new QListWidget(this);
    lb->setObjectName("lb");
    lb->setAccessibleName(QStringLiteral("Tulajdonságok"));
    QFont font(QStringLiteral("Arial"));
    lb->setFont(font);
    lb->setUniformItemSizes(true);
    lb->setSelectionMode(QAbstractItemView::SingleSelection);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    btnMegsem = new QPushButton(QStringLiteral("Mégsem"), this);
    btnMegsem->setObjectName("btnMegsem");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnMegsem);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->addWidget(lb, 1);
    column->addLayout(buttons);
    setFixedSize(260, 320);

    GuardedConnect(btnOK, &QPushButton::clicked, this, &TfTulSel::btnOKClick);
    GuardedConnect(btnMegsem, &QPushButton::clicked, this, [this] { reject(); });
    // A double click chooses the item as OK would.
    GuardedConnect(lb, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) { btnOKClick(); });
}

void TfTulSel::LoadItems(int kind)
{
    lb->clear();
    FIds.clear();
    TQuery q(&AM->ADOConnection);
    q.SetSQL(kind == 2 ? QStringLiteral("SELECT KATEGORIA_ID, KATEGORIA_NEV FROM TKATEGORIA ORDER BY KATEGORIA_NEV COLLATE NOCASE")
                       : QStringLiteral("SELECT TULAJDONSAG_ID, TULAJDONSAG_NEV FROM TTULAJDONSAG ORDER BY TULAJDONSAG_NEV COLLATE NOCASE"));
    q.Open();
    for (int r = 0; r < q.RecordCount(); ++r) {
        FIds << q.ValueText(r, 0);
        auto* item = new QListWidgetItem(q.ValueText(r, 1), lb);
        item->setSizeHint(QSize(0, 16));
    }
    if (lb->count() > 0) lb->setCurrentRow(0);
}

QString TfTulSel::SelectedId() const
{
    const int row = lb->currentRow();
    if (row < 0 || row >= FIds.size() || !lb->currentItem() || !lb->currentItem()->isSelected()) return QString();
    return FIds[row];
}

void TfTulSel::btnOKClick() { accept(); }

QString SelectProperty(int kind, QWidget* parent)
{
    TfTulSel dialog(parent);
    dialog.LoadItems(kind);
    if (dialog.exec() != QDialog::Accepted) return QString();
    return dialog.SelectedId();
}
