#include "decks/uDeckStore.h"

TDeckStore::TDeckStore(TConnection& connection)
    : qOsszLap(&connection),
      qOsszesit(&connection),
      qGetFejAdat(&connection),
      qEgyLap(&connection),
      qDelPakliLap(&connection),
      qInsPakliLap(&connection),
      qFejUpdate(&connection),
      qTaroltFej(&connection),
      qTaroltLapok(&connection),
      FConnection(connection)
{
    qOsszLap.SetSQL("SELECT L_ID, L_LAPSZAM, L_LAPTIPUS, L_NEV FROM TLAP ORDER BY L_LAPSZAM ;");
    qOsszesit.SetSQL(
        "SELECT TLAP.L_LAPSZAM, TLAP.L_NEV, TVELKOR.VELKOR_NEV, TLAPTIPUS.LAPTIPUS_NEV, TLAP.L_HP, TLAP.L_SZINT, "
        "TLAPTIPUS.LAPTIPUS_TECHSORREND, PL_LDB, TLAP.L_HP, TPAKLILAP.PL_LID, TLAP.L_SZINT, TLAP.L_LEIDEZES, "
        "TLAP.L_ID FROM TPAKLILAP LEFT JOIN TLAP ON TPAKLILAP.PL_LID = TLAP.L_ID LEFT JOIN TLAPTIPUS ON "
        "TLAP.L_LAPTIPUS = TLAPTIPUS.LAPTIPUS_ID LEFT JOIN TVELKOR ON TLAP.L_VELKOR = TVELKOR.VELKOR_ID "
        "WHERE TPAKLILAP.PL_PID = :PPAKLIID ORDER BY TLAPTIPUS.LAPTIPUS_TECHSORREND,TLAP.L_LAPSZAM ;");
    qGetFejAdat.SetSQL(
        "SELECT TLAP.L_LAPSZAM, TLAP.L_NEV, TLAP.L_UTAK, TLAP.L_LEIDEZESTECH, TVELKOR.VELKOR_NEV, TPAKLI.P_ID, "
        "TPAKLI.P_NEV, TPAKLI.P_MEGJ, TPAKLI.P_FOISTENLID FROM (TPAKLI INNER JOIN TLAP ON TPAKLI.P_FOISTENLID = "
        "TLAP.L_ID) INNER JOIN TVELKOR ON TLAP.L_VELKOR = TVELKOR.VELKOR_ID WHERE TPAKLI.P_ID = :PPAKLIID ;");
    qEgyLap.SetSQL(
        "SELECT TLAP.L_LAPSZAM, TLAP.L_NEV, TLAPTIPUS.LAPTIPUS_TECHSORREND, TLAP.L_HP, TLAP.L_SZINT, "
        "TLAP.L_LEIDEZES FROM TLAP INNER JOIN TLAPTIPUS ON TLAP.L_LAPTIPUS = TLAPTIPUS.LAPTIPUS_ID WHERE "
        "TLAP.L_ID = :PID ;");
    qDelPakliLap.SetSQL("DELETE FROM TPAKLILAP WHERE PL_PID = :PPAKLIID AND PL_LID = :PL_LID ;");
    qInsPakliLap.SetSQL("INSERT INTO TPAKLILAP ( PL_PID, PL_LID, PL_LDB) VALUES (:PL_PID, :PL_LID, :PL_LDB) ;");
    qFejUpdate.SetSQL("UPDATE TPAKLI SET P_NEV = CASE WHEN :SET_NEV THEN :P_NEV ELSE P_NEV END, "
                      "P_MEGJ = CASE WHEN :SET_MEGJ THEN :P_MEGJ ELSE P_MEGJ END WHERE P_ID = :P_ID ;");
    qTaroltFej.SetSQL("SELECT P_NEV, P_MEGJ, P_FOISTENLID FROM TPAKLI WHERE P_ID = :PPAKLIID ;");
    qTaroltLapok.SetSQL(
        "SELECT PL_LID, PL_LDB FROM TPAKLILAP WHERE PL_PID = :PPAKLIID ORDER BY PL_LID, PL_LDB, rowid ;");
}

void TDeckStore::OpenCardList()
{
    qOsszLap.Close();
    qOsszLap.Open();
}

std::vector<TDeckRow> TDeckStore::LoadDeckRows(qint64 deckId)
{
    qOsszesit.Close();
    qOsszesit.SetParam("PPAKLIID", deckId);
    qOsszesit.Open();
    std::vector<TDeckRow> rows;
    rows.reserve(size_t(qOsszesit.RecordCount()));
    for (int r = 0; r < qOsszesit.RecordCount(); ++r) {
        TDeckRow row;
        row.L_ID = qOsszesit.ValueInteger(r, 9);
        // A row whose card is gone shows the stored card id, so the player can tell which it was.
        const bool gone = qOsszesit.ValueIsNull(r, 12);
        row.L_LAPSZAM = gone ? QStringLiteral("#") + qOsszesit.ValueText(r, 9) : qOsszesit.ValueText(r, 0);
        row.L_NEV = gone ? QStringLiteral("(ismeretlen lap)") : qOsszesit.ValueText(r, 1);
        row.TECHSORREND = int(qOsszesit.ValueInteger(r, 6));
        row.DB = int(qOsszesit.ValueInteger(r, 7));
        row.HP = DeckPowerPoints(qOsszesit.ValueInteger(r, 8));
        row.L_SZINT = int(qOsszesit.ValueInteger(r, 10));
        row.L_IDEZES = qOsszesit.ValueText(r, 11);
        rows.push_back(std::move(row));
    }
    qOsszesit.Close();
    return rows;
}

std::optional<TDeckHeader> TDeckStore::LoadHeader(qint64 deckId)
{
    qGetFejAdat.Close();
    qGetFejAdat.SetParam("PPAKLIID", deckId);
    qGetFejAdat.Open();
    if (qGetFejAdat.IsEmpty()) {
        qGetFejAdat.Close();
        return std::nullopt;
    }
    TDeckHeader h;
    h.GodNumber = qGetFejAdat.ValueText(0, 0);
    h.GodName = qGetFejAdat.ValueText(0, 1);
    h.GodPaths = qGetFejAdat.ValueText(0, 2);
    h.SummoningTech = qGetFejAdat.ValueText(0, 3);
    h.GodPantheon = qGetFejAdat.ValueText(0, 4);
    h.DeckId = qGetFejAdat.ValueInteger(0, 5);
    h.Name = qGetFejAdat.ValueText(0, 6);
    h.Description = qGetFejAdat.ValueText(0, 7);
    h.GodId = qGetFejAdat.ValueInteger(0, 8);
    qGetFejAdat.Close();
    return h;
}

std::optional<TDeckRow> TDeckStore::CardRow(qint64 cardId)
{
    qEgyLap.Close();
    qEgyLap.SetParam("PID", cardId);
    qEgyLap.Open();
    if (qEgyLap.IsEmpty()) {
        qEgyLap.Close();
        return std::nullopt;
    }
    TDeckRow row;
    row.L_ID = cardId;
    row.DB = 1;
    row.L_LAPSZAM = qEgyLap.ValueText(0, 0);
    row.L_NEV = qEgyLap.ValueText(0, 1);
    row.TECHSORREND = int(qEgyLap.ValueInteger(0, 2));
    row.HP = DeckPowerPoints(qEgyLap.ValueInteger(0, 3));
    row.L_SZINT = int(qEgyLap.ValueInteger(0, 4));
    row.L_IDEZES = qEgyLap.ValueText(0, 5);
    qEgyLap.Close();
    return row;
}

QString TDeckStore::CardPicture(qint64 cardId)
{
    TQuery q(&FConnection);
    q.SetSQL("SELECT L_KEPNEV FROM TLAP WHERE L_ID = :PID");
    q.SetParam("PID", cardId);
    q.Open();
    return q.IsEmpty() ? QString() : q.ValueText(0, 0);
}

TStoredDeck TDeckStore::ReadStored(qint64 deckId)
{
    TStoredDeck s;
    qTaroltFej.Close();
    qTaroltFej.SetParam("PPAKLIID", deckId);
    qTaroltFej.Open();
    s.Exists = !qTaroltFej.IsEmpty();
    if (s.Exists) {
        s.Name = qTaroltFej.StoredValue(0, 0);
        s.Description = qTaroltFej.StoredValue(0, 1);
        s.GodId = qTaroltFej.StoredValue(0, 2);
    }
    qTaroltFej.Close();
    qTaroltLapok.Close();
    qTaroltLapok.SetParam("PPAKLIID", deckId);
    qTaroltLapok.Open();
    s.Rows.reserve(size_t(qTaroltLapok.RecordCount()));
    for (int r = 0; r < qTaroltLapok.RecordCount(); ++r)
        s.Rows.emplace_back(qTaroltLapok.StoredValue(r, 0), qTaroltLapok.StoredValue(r, 1));
    qTaroltLapok.Close();
    return s;
}

bool TStoredDeck::operator==(const TStoredDeck& o) const
{
    if (Exists != o.Exists || !SameStoredValue(Name, o.Name) || !SameStoredValue(Description, o.Description) ||
        !SameStoredValue(GodId, o.GodId) || Rows.size() != o.Rows.size())
        return false;
    for (size_t i = 0; i < Rows.size(); ++i)
        if (!SameStoredValue(Rows[i].first, o.Rows[i].first) || !SameStoredValue(Rows[i].second, o.Rows[i].second))
            return false;
    return true;
}

std::map<qint64, qint64> TStoredDeck::CardCounts() const
{
    // Read as the deck table reads them: a number stored as text counts, NULL counts none.
    std::map<qint64, qint64> counts;
    for (const auto& [card, copies] : Rows) counts[card.toLongLong()] += copies.toLongLong();
    return counts;
}

TDeckStore::TSaveResult TDeckStore::Save(qint64 deckId, const QString& name, const QString& description,
                                         const std::vector<TDeckRow>& rows, const TStoredDeck& expected)
{
    TTransaction transaction(FConnection, TTransaction::Immediate);
    if (ReadStored(deckId) != expected) return TSaveResult::ChangedElsewhere;
    std::map<qint64, qint64> wanted;
    for (const TDeckRow& row : rows) wanted[row.L_ID] += row.DB;
    const std::map<qint64, qint64> stored = expected.CardCounts();
    // Cards whose count is unchanged keep their rows as they are stored; a changed or removed card
    // loses its rows, and a changed or new one gets a single row with its count.
    for (const auto& [card, copies] : stored) {
        const auto it = wanted.find(card);
        if (it != wanted.end() && it->second == copies) continue;
        qDelPakliLap.SetParam("PPAKLIID", deckId);
        qDelPakliLap.SetParam("PL_LID", card);
        qDelPakliLap.Execute();
    }
    for (const auto& [card, copies] : wanted) {
        const auto it = stored.find(card);
        if ((it != stored.end() && it->second == copies) || copies <= 0) continue;
        qInsPakliLap.SetParam("PL_PID", deckId);
        qInsPakliLap.SetParam("PL_LID", card);
        qInsPakliLap.SetParam("PL_LDB", copies);
        qInsPakliLap.Execute();
    }
    const bool setName = name != expected.Name.toString();
    const bool setDescription = description != expected.Description.toString();
    if (setName || setDescription) {
        qFejUpdate.SetParam("SET_NEV", setName ? 1 : 0);
        qFejUpdate.SetParam("P_NEV", name);
        qFejUpdate.SetParam("SET_MEGJ", setDescription ? 1 : 0);
        qFejUpdate.SetParam("P_MEGJ", description);
        qFejUpdate.SetParam("P_ID", deckId);
        qFejUpdate.Execute();
    }
    transaction.Commit();
    return TSaveResult::Saved;
}
