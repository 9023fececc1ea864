#include "app/WidgetUtil.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

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

void CenterOnScreen(QWidget* window, int above)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!window || !screen) return;
    const QRect s = screen->geometry();
    const QRect f = window->frameGeometry();
    window->move(s.left() + s.width() / 2 - f.width() / 2, s.top() + s.height() / 2 - f.height() / 2 - above);
}
