#include "filters/ufFilters.h"

#include "app/Guard.h"
#include "app/Messages.h"
#include "app/WidgetUtil.h"
#include "filters/uFilterCategory.h"
#include "filters/ufQueries.h"
#include "storage/uAM.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {
const int kRowHeight = 22;
const int kKeyRole = Qt::UserRole;

// Rows of fixed height: the category square at (2, 2)-(14, 14), the name at (16, 1).
class TFilterRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), kRowHeight);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette::ColorGroup group = (option.state & QStyle::State_Enabled) ? QPalette::Normal
                                                                                  : QPalette::Disabled;
        const QRect r = option.rect;
        painter->save();
        painter->fillRect(r, option.palette.brush(group, selected ? QPalette::Highlight : QPalette::Base));
        const QString code = TfFilters::CategoryOfKey(index.data(kKeyRole).toString());
        painter->fillRect(QRect(r.left() + 2, r.top() + 2, 12, 12), CategoryColor(code));
        painter->setFont(option.font);
        painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect text(r.left() + 16, r.top() + 1, r.width() - 16, r.height() - 1);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight,
                                                        text.width()));
        if (option.state & QStyle::State_HasFocus) {
            painter->setPen(QPen(option.palette.color(group, QPalette::Text), 1, Qt::DotLine));
            painter->drawRect(r.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }
};
}  // namespace

TfFilters::TfFilters(const TFormOpenPars& pars, QWidget* parent) : QDialog(parent), FPars(pars)
{
    setObjectName("fFilters");
    setWindowTitle(QStringLiteral("Szűrések"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    QueryEditorOpener = [](TFormOpenPars& p) { return ShowQueryEditor(p); };

    lbFilters = new QListWidget(this);
    lbFilters->setObjectName("lbFilters");
    lbFilters->setAccessibleName(QStringLiteral("Szűrések"));
    lbFilters->setSelectionMode(QAbstractItemView::SingleSelection);
    lbFilters->setUniformItemSizes(true);
    lbFilters->setItemDelegate(new TFilterRowDelegate(lbFilters));

    auto button = [this](QPushButton*& b, const char* name, const QString& text) {
        b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        b->setMinimumWidth(80);
    };
    button(btnNew, "btnNew", QStringLiteral("Új"));
    button(btnEdit, "btnEdit", QStringLiteral("Módosítás"));
    button(btnDel, "btnDel", QStringLiteral("Törlés"));
    button(btnOk, "btnOk", QStringLiteral("OK"));
    button(btnClose, "btnClose", QStringLiteral("Bezárás"));
    btnOk->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnNew);
    buttons->addWidget(btnEdit);
    buttons->addWidget(btnDel);
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnClose);
    auto* root = new QVBoxLayout(this);
    root->addWidget(lbFilters, 1);
    root->addLayout(buttons);

    GuardedConnect(btnNew, &QPushButton::clicked, this, &TfFilters::btnNewClick);
    GuardedConnect(btnEdit, &QPushButton::clicked, this, &TfFilters::btnEditClick);
    GuardedConnect(btnDel, &QPushButton::clicked, this, &TfFilters::btnDelClick);
    GuardedConnect(btnOk, &QPushButton::clicked, this, [this] { accept(); });
    GuardedConnect(btnClose, &QPushButton::clicked, this, [this] { reject(); });
    SetFinishKeys(this, {btnOk}, false);

    setFixedSize(460, 420);
    FillFilterList();
}

TfFilters::~TfFilters() = default;

void TfFilters::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (FShown) return;
    FShown = true;
    CenterOnScreen(this);
    FormShow();
}

QString TfFilters::CategoryOfKey(const QString& key)
{
    const int semi = key.indexOf(u';');
    return semi < 0 ? QString() : key.mid(semi + 1);
}

void TfFilters::FillFilterList()
{
    TUpdatesSuspended frozen({lbFilters});
    lbFilters->clear();
    FKeys.clear();
    TQuery& q = AM->qFilterQuery;
    q.Close();
    q.Open();
    for (int row = 0; row < q.RecordCount(); ++row) {
        const QString key = q.ValueText(row, 0) + u';' + q.ValueText(row, 1);
        auto* item = new QListWidgetItem(q.ValueText(row, 2));
        item->setData(kKeyRole, key);
        lbFilters->addItem(item);
        FKeys << key;
    }
    q.Close();
}

void TfFilters::FormShow()
{
    if (FPars.Mode != fmChoose) return;
    btnNew->hide();
    btnEdit->hide();
    btnDel->hide();
    btnOk->setText(QStringLiteral("Választ"));
}

bool TfFilters::HasSelection() const
{
    const int row = lbFilters->currentRow();
    return row >= 0 && row < FKeys.size() && lbFilters->item(row)->isSelected();
}

qint64 TfFilters::SelectedFilterId() const
{
    if (!HasSelection()) return -1;
    const QString key = FKeys.at(lbFilters->currentRow());
    bool ok = false;
    const qint64 id = key.left(key.indexOf(u';')).toLongLong(&ok);
    return ok ? id : 0;
}

void TfFilters::btnNewClick()
{
    TFormOpenPars pars;
    pars.Mode = fmNew;
    if (QueryEditorOpener(pars) == QDialog::Accepted) FillFilterList();
}

void TfFilters::btnEditClick()
{
    if (!HasSelection()) return;
    TFormOpenPars pars;
    pars.Mode = fmEdit;
    pars.Id = SelectedFilterId();
    if (QueryEditorOpener(pars) == QDialog::Accepted) FillFilterList();
}

void TfFilters::btnDelClick()
{
    if (!HasSelection()) return;
    if (!ConfirmDelete()) return;
    AM->DeleteFilter(SelectedFilterId());
    FillFilterList();
}

void TfFilters::CopyResultTo(int modalResult, TFormOpenPars& caller) const
{
    if (modalResult == QDialog::Accepted && HasSelection()) caller.ResultId = SelectedFilterId();
}

int ShowFilterList(TFormOpenPars& pars)
{
    TfFilters window(pars);
    const int result = window.exec();
    window.CopyResultTo(result, pars);
    return result;
}
