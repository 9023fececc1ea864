#include "app/Guard.h"
#include "app/ReadableColor.h"

#include "app/Messages.h"
#include "storage/Exceptions.h"

#include <QtGlobal>

namespace {
QString MessageOf(const std::exception& e)
{
    if (const auto* own = dynamic_cast<const Exception*>(&e)) return own->Message();
    return QString::fromUtf8(e.what());
}

const Exception& UnknownError()
{
    static const Exception unknown(QStringLiteral("Ismeretlen hiba történt."));
    return unknown;
}
} // namespace

void AppEventsException(const std::exception& e)
{
    if (dynamic_cast<const EAbort*>(&e)) return;
    try {
        ShowErrorDialog(QStringLiteral("Belső alkalmazáshiba"), MessageOf(e));
    } catch (const std::exception& inner) {
        // The dialog itself failed; there is nowhere left to show it.
        qWarning("Belső alkalmazáshiba: %s (%s)", e.what(), inner.what());
    } catch (...) {
        qWarning("Belső alkalmazáshiba: %s", e.what());
    }
}

void Guarded(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::exception& e) {
        AppEventsException(e);
    } catch (...) {
        AppEventsException(UnknownError());
    }
}

TVelkorApplication::TVelkorApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    ApplyDarkPaletteIfAsked();
}

bool TVelkorApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        AppEventsException(e);
    } catch (...) {
        AppEventsException(UnknownError());
    }
    return false;
}
