// Builds the error dialog and the about box offscreen and saves what they look like as PNG files
// into the folder given as the first argument, for checking the layout by eye.
#include "app/AppVer.h"
#include "app/ReadableColor.h"
#include "app/ufAbout.h"
#include "app/ufExcept.h"
#include "bitmaps/Bitmaps.h"
#include "storage/FormOpenPars.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ApplyDarkPaletteIfAsked();
    if (argc < 2) {
        std::fprintf(stderr, "Használat: screenshot_shell <mappa>\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);
    ReadVersionInfo();

    TFormOpenPars pars;
    InitFormOpenPars(pars);
    pars.Context = QStringLiteral("Am.RunCommand");
    pars.Message = QStringLiteral("UNIQUE constraint failed: TLAPTUL.LT_LID, TLAPTUL.LT_TULID\n"
                                  "INSERT INTO TLAPTUL (LT_LID, LT_TULID) VALUES (12, 7)");
    TfExcept except;
    except.FillFromPars(pars);
    except.show();
    bool ok = except.grab().save(dir + "/except.png");

    TfAbout about;
    about.show();
    ok = about.grab().save(dir + "/about.png") && ok;

    // The built-in bitmaps enlarged: the small ones over a light and a dark strip (to see their
    // transparent background), then the portraits.
    const QStringList names = BuiltinBitmapNames();
    QImage sheet(900, 720, QImage::Format_RGB32);
    sheet.fill(QColor(250, 250, 250));
    QPainter p(&sheet);
    p.fillRect(0, 110, 900, 110, QColor(60, 60, 60));
    int x = 4;
    for (const QString& name : names) {
        const QImage img = BuiltinTransparentBitmap(name);
        if (img.width() > 32) continue;
        const QSize s = img.size() * 3;
        p.drawImage(QRect(QPoint(x, 8), s), img);
        p.drawImage(QRect(QPoint(x, 118), s), img);
        x += s.width() + 8;
    }
    x = 4;
    int y = 230;
    for (const QString& name : names) {
        if (!name.startsWith("FOIST_")) continue;
        const QImage img = BuiltinBitmap(name);
        const QSize s = img.size() * 2;
        if (x + s.width() > 896) { x = 4; y += s.height() + 6; }
        p.drawImage(QRect(QPoint(x, y), s), img);
        x += s.width() + 6;
    }
    p.end();
    ok = sheet.save(dir + "/bitmaps.png") && ok;
    QImage tiles(750, 304, QImage::Format_RGB32);
    QPainter tp(&tiles);
    for (int ty = 0; ty < 2; ++ty)
        for (int tx = 0; tx < 3; ++tx) tp.drawImage(tx * 250, ty * 152, BuiltinBitmap("BACK_02"));
    tp.end();
    ok = tiles.save(dir + "/back02.png") && ok;
    return ok ? 0 : 1;
}
