#include "decks/uDeckModel.h"
#include "app/ReadableColor.h"

#include "decks/uDeckOwned.h"

#include <QPainter>

std::optional<QColor> DeckGroupColor(int techSorrend, bool selected)
{
    struct TPair {
        QColor Plain, Selected;
    };
    static const TPair colors[] = {
        {QColor(255, 255, 255), QColor(128, 128, 128)},  // 0 (and -1)
        {QColor(192, 255, 255), QColor(64, 128, 128)},
        {QColor(255, 192, 255), QColor(128, 64, 128)},
        {QColor(255, 255, 192), QColor(128, 128, 64)},
        {QColor(192, 255, 192), QColor(64, 128, 64)},
        {QColor(192, 192, 255), QColor(64, 64, 128)},
        {QColor(255, 192, 192), QColor(128, 64, 64)},
    };
    if (techSorrend == -1) techSorrend = 0;
    if (techSorrend < 0 || techSorrend > 6) return std::nullopt;
    return selected ? colors[techSorrend].Selected : colors[techSorrend].Plain;
}

TDeckModel::TDeckModel(TDeckTable& table, QObject* parent) : QAbstractTableModel(parent), FTable(table)
{
    FTable.SetObserver(this);
}

TDeckModel::~TDeckModel() { FTable.SetObserver(nullptr); }

int TDeckModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : FTable.RecordCount(); }

int TDeckModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant TDeckModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= FTable.RecordCount()) return QVariant();
    const TDeckRow& r = FTable.Row(index.row());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case colLapszam: return r.L_LAPSZAM;
        case colNev: return r.L_NEV;
        case colDb: return r.DB;
        default: return QVariant();
        }
    case Qt::TextAlignmentRole:
        return index.column() == colDb ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                       : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (const auto c = DeckGroupColor(r.TECHSORREND, false)) return *c;
        return QVariant();
    case Qt::ForegroundRole:
        if (index.column() == colDb && FOwned && MissingForRow(r, *FOwned, FGodId) > 0) return QColor(Qt::red);
        // Black belongs to the light group colours; without one the view's own text colour reads.
        if (DeckGroupColor(r.TECHSORREND, false)) return QColor(Qt::black);
        return QVariant();
    case Qt::ToolTipRole:
        if (index.column() == colDb && FOwned) {
            const qint64 missing = MissingForRow(r, *FOwned, FGodId);
            if (missing > 0) return QStringLiteral("Hiányzik: %1").arg(missing);
        }
        return QVariant();
    case GroupRole: return r.TECHSORREND;
    case CardIdRole: return r.L_ID;
    default: return QVariant();
    }
}

QVariant TDeckModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QVariant();
    switch (section) {
    case colLapszam: return QStringLiteral("L_LAPSZAM");
    case colNev: return QStringLiteral("L_NEV");
    case colDb: return QStringLiteral("DB");
    default: return QVariant();
    }
}

void TDeckModel::SetOwnedCounts(const QHash<qint64, qint64>* owned, qint64 godId)
{
    FOwned = owned;
    FGodId = godId;
    if (FTable.RecordCount() > 0) emit dataChanged(index(0, 0), index(FTable.RecordCount() - 1, ColumnCount - 1));
}

void TDeckModel::BeforeReset() { beginResetModel(); }
void TDeckModel::AfterReset() { endResetModel(); }
void TDeckModel::BeforeInsert(int row) { beginInsertRows(QModelIndex(), row, row); }
void TDeckModel::AfterInsert() { endInsertRows(); }
void TDeckModel::BeforeRemove(int row) { beginRemoveRows(QModelIndex(), row, row); }
void TDeckModel::AfterRemove() { endRemoveRows(); }
void TDeckModel::RowChanged(int row) { emit dataChanged(index(row, 0), index(row, ColumnCount - 1)); }

void TDeckRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const bool selected = opt.state & QStyle::State_Selected;
    const auto background = DeckGroupColor(index.data(TDeckModel::GroupRole).toInt(), selected);
    if (!background) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    painter->save();
    painter->fillRect(opt.rect, *background);
    QFont font = opt.font;
    font.setBold(selected);
    painter->setFont(font);
    // A selected row is written in the palette's colour for text on the highlight; its missing count
    // stays marked, underlined, since red does not read on every selected colour.
    const bool marked = index.data(Qt::ForegroundRole).value<QColor>() == QColor(Qt::red);
    if (selected && marked) {
        font.setUnderline(true);
        painter->setFont(font);
    }
    const QColor pen =
        selected ? opt.palette.color(QPalette::HighlightedText) : (marked ? QColor(Qt::red) : QColor(Qt::black));
    painter->setPen(ReadableOn(pen, *background));
    const QRect text = opt.rect.adjusted(3, 0, -3, 0);
    painter->drawText(text, int(opt.displayAlignment),
                      QFontMetrics(font).elidedText(opt.text, Qt::ElideRight, text.width()));
    painter->restore();
}
