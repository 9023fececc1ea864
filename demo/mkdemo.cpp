// Builds the demo program folder from the text sources in demo/: DB/Velkor.db from schema.sql
// and data/*.sql, and GFX/ with one drawn JPEG per card plus the card back hatlap.jpg.
// Usage: mkdemo <demo source folder> <program folder>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <sqlite3.h>

#include <cstdio>


namespace {

// Cards whose picture is deliberately not written although L_KEPNEV names one, so that the
// picture view's card-back fallback has something to show: three ordinary cards in different
// sets, one people card (421, to see the back upright in the grids and turned in the single
// view) and one card of the last set. demo/tools/gen_demo.py keeps card 421 a people card.
const char* const kMissingPictures[] = {"033", "144", "287", "421", "512"};

const int kCardWidth = 250;
const int kCardHeight = 350;

bool ExecFile(sqlite3* db, const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "mkdemo: cannot read %s\n", qPrintable(path));
        return false;
    }
    char* err = nullptr;
    if (sqlite3_exec(db, f.readAll().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::fprintf(stderr, "mkdemo: %s: %s\n", qPrintable(path), err);
        sqlite3_free(err);
        return false;
    }
    return true;
}

// --- JPEG writing ---

bool WriteJpeg(const QImage& image, const QString& path)
{
    if (image.save(path, "JPG", 85)) return true;
    std::fprintf(stderr, "mkdemo: cannot write %s\n", qPrintable(path));
    QFile::remove(path);
    return false;
}

// --- drawing ---

struct TCardRow {
    QString Number, Name, Pantheon, PantheonName, Type, TypeName, Summoning, Paths, Level, Hp, Picture;
};

QColor PantheonColor(const QString& pantheonId)
{
    static const QColor colors[] = {
        QColor(214, 160, 20),  QColor(70, 90, 170),  QColor(170, 30, 40),  QColor(100, 110, 120),
        QColor(220, 90, 20),   QColor(60, 160, 200), QColor(70, 40, 100),  QColor(120, 140, 40),
    };
    const int n = pantheonId.mid(1).toInt();
    return n >= 1 && n <= 8 ? colors[n - 1] : QColor(128, 128, 128);
}

QColor PathColor(QChar letter)
{
    switch (letter.toLower().unicode()) {
    case 'v': return QColor(200, 40, 40);
    case 'm': return QColor(40, 80, 200);
    case 'h': return QColor(40, 150, 60);
    case 'i': return QColor(150, 60, 170);
    default: return QColor(90, 90, 90);
    }
}

QFont CardFont(int pixelSize, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

// A round token with a letter (or a count) inside, as the card shows its cost and paths.
void DrawToken(QPainter& p, const QRect& r, QChar letter, const QString& text)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(PathColor(letter));
    p.drawEllipse(r);
    p.setPen(Qt::white);
    p.setFont(CardFont(r.height() * 3 / 5, true));
    p.drawText(r, Qt::AlignCenter, text);
}

// The upright card face, 250 x 350; a people card is a landscape card, 350 x 250.
QImage DrawCard(const TCardRow& c, int seed, int w = kCardWidth, int h = kCardHeight)
{
    QImage img(w, h, QImage::Format_RGB32);
    const QColor base = PantheonColor(c.Pantheon);
    img.fill(base.darker(170));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Frame in the pantheon colour, a light panel inside.
    p.setPen(Qt::NoPen);
    p.setBrush(base);
    p.drawRoundedRect(QRectF(4, 4, w - 8, h - 8), 12, 12);
    p.setBrush(QColor(245, 238, 220));
    p.drawRoundedRect(QRectF(12, 12, w - 24, h - 24), 8, 8);

    // Title: number and name.
    p.setPen(Qt::black);
    p.setFont(CardFont(13, true));
    p.drawText(QRect(18, 16, 40, 22), Qt::AlignLeft | Qt::AlignVCenter, c.Number);
    const QFontMetrics fm(CardFont(13, true));
    p.drawText(QRect(56, 16, w - 74, 22), Qt::AlignRight | Qt::AlignVCenter,
               fm.elidedText(c.Name, Qt::ElideRight, w - 74));

    // Art: a gradient with a few shapes that differ per card.
    const QRect art(20, 42, w - 40, h - 180);
    QLinearGradient g(art.topLeft(), art.bottomRight());
    g.setColorAt(0, base.lighter(160));
    g.setColorAt(1, base.darker(130));
    p.setBrush(g);
    p.setPen(QPen(base.darker(200), 2));
    p.drawRect(art);
    p.setClipRect(art.adjusted(1, 1, -1, -1));
    unsigned s = unsigned(seed) * 2654435761u;
    for (int i = 0; i < 5; ++i) {
        s = s * 1103515245u + 12345u;
        const int x = art.left() + int(s >> 8) % art.width();
        const int y = art.top() + int(s >> 16) % art.height();
        const int r = 12 + int(s >> 4) % 40;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 40 + int(s >> 24) % 60));
        p.drawEllipse(QPoint(x, y), r, r);
    }
    p.setClipping(false);

    // Type and pantheon line.
    p.setPen(Qt::black);
    p.setFont(CardFont(12, true));
    p.drawText(QRect(20, art.bottom() + 5, w - 40, 18), Qt::AlignLeft | Qt::AlignVCenter, c.TypeName);
    p.setFont(CardFont(11));
    p.drawText(QRect(20, art.bottom() + 5, w - 40, 18), Qt::AlignRight | Qt::AlignVCenter, c.PantheonName);
    p.setPen(QPen(base, 1));
    p.drawLine(20, art.bottom() + 26, w - 20, art.bottom() + 26);

    // Level and power points, where the card has them.
    p.setPen(Qt::black);
    p.setFont(CardFont(12));
    int y = art.bottom() + 33;
    if (!c.Level.isEmpty()) {
        p.drawText(QRect(22, y, 120, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Szint: ") + c.Level);
        y += 20;
    }
    if (!c.Hp.isEmpty())
        p.drawText(QRect(22, y, 150, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Hatalom Pont: ") + c.Hp);

    // Bottom row: a main god shows its path counts, every other card its summoning letters.
    const int tok = 26, bottom = h - 20 - tok;
    static const QString letters = QStringLiteral("vmhi");
    if (c.Type == QLatin1String("L004") && c.Paths.size() == 4) {
        for (int k = 0; k < 4; ++k)
            DrawToken(p, QRect(22 + k * (tok + 26), bottom, tok, tok), letters[k],
                      letters[k].toUpper() + QString(c.Paths[k]));
    } else if (!c.Summoning.isEmpty()) {
        int x = w - 22 - tok;
        for (int i = c.Summoning.size() - 1; i >= 0; --i, x -= tok + 4)
            DrawToken(p, QRect(x, bottom, tok, tok), c.Summoning[i], QString(c.Summoning[i]));
    }
    if (c.Type == QLatin1String("L011") && !c.Paths.isEmpty()) {
        int x = 22;
        for (const QChar ch : c.Paths) {
            DrawToken(p, QRect(x, bottom, tok, tok), ch, QString(ch.toUpper()));
            x += tok + 4;
        }
    }
    p.end();
    return img;
}

QImage DrawCardBack()
{
    QImage img(kCardWidth, kCardHeight, QImage::Format_RGB32);
    img.fill(QColor(40, 25, 15));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, kCardWidth, kCardHeight);
    g.setColorAt(0, QColor(120, 70, 30));
    g.setColorAt(1, QColor(60, 30, 10));
    p.setPen(QPen(QColor(210, 170, 80), 3));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(8, 8, kCardWidth - 16, kCardHeight - 16), 14, 14);
    p.setBrush(Qt::NoBrush);
    for (int r = 30; r <= 100; r += 14) p.drawEllipse(QPoint(kCardWidth / 2, kCardHeight / 2), r, r);
    p.setPen(QColor(240, 210, 120));
    p.setFont(CardFont(30, true));
    p.drawText(img.rect(), Qt::AlignCenter, QStringLiteral("VELKOR"));
    p.end();
    return img;
}

QString ColumnText(sqlite3_stmt* st, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, column));
    return text ? QString::fromUtf8(text) : QString();
}

// Draws every card of the freshly built catalogue into <program folder>/GFX.
bool WritePictures(sqlite3* db, const QDir& out)
{
    out.mkpath("GFX");
    const QDir gfx(out.filePath("GFX"));
    QStringList missing;
    for (const char* number : kMissingPictures) missing << QString::fromLatin1(number);

    bool ok = WriteJpeg(DrawCardBack(), gfx.filePath("hatlap.jpg"));
    sqlite3_stmt* st = nullptr;
    const char* sql =
        "SELECT TLAP.L_ID, L_LAPSZAM, L_NEV, L_VELKOR, VELKOR_NEV, L_LAPTIPUS, LAPTIPUS_NEV, L_LEIDEZES, "
        "L_UTAK, L_SZINT, L_HP, L_KEPNEV FROM (TLAP LEFT JOIN TVELKOR ON L_VELKOR = VELKOR_ID) "
        "LEFT JOIN TLAPTIPUS ON L_LAPTIPUS = LAPTIPUS_ID ORDER BY TLAP.L_ID";
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "mkdemo: %s\n", sqlite3_errmsg(db));
        return false;
    }
    int written = 0;
    while (ok && sqlite3_step(st) == SQLITE_ROW) {
        const int id = sqlite3_column_int(st, 0);
        TCardRow c{ColumnText(st, 1), ColumnText(st, 2), ColumnText(st, 3), ColumnText(st, 4),
                   ColumnText(st, 5), ColumnText(st, 6), ColumnText(st, 7), ColumnText(st, 8),
                   ColumnText(st, 9), ColumnText(st, 10), ColumnText(st, 11)};
        if (c.Picture.isEmpty()) continue;
        const QString path = gfx.filePath(c.Picture);
        if (missing.contains(c.Number)) {
            QFile::remove(path);  // left over from an earlier build
            continue;
        }
        // People cards are landscape cards kept sideways, as a scanner takes them: the upright
        // 350 x 250 face turned a quarter clockwise into a 250 x 350 file, which the picture view
        // turns back for display.
        const bool people = c.Type == QLatin1String("L011");
        QImage face = people ? DrawCard(c, id, kCardHeight, kCardWidth) : DrawCard(c, id);
        if (people) face = face.transformed(QTransform().rotate(90));
        ok = WriteJpeg(face, path);
        ++written;
    }
    sqlite3_finalize(st);
    if (ok) std::printf("mkdemo: %d card pictures in %s\n", written, qPrintable(gfx.path()));
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: mkdemo <demo folder> <program folder>\n");
        return 2;
    }
    const QDir src(QString::fromLocal8Bit(argv[1]));
    const QDir out(QString::fromLocal8Bit(argv[2]));
    out.mkpath("DB");
    const QString target = out.filePath("DB/Velkor.db");
    const QString temp = target + ".tmp";
    QFile::remove(temp);

    sqlite3* db = nullptr;
    if (sqlite3_open(temp.toUtf8().constData(), &db) != SQLITE_OK) return 1;
    bool ok = ExecFile(db, src.filePath("schema.sql"));
    ok = ok && sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    const QStringList data = QDir(src.filePath("data")).entryList({"*.sql"}, QDir::Files, QDir::Name);
    for (const QString& name : data) ok = ok && ExecFile(db, src.filePath("data/" + name));
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    // The pictures come before the catalogue is put in place: when they fail, there is no
    // catalogue either, and the next build tries again.
    ok = ok && WritePictures(db, out);
    sqlite3_close(db);
    if (!ok) {
        QFile::remove(temp);
        return 1;
    }
    QFile::remove(target);
    return QFile::rename(temp, target) ? 0 : 1;
}
