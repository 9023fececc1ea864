#include "app/WidgetUtil.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

TWaitCursor::TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

TWaitCursor::~TWaitCursor() { QApplication::restoreOverrideCursor(); }

TUpdatesSuspended::TUpdatesSuspended(std::initializer_list<QWidget*> widgets)
{
    for (QWidget* w : widgets) {
        if (!w || !w->updatesEnabled()) continue;  // already held back by an outer scope
        w->setUpdatesEnabled(false);
        FWidgets.emplace_back(w);
    }
}

TUpdatesSuspended::~TUpdatesSuspended()
{
    for (const QPointer<QWidget>& w : FWidgets)
        if (w) w->setUpdatesEnabled(true);
}

namespace {
// A window not shown yet has no size of its own: take the one its first showing would give it.
void SizeBeforeShowing(QWidget* window)
{
    if (!window->isVisible() && !window->testAttribute(Qt::WA_Resized)) window->adjustSize();
}
}  // namespace

void CenterOnScreen(QWidget* window, int above)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!window || !screen) return;
    SizeBeforeShowing(window);
    const QRect s = screen->geometry();
    const QRect f = window->frameGeometry();
    window->move(s.left() + s.width() / 2 - f.width() / 2, s.top() + s.height() / 2 - f.height() / 2 - above);
}

void CenterOverOwner(QWidget* window)
{
    if (!window) return;
    QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    if (!owner || !owner->isVisible()) return CenterOnScreen(window);
    SizeBeforeShowing(window);
    const QRect o = owner->frameGeometry();
    const QRect f = window->frameGeometry();
    QPoint topLeft(o.left() + o.width() / 2 - f.width() / 2, o.top() + o.height() / 2 - f.height() / 2);
    // Kept on the owner's screen, title bar first.
    if (const QScreen* screen = owner->screen()) {
        const QRect a = screen->availableGeometry();
        topLeft.setX(std::max(a.left(), std::min(topLeft.x(), a.right() + 1 - f.width())));
        topLeft.setY(std::max(a.top(), std::min(topLeft.y(), a.bottom() + 1 - f.height())));
    }
    window->move(topLeft);
}

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextDocument>

QString ExactPlainText(const QPlainTextEdit* editor)
{
    QString text = editor->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}
#include <QMenuBar>
#include <QSet>

namespace {
// The mnemonic letter of a text (folded), or a null character when it has none.
QChar MnemonicOf(const QString& text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&')) continue;
        if (text[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return text[i + 1].toCaseFolded();
    }
    return QChar();
}

QString WithMnemonic(const QString& text, QSet<QChar>& used)
{
    if (text.isEmpty()) return text;
    const QChar own = MnemonicOf(text);
    if (!own.isNull()) {
        used.insert(own);
        return text;
    }
    auto pick = [&](bool wordStartsOnly) -> int {
        for (int i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (!c.isLetterOrNumber() || c == QLatin1Char('&')) continue;
            if (wordStartsOnly && i > 0 && text[i - 1].isLetterOrNumber()) continue;
            if (!used.contains(c.toCaseFolded())) return i;
        }
        return -1;
    };
    int at = pick(true);
    if (at < 0) at = pick(false);
    if (at < 0) return text;  // every letter is taken: no mnemonic rather than a clash
    used.insert(text[at].toCaseFolded());
    QString out = text;
    out.insert(at, QLatin1Char('&'));
    return out;
}

void AssignAmong(const QList<QAction*>& actions)
{
    QSet<QChar> used;
    // Texts that already carry a mnemonic reserve it before the others choose.
    for (QAction* a : actions)
        if (!a->isSeparator()) {
            const QChar own = MnemonicOf(a->text());
            if (!own.isNull()) used.insert(own);
        }
    for (QAction* a : actions) {
        if (a->isSeparator()) continue;
        const QString text = a->text();
        if (MnemonicOf(text).isNull()) a->setText(WithMnemonic(text, used));
        if (QMenu* sub = a->menu()) AssignMnemonics(sub);
    }
}
}  // namespace

void AssignMnemonics(QMenuBar* bar)
{
    if (bar) AssignAmong(bar->actions());
}

void AssignMnemonics(QMenu* menu)
{
    if (menu) AssignAmong(menu->actions());
}

QString WithoutMnemonic(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

namespace {

// Sees the Enter keys that reach the dialog: those no control inside took.
class TFinishKeys : public QObject {
public:
    TFinishKeys(QDialog* dialog, std::initializer_list<QPushButton*> finish, bool plainEnter)
        : QObject(dialog), FDialog(dialog), FPlainEnter(plainEnter)
    {
        for (QPushButton* b : finish) FFinish << b;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != FDialog || event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        QPushButton* target = nullptr;
        if (mods == Qt::NoModifier) {
            if (auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
                focused && FDialog->isAncestorOf(focused))
                target = focused;
            else if (FPlainEnter)
                target = Finish();
            else
                return false;  // the dialog's default button, if it has one
        } else if (mods == Qt::ControlModifier) {
            target = Finish();
        } else {
            return false;
        }
        if (target && target->isEnabled()) target->click();
        return true;
    }

private:
    QPushButton* Finish() const
    {
        for (const QPointer<QPushButton>& b : FFinish)
            if (b && b->isVisibleTo(FDialog) && b->isEnabled()) return b;
        return nullptr;
    }

    QDialog* FDialog;
    QList<QPointer<QPushButton>> FFinish;
    bool FPlainEnter;
};

}  // namespace

void SetFinishKeys(QDialog* dialog, std::initializer_list<QPushButton*> finish, bool plainEnter)
{
    dialog->installEventFilter(new TFinishKeys(dialog, finish, plainEnter));
}

void DrawFocusMark(QPainter& painter, const QStyleOptionViewItem& option)
{
    if (!(option.state & QStyle::State_HasFocus)) return;
    QStyleOptionFocusRect focus;
    focus.QStyleOption::operator=(option);
    focus.rect = option.rect.adjusted(1, 1, -1, -1);
    const QWidget* view = option.widget;
    (view ? view->style() : QApplication::style())->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, view);
}
