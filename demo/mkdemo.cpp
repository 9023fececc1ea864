// Builds the demo program folder from the text sources in demo/: DB/Velkor.db from schema.sql
// and data/*.sql, and GFX/ with one drawn JPEG per card.
// Usage: mkdemo <demo source folder> <program folder>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <sqlite3.h>

#include <cstdio>

static bool ExecFile(sqlite3* db, const QString& path)
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
    sqlite3_close(db);
    if (!ok) {
        QFile::remove(temp);
        return 1;
    }
    QFile::remove(target);
    return QFile::rename(temp, target) ? 0 : 1;
}
