#include "decks/uDeckText.h"

#include "app/Messages.h"
#include "app/WidgetUtil.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>


namespace {

const QString kGodType = QStringLiteral("L004");

QString Shown(const QString& line)
{
    constexpr int kMax = 60;
    return line.size() <= kMax ? line : line.left(kMax) + QStringLiteral("…");
}

QString Fold(const QString& s) { return s.trimmed().toCaseFolded(); }

}  // namespace

QString DeckToText(const TDeckGod& god, const std::vector<TDeckRow>& rows)
{
    QStringList lines;
    if (god.Id >= 0) lines << QStringLiteral("1 (%1) %2").arg(god.Number, god.Name);
    for (const TDeckRow& r : rows) lines << QStringLiteral("%1 (%2) %3").arg(r.DB).arg(r.L_LAPSZAM, r.L_NEV);
    return lines.join(u'\n');
}

TDeckTextParse ParseDeckText(const QString& text)
{
    TDeckTextParse out;
    if (text.size() > DeckTextMaxChars) {
        out.Error = QStringLiteral("A vágólap szövege túl hosszú (%1 karakter; egy paklilista legfeljebb %2 "
                                   "karakter lehet). Semmi sem változott.")
                        .arg(text.size())
                        .arg(DeckTextMaxChars);
        return out;
    }
    // A count, then optionally the card number in parentheses, then the name.
    static const QRegularExpression line(QStringLiteral(R"(^([-+]?\d+)\s+(?:\(([^()]*)\)\s*)?(.*)$)"));
    const QStringList raw = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (int i = 0; i < raw.size(); ++i) {
        const QString s = raw[i].trimmed();
        if (s.isEmpty()) continue;
        const QRegularExpressionMatch m = line.match(s);
        const QString number = m.hasMatch() ? m.captured(2).trimmed() : QString();
        const QString name = m.hasMatch() ? m.captured(3).trimmed() : QString();
        if (!m.hasMatch() || (number.isEmpty() && name.isEmpty())) {
            out.Error = QStringLiteral("A(z) %1. sor nem paklisor: „%2”. Minden sor alakja: darabszám "
                                       "(lapszám) név, például „3 (123) Lapnév”. Semmi sem változott.")
                            .arg(i + 1)
                            .arg(Shown(s));
            out.Lines.clear();
            return out;
        }
        bool ok = false;
        const qint64 count = m.captured(1).toLongLong(&ok);
        if (!ok || count < 1 || count > DeckTextMaxCopies) {
            out.Error = QStringLiteral("A(z) %1. sor darabszáma 1 és %2 között lehet: „%3”. Semmi sem változott.")
                            .arg(i + 1)
                            .arg(DeckTextMaxCopies)
                            .arg(Shown(s));
            out.Lines.clear();
            return out;
        }
        out.Lines.push_back({i + 1, int(count), number, name, s});
    }
    if (out.Lines.empty()) out.Error = QStringLiteral("A vágólapon nincs paklilista (üres szöveg). Semmi sem változott.");
    return out;
}

qint64 TDeckImport::CopyCount() const
{
    qint64 n = GodId >= 0 ? 1 : 0;
    for (const auto& c : Cards) n += c.second;
    return n;
}

TDeckImport MatchDeckText(TConnection& connection, const std::vector<TDeckTextLine>& lines)
{
    struct TCard {
        qint64 Id;
        QString Name;
        bool God;
    };
    QHash<QString, TCard> byNumber, byName;
    {
        TQuery q(&connection);
        q.SetSQL("SELECT L_ID, L_LAPSZAM, L_NEV, L_LAPTIPUS FROM TLAP ORDER BY L_LAPSZAM, L_ID ;");
        q.Open();
        for (int r = 0; r < q.RecordCount(); ++r) {
            const TCard card{q.ValueInteger(r, 0), q.ValueText(r, 2), q.ValueText(r, 3) == kGodType};
            // The first card of a number or name in number order answers for it.
            const QString number = Fold(q.ValueText(r, 1));
            if (!number.isEmpty() && !byNumber.contains(number)) byNumber.insert(number, card);
            const QString name = Fold(card.Name);
            if (!name.isEmpty() && !byName.contains(name)) byName.insert(name, card);
        }
    }
    TDeckImport out;
    QHash<qint64, size_t> at;
    QHash<qint64, QString> names;
    for (const TDeckTextLine& l : lines) {
        const TCard* card = nullptr;
        if (!l.Number.isEmpty()) {
            const auto it = byNumber.constFind(Fold(l.Number));
            if (it != byNumber.cend()) card = &*it;
        }
        if (!card && !l.Name.isEmpty()) {
            const auto it = byName.constFind(Fold(l.Name));
            if (it != byName.cend()) card = &*it;
        }
        if (!card) {
            out.Unmatched << l.Raw;
            continue;
        }
        qint64 copies = l.Count;
        if (card->God && out.GodId < 0) {
            out.GodId = card->Id;
            out.GodName = card->Name;
            --copies;  // the head takes one copy; any more are cards of the deck
        }
        if (copies <= 0) continue;
        const auto found = at.constFind(card->Id);
        if (found != at.cend()) out.Cards[*found].second += copies;
        else {
            at.insert(card->Id, out.Cards.size());
            names.insert(card->Id, card->Name);
            out.Cards.emplace_back(card->Id, copies);
        }
    }
    // Several lines of one card add up: the limit is on the card, not on a line.
    for (const auto& [cardId, copies] : out.Cards) {
        if (copies <= DeckTextMaxCopies) continue;
        out.Error = QStringLiteral("A(z) „") + names.value(cardId) + QStringLiteral("” lapból a sorok összesen ") +
                    QString::number(copies) + QStringLiteral(" példányt adnak; egy lapból legfeljebb ") +
                    QString::number(DeckTextMaxCopies) + QStringLiteral(" lehet egy pakliban. Semmi sem változott.");
        break;
    }
    return out;
}

qint64 StoreImportedDeck(TConnection& connection, const QString& name, const TDeckImport& deck)
{
    if (!deck.Error.isEmpty()) throw EDatabaseError(deck.Error);
    TTransaction write(connection);
    TCommand head(&connection);
    head.SetSQL("INSERT INTO TPAKLI ( P_NEV, P_MEGJ, P_FOISTENLID ) VALUES ( :P_NEV, :P_MEGJ, :P_FOISTENLID ) ;");
    head.SetParam("P_NEV", name);
    head.SetParam("P_MEGJ", QString(""));
    head.SetParam("P_FOISTENLID", deck.GodId);
    head.Execute();
    // The row just inserted, read inside the transaction: no other writer can move it.
    const qint64 id = connection.LastInsertId();
    TCommand card(&connection);
    card.SetSQL("INSERT INTO TPAKLILAP ( PL_PID, PL_LID, PL_LDB) VALUES (:PL_PID, :PL_LID, :PL_LDB) ;");
    for (const auto& [cardId, copies] : deck.Cards) {
        card.SetParam("PL_PID", id);
        card.SetParam("PL_LID", cardId);
        card.SetParam("PL_LDB", copies);
        card.Execute();
    }
    write.Commit();
    return id;
}

std::optional<qint64> ImportDeckText(TConnection& connection, const QString& text)
{
    const TDeckTextParse parsed = ParseDeckText(text);
    if (!parsed.Ok()) {
        ShowWarning(parsed.Error);
        return std::nullopt;
    }
    TDeckImport deck;
    {
        TWaitCursor wait;
        deck = MatchDeckText(connection, parsed.Lines);
    }
    if (!deck.Error.isEmpty()) {
        ShowWarning(deck.Error);
        return std::nullopt;
    }
    if (deck.GodId < 0) {
        ShowWarning(QStringLiteral("A szövegben nincs főisten sora, ezért nem lesz belőle pakli: minden paklinak "
                                   "egy főistenre van szüksége (első sora például „1 (001) Főisten neve”). "
                                   "Semmi sem változott."));
        return std::nullopt;
    }
    QString question = QStringLiteral("A beolvasott pakli főistene: %1; %2 lap, %3 különböző lap.")
                           .arg(deck.GodName, QString::number(deck.CopyCount()), QString::number(deck.Cards.size()));
    if (!deck.Unmatched.isEmpty()) {
        constexpr int kListed = 20;
        question += QStringLiteral("\n\nEzekhez a sorokhoz nem található lap, kimaradnak (%1 sor):\n").arg(deck.Unmatched.size());
        for (int i = 0; i < std::min<int>(kListed, int(deck.Unmatched.size())); ++i) question += Shown(deck.Unmatched[i]) + u'\n';
        if (deck.Unmatched.size() > kListed)
            question += QStringLiteral("… és még %1 sor\n").arg(deck.Unmatched.size() - kListed);
    }
    question += QStringLiteral("\nLétrehozza az új paklit?");
    if (!AskYesNo(question)) return std::nullopt;
    return StoreImportedDeck(connection, QStringLiteral("Beolvasott pakli"), deck);
}
