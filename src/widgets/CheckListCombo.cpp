#include "widgets/CheckListCombo.h"
#include "app/ReadableColor.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace {

// Draws the list's own background and check box, then the text in the item's colour, 4 pixels
// right of the text area's left edge and 1 pixel above its top.
class TCheckItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : nullptr;
        if (!style) return;
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        QRect r = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
        r.adjust(4, -1, 0, -1);
        painter->save();
        const QVariant fg = index.data(Qt::ForegroundRole);
        // A category's colour keeps its hue but is lightened as far as a dark list needs.
        QColor color = fg.isValid() ? ReadableOn(fg.value<QBrush>().color(), opt.palette.color(QPalette::Base))
                                    : opt.palette.color(QPalette::Text);
        if (opt.state & QStyle::State_Selected) color = opt.palette.color(QPalette::HighlightedText);
        painter->setPen(color);
        painter->setFont(opt.font);
        painter->drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          opt.fontMetrics.elidedText(text, Qt::ElideRight, r.width()));
        painter->restore();
    }
};

}  // namespace

TCheckListCombo::TCheckListCombo(QWidget* parent) : QComboBox(parent), FModel(new QStandardItemModel(this))
{
    setModel(FModel);
    setItemDelegate(new TCheckItemDelegate(this));
    view()->setItemDelegate(itemDelegate());
    setMaxVisibleItems(20);
    // A plain drop-down list below the box: a menu-like popup placed over the box would ignore
    // the visible row count and put the first item under the opening click.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    view()->setMinimumWidth(350);
    view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view()->viewport()->installEventFilter(this);
    view()->installEventFilter(this);
}

void TCheckListCombo::Clear()
{
    FModel->clear();
    FLastCurrent = -1;
}

int TCheckListCombo::AddItem(const QString& text, const QVariant& data, const QColor& color)
{
    auto* item = new QStandardItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setData(Qt::Unchecked, Qt::CheckStateRole);
    item->setData(data, Qt::UserRole);
    item->setData(QBrush(color), Qt::ForegroundRole);
    FModel->appendRow(item);
    return FModel->rowCount() - 1;
}

int TCheckListCombo::Count() const { return FModel->rowCount(); }

QString TCheckListCombo::ItemText(int index) const
{
    const QStandardItem* item = FModel->item(index);
    return item ? item->text() : QString();
}

QVariant TCheckListCombo::ItemData(int index) const
{
    const QStandardItem* item = FModel->item(index);
    return item ? item->data(Qt::UserRole) : QVariant();
}

bool TCheckListCombo::IsChecked(int index) const
{
    const QStandardItem* item = FModel->item(index);
    return item && item->checkState() == Qt::Checked;
}

void TCheckListCombo::SetChecked(int index, bool checked)
{
    if (QStandardItem* item = FModel->item(index)) item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void TCheckListCombo::UncheckAll()
{
    for (int i = 0; i < Count(); ++i) SetChecked(i, false);
}

void TCheckListCombo::SetText(const QString& text)
{
    FText = text;
    setToolTip(ShownText());
    update();
}

void TCheckListCombo::SetExtraText(const QString& text)
{
    FExtraText = text;
    setToolTip(ShownText());
    update();
}

QString TCheckListCombo::ShownText() const
{
    return FExtraText.isEmpty() ? FText : FText + u' ' + FExtraText;
}

QString TCheckListCombo::CheckedText() const
{
    QStringList texts;
    for (int i = 0; i < Count(); ++i)
        if (IsChecked(i)) texts << ItemText(i);
    return QStringLiteral("[") + texts.join(QStringLiteral(", ")) + QStringLiteral("]");
}

void TCheckListCombo::BeginUpdate()
{
    if (FUpdateDepth++ == 0) view()->setUpdatesEnabled(false);
}

void TCheckListCombo::EndUpdate()
{
    if (FUpdateDepth > 0 && --FUpdateDepth == 0) {
        view()->setUpdatesEnabled(true);
        view()->viewport()->update();
    }
}

void TCheckListCombo::UserToggle(int index)
{
    if (index < 0 || index >= Count()) return;
    FLastCurrent = index;
    SetChecked(index, !IsChecked(index));
    const QString text = CheckedText();
    if (text == FText) return;
    SetText(text);
    emit CheckedTextChanged();
}

bool TCheckListCombo::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view()->viewport()) {
        if (event->type() == QEvent::MouseButtonRelease) {
            auto* me = static_cast<QMouseEvent*>(event);
            const QModelIndex index = view()->indexAt(me->position().toPoint());
            // Only a click made inside the list marks: the release of the click that opened it
            // may land on an item and must not.
            if (FPressedInList && me->button() == Qt::LeftButton && index.isValid()) UserToggle(index.row());
            FPressedInList = false;
            return true;  // the list stays open for the next mark
        }
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            const QModelIndex index = view()->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            if (index.isValid()) view()->setCurrentIndex(index);
            FPressedInList = true;
            return true;
        }
    } else if (watched == view() && event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (ke->key() == Qt::Key_Space || ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) {
            UserToggle(view()->currentIndex().row());
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void TCheckListCombo::showPopup()
{
    FPressedInList = false;
    QComboBox::showPopup();
}

void TCheckListCombo::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    opt.currentText = fontMetrics().elidedText(ShownText(), Qt::ElideRight, width() - 30);
    opt.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, opt);
    painter.drawControl(QStyle::CE_ComboBoxLabel, opt);
}
