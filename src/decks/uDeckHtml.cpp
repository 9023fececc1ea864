#include "decks/uDeckHtml.h"

#include "app/Messages.h"
#include "decks/uDeckGroups.h"
#include "decks/uDeckStore.h"
#include "storage/Exceptions.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <bitset>

namespace {

const char* const WINDOWS_1250 = "windows-1250";

const QStringList& HeadLines()
{
    static const QStringList lines = {
        QStringLiteral("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">"
                       "<title>Velkor Kártyajáték</title></head><body bgcolor=\"#FFFFFF\">"),
        QStringLiteral("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" width=\"650\">"),
        QStringLiteral("<tr><th align=\"left\" colspan=\"4\" bgcolor=\"#008080\"><font face=\"Trebuchet MS\" "
                       "color=\"#FFFFFF\" size=\"4\">Velkor kártyajáték</font></th></tr>"),
        QStringLiteral("<font size=\"2\" face=\"Trebuchet MS\">"),
    };
    return lines;
}

const QStringList& TailLines()
{
    static const QStringList lines = {
        QStringLiteral("<tr><td colspan=\"4\" bgcolor=\"#C0C0C0\">Tulajdonságok</td></tr>"),
        QStringLiteral("<tr><td>&nbsp;</td></tr>"),
        QStringLiteral("<tr><td colspan=\"4\" bgcolor=\"#C0C0C0\">Kategóriák</td></tr>"),
        QStringLiteral("<tr><td>&nbsp;</td></tr>"),
        QStringLiteral("<tr><td colspan=\"4\" bgcolor=\"#C0C0C0\">Idézés</td></tr>"),
        QStringLiteral("<tr><td>&nbsp;</td></tr>"),
        QStringLiteral("</font></table></body></html>"),
    };
    return lines;
}

// Which UTF-16 code units Windows-1250 holds: every byte that decodes to one character and encodes
// back to itself. Learnt from the codec, so no code table is written out here.
const std::bitset<65536>& Windows1250Characters()
{
    static const std::bitset<65536> known = [] {
        std::bitset<65536> set;
        for (int b = 0; b < 256; ++b) {
            QStringDecoder decoder(WINDOWS_1250);
            QStringEncoder encoder(WINDOWS_1250);
            if (!decoder.isValid() || !encoder.isValid()) break;
            const QByteArray byte(1, char(b));
            const QString ch = decoder.decode(byte);
            if (decoder.hasError() || ch.size() != 1 || ch.at(0) == QChar::ReplacementCharacter) continue;
            const QByteArray back = encoder.encode(ch);
            if (!encoder.hasError() && back == byte) set.set(ch.at(0).unicode());
        }
        return set;
    }();
    return known;
}

QString Reference(char32_t codePoint) { return QStringLiteral("&#%1;").arg(quint32(codePoint)); }

QString MultilineHtml(const QString& text)
{
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(u'\r', u'\n');
    QStringList parts = lines.split(u'\n');
    for (QString& part : parts) part = HtmlEscape(part);
    return parts.join(QLatin1String("<br>"));
}

}  // namespace

QString HtmlEscape(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar ch : text) {
        switch (ch.unicode()) {
        case u'&': out += QLatin1String("&amp;"); break;
        case u'<': out += QLatin1String("&lt;"); break;
        case u'>': out += QLatin1String("&gt;"); break;
        case u'"': out += QLatin1String("&quot;"); break;
        case u'\r':
        case u'\n': out += u' '; break;
        default: out += ch;
        }
    }
    return out;
}

QString DeckCardText(const TDeckRow& row)
{
    QString text = QLatin1Char('(') + row.L_LAPSZAM + QStringLiteral(") ") + row.L_NEV;
    if (row.DB >= 2) text += QStringLiteral(" (") + QString::number(row.DB) + QLatin1Char(')');
    if (row.L_SZINT >= 2) text += QLatin1Char(' ') + QString::number(row.L_SZINT);
    text += QLatin1Char(' ') + row.L_IDEZES;
    return text;
}

QStringList DeckHtmlLines(const std::vector<TDeckRow>& rows, const TDeckHtmlHead& head)
{
    QStringList lines = HeadLines();
    lines << QStringLiteral("<tr><td colspan=\"4\">Főisten: ") + HtmlEscape(head.GodName) + QStringLiteral("</td></tr>");
    lines << QStringLiteral("<tr><td>Pakli megnevezése:</td><td colspan=\"3\">") + HtmlEscape(head.DeckName) +
                 QStringLiteral("</td></tr>");
    lines << QStringLiteral("<tr><td>Leírás:</td><td colspan=\"3\">") + MultilineHtml(head.Description) +
                 QStringLiteral("</td></tr>");
    int group = -1;
    bool first = true;
    for (const TDeckRow& row : rows) {
        if (first || row.TECHSORREND != group) {
            group = row.TECHSORREND;
            first = false;
            lines << QStringLiteral("<tr><td colspan=\"4\" bgcolor=\"#C0C0C0\">") + HtmlEscape(DeckGroupName(group)) +
                         QStringLiteral("</td></tr>");
        }
        lines << QStringLiteral("<tr><td><font size=\"2\" face=\"Courier\">") + HtmlEscape(DeckCardText(row)) +
                     QStringLiteral("</font></td></tr>");
    }
    lines += TailLines();
    return lines;
}

QByteArray EncodeWindows1250(const QString& text)
{
    const std::bitset<65536>& known = Windows1250Characters();
    QStringEncoder encoder(WINDOWS_1250);
    if (!encoder.isValid() || known.none())
        throw Exception(QStringLiteral("A Windows-1250 kódolás nem érhető el, a pakli nem exportálható."));
    QString held;
    held.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            held += Reference(QChar::surrogateToUcs4(ch, text.at(i + 1)));
            ++i;
        } else if (ch.isSurrogate()) {
            held += Reference(QChar::ReplacementCharacter);  // half a pair stands for nothing
        } else if (known.test(ch.unicode())) {
            held += ch;
        } else {
            held += Reference(ch.unicode());
        }
    }
    QByteArray bytes = encoder.encode(held);
    if (encoder.hasError())
        throw Exception(QStringLiteral("A pakli szövege nem alakítható Windows-1250 kódolásúra."));
    return bytes;
}

QByteArray DeckHtmlBytes(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines) text += line + QLatin1String("\r\n");
    return EncodeWindows1250(text);
}

void WriteDeckHtml(const QString& fileName, const std::vector<TDeckRow>& rows, const TDeckHtmlHead& head)
{
    std::vector<TDeckRow> ordered = rows;
    std::stable_sort(ordered.begin(), ordered.end(), TDeckTable::Before);
    const QByteArray bytes = DeckHtmlBytes(DeckHtmlLines(ordered, head));

    QSaveFile file(fileName);
    auto fail = [&](const QString& reason) {
        throw Exception(QStringLiteral("A pakli exportálása nem sikerült, a fájl nem írható:\n%1\n%2")
                            .arg(QDir::toNativeSeparators(fileName), reason));
    };
    if (!file.open(QIODevice::WriteOnly)) fail(file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        fail(reason);
    }
    if (!file.commit()) fail(file.errorString());
}

void WriteStoredDeckHtml(TDeckStore& store, qint64 deckId, const QString& fileName)
{
    const std::optional<TDeckHeader> header = store.LoadHeader(deckId);
    if (!header)
        throw Exception(QStringLiteral("A pakli nem exportálható: nincs ilyen pakli a katalógusban, vagy hiányzik "
                                       "a főistene (azonosító: %1).")
                            .arg(deckId));
    WriteDeckHtml(fileName, store.LoadDeckRows(deckId), {header->GodName, header->Name, header->Description});
}

QString DeckHtmlFileName(const QString& deckName)
{
    QString name = deckName.trimmed();
    for (QChar& ch : name)
        if (ch < QChar(32) || QStringLiteral("/\\:*?\"<>|").contains(ch)) ch = u'_';
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) name = QStringLiteral("pakli");
    return name + QStringLiteral(".htm");
}

bool TDeckSaveDialog::Execute()
{
    QString name = PromptSaveFile(Title, Filter, FileName, DefaultExt, false);
    if (name.isEmpty()) return false;
    if (QFileInfo(name).suffix().isEmpty() && !name.endsWith(u'.')) name += QLatin1Char('.') + DefaultExt;
    FileName = name;
    return true;
}
