#pragma once
// Saving pictures from the screenshot tools: each saved file is reported on standard output.
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <cstdio>

inline bool SavePixmap(const QPixmap& shot, const QString& folder, const QString& name)
{
    const QString file = QDir(folder).filePath(name);
    const bool ok = shot.save(file);
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(file));
    return ok;
}

// The widget as it paints itself, after pending events have run.
inline bool Save(QWidget* w, const QString& folder, const QString& name)
{
    QTest::qWait(200);
    return SavePixmap(w->grab(), folder, name);
}

// Under X the whole screen, so open drop-downs and popups are in the picture; else the window.
inline bool SaveScreen(QWidget* window, const QString& folder, const QString& name)
{
    QTest::qWait(300);
    const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    return SavePixmap(x11 ? QGuiApplication::primaryScreen()->grabWindow(0) : window->grab(), folder, name);
}
