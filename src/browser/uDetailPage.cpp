#include "browser/uDetailPage.h"

#include "app/Guard.h"
#include "app/Messages.h"
#include "widgets/LComboBox.h"
#include "bitmaps/uPaths.h"
#include "browser/ufTulSel.h"
#include "refdata/ufSpec.h"
#include "storage/FormOpenPars.h"
#include "storage/uAM.h"
#include "storage/udmVDB.h"
#include "storage/DbProvider.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>

#include <algorithm>

// n:                  Szint  Utak   HP     Leidézés
const TCardTypeFields CardTypeFieldTable[15] = {
    /*  0 */ {true, true, true, true},
    /*  1 */ {false, false, true, true},
    /*  2 */ {true, false, true, true},
    /*  3 */ {true, false, false, true},
    /*  4 */ {false, true, false, false},
    /*  5 */ {true, false, false, true},
    /*  6 */ {true, false, false, true},
    /*  7 */ {false, false, false, true},
    /*  8 */ {true, false, true, true},
    /*  9 */ {false, false, false, true},
    /* 10 */ {false, false, false, true},
    /* 11 */ {false, true, true, false},
    /* 12 */ {true, false, true, true},
    /* 13 */ {true, false, false, true},
    /* 14 */ {true, false, false, true},
};

TCardTypeFields CardTypeFieldsFor(const QString& typeCode)
{
    bool ok = false;
    const int n = typeCode.mid(1, 3).toInt(&ok);
    // Types made later in the lookup editor have no row: nothing is locked for them.
    if (!ok || n < 0 || n >= 15) return {true, true, true, true};
    return CardTypeFieldTable[n];
}

QString AppearanceForCardNumber(int cardNumber)
{
    const unsigned n = static_cast<unsigned>(cardNumber);
    if (n < 358) return QStringLiteral("Alapsor");
    if (n <= 485) return QStringLiteral("Oszlar");
    if (n <= 569) return QStringLiteral("Virgony");
    return QString();
}

QStringList BreakSpecText(const QString& text)
{
    QStringList lines;
    QString rest = text;
    while (!rest.isEmpty()) {
        if (rest.size() <= SPEC_LINE_CHARS) {
            lines << rest;
            break;
        }
        const qsizetype space = rest.lastIndexOf(QLatin1Char(' '), SPEC_LINE_CHARS - 1);
        if (space < 0) {
            lines << rest;
            break;
        }
        lines << rest.left(space + 1);
        rest.remove(0, space + 1);
    }
    return lines;
}

TSpecLayout LayoutSpecialAbilities(const QList<TSpecAbility>& abilities)
{
    TSpecLayout layout;
    int y = 4;
    for (const TSpecAbility& a : abilities) {
        TSpecRowLayout row;
        row.IconX = 8;
        row.IconY = y;
        row.IconNames = PathsToIconNames((a.Kijatsz + a.Leidezes).toUpper());
        const int icons = row.IconNames.isEmpty() ? 0 : int(row.IconNames.count(QLatin1Char('/'))) + 1;
        const int textX = row.IconX + 18 * icons + 8;
        const QStringList lines = BreakSpecText(a.Szoveg);
        for (int i = 0; i < lines.size(); ++i) {
            row.Lines.append({textX, y, lines[i]});
            if (i + 1 < lines.size()) y += SPEC_LINE_STEP;
        }
        y += SPEC_LINE_STEP;
        layout.Rows.append(row);
    }
    layout.Bottom = y;
    return layout;
}

QColor SearchMarkColor() { return QColor(255, 230, 110); }

QImage PaintSpecialAbilities(const TSpecLayout& layout, int width, int height, const TSearchQuery* highlight,
                             qreal ratio)
{
    ratio = std::max(ratio, 1.0);
    const QSize logical(std::max(width, 1), std::max({height, SPEC_MIN_HEIGHT, layout.Bottom}));
    QImage canvas((QSizeF(logical) * ratio).toSize(), QImage::Format_RGB32);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(Qt::white);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::SmoothPixmapTransform);  // the path icons are scaled up with the text
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(11);
    p.setFont(font);
    p.setPen(Qt::black);
    const QFontMetrics metrics(font, &canvas);
    const int ascent = metrics.ascent();
    for (const TSpecRowLayout& row : layout.Rows) {
        int x = row.IconX;
        if (!row.IconNames.isEmpty()) DrawIconToCanvas(row.IconNames, p, x, row.IconY);
        if (highlight)
            for (const TSpecTextLine& line : row.Lines)
                for (const auto& [start, length] : highlight->Highlights(line.Text)) {
                    const int left = line.X + metrics.horizontalAdvance(line.Text.left(start));
                    p.fillRect(QRect(left, line.Y, metrics.horizontalAdvance(line.Text.mid(start, length)),
                                     metrics.height()),
                               SearchMarkColor());
                }
        for (const TSpecTextLine& line : row.Lines) p.drawText(QPoint(line.X, line.Y + ascent), line.Text);
    }
    p.end();
    return canvas;
}

namespace {
// Width of the picture page's single-card image at the main window's default size.
const int kSingleViewCanvasWidth = 664;

// The integer a field holds, 0 when it holds none; 0 is stored as NULL.
QVariant IntegerOrNull(const QString& text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n == 0) return QVariant();
    return n;
}

QString CardText(const char* field)
{
    if (!TDetailPage::HasCurrentCard()) return QString();
    return AM->qLapok.FieldByName(field).AsString();
}

// Card ids are 64-bit: a catalogue written by another tool may hold ids beyond 32 bits.
qint64 CurrentCardId()
{
    return TDetailPage::HasCurrentCard() ? AM->qLapok.FieldByName("L_ID").AsLargeInt() : -1;
}

// Suspends the card list's notifications for a scope, resuming them also when an error leaves it.
struct TControlsSuspended {
    explicit TControlsSuspended(TQuery& q) : Q(q) { Q.DisableControls(); }
    ~TControlsSuspended() { Q.EnableControls(); }
    TQuery& Q;
};
}  // namespace

bool TDetailPage::HasCurrentCard() { return AM && AM->qLapok.Active() && !AM->qLapok.IsEmpty(); }

const QStringList TDetailPage::CardColumns = {"L_LAPSZAM", "L_NEV",   "L_VELKOR", "L_LAPTIPUS", "L_LEIDEZES",
                                              "L_SZINT",   "L_UTAK",  "L_HP",     "L_DB",       "L_GYAKORISAG"};
const QStringList TDetailPage::ComboColumns = {"L_VELKOR", "L_LAPTIPUS", "L_GYAKORISAG"};

bool TLoadedCard::SameStored(const TLoadedCard& other) const
{
    return Id == other.Id && HasNote == other.HasNote && Note == other.Note && SameStoredValues(Values, other.Values);
}

bool TDetailPage::ReadStoredCard(qint64 id, TLoadedCard& card)
{
    TQuery row(&AM->ADOConnection);
    row.SetSQL("SELECT " + CardColumns.join(u',') + " FROM TLAP WHERE L_ID = :PIDXLAP");
    row.SetParam("PIDXLAP", id);
    row.Open();
    if (row.IsEmpty()) return false;
    card = TLoadedCard();
    card.Id = id;
    for (int c = 0; c < CardColumns.size(); ++c) {
        card.Values << row.StoredValue(0, c);
        card.Texts << row.ValueText(0, c);
    }
    TQuery note(&AM->ADOConnection);
    note.SetSQL(AM->qSajatMegj.SQL());
    note.SetParam("PIDXLAP", id);
    note.Open();
    card.HasNote = !note.IsEmpty();
    card.Note = card.HasNote ? note.ValueText(0, 0) : QString();
    return true;
}

void TDetailPage::ShowLoadedText(QLineEdit* edit, const QString& text)
{
    const int designLimit = edit->property("DesignMaxLength").toInt();
    if (designLimit > 0) edit->setMaxLength(std::max(designLimit, int(text.size())));
    edit->setText(text);
}

QVariant TDetailPage::ValueToSave(const QString& column, QLineEdit* edit, bool integer) const
{
    const int i = int(CardColumns.indexOf(column));
    if (FLoaded.Valid() && i >= 0 && i < FLoaded.Texts.size() && edit->text() == FLoaded.Texts[i])
        return FLoaded.Values[i];
    if (integer) return IntegerOrNull(edit->text());
    return edit->text();
}

QVariant TDetailPage::ComboValueToSave(const QString& column, TLComboBox* combo) const
{
    // A stored key the list lacks (a missing lookup row) shows as no choice: written back as stored.
    const int i = int(CardColumns.indexOf(column));
    const int k = int(ComboColumns.indexOf(column));
    if (FLoaded.Valid() && i >= 0 && k >= 0 && combo->SelectedKey() == FLoadedKeys.value(k)) return FLoaded.Values[i];
    return combo->SelectedKey();
}

QString TDetailPage::NoteToSave() const
{
    // The editor turns a no-break space into a plain one: an unedited note goes back as stored.
    const QString shown = mSajat->toPlainText();
    return shown == FLoadedNoteShown ? FLoaded.Note : shown;
}

bool TDetailPage::IsModified() const
{
    if (!FLoaded.Valid()) return false;
    const std::pair<const char*, QLineEdit*> edits[] = {{"L_LAPSZAM", eLsz}, {"L_NEV", eNev}, {"L_LEIDEZES", eIdez},
                                                        {"L_UTAK", eUt},     {"L_SZINT", eSzint}, {"L_HP", eHp},
                                                        {"L_DB", eDB}};
    for (const auto& [column, edit] : edits)
        if (edit->text() != FLoaded.Texts.value(int(CardColumns.indexOf(QLatin1String(column))))) return true;
    const TLComboBox* combos[] = {cbVelkor, cbLTipus, cbGyakorisag};
    for (int k = 0; k < 3; ++k)
        if (combos[k]->SelectedKey() != FLoadedKeys.value(k)) return true;
    return mSajat->toPlainText() != FLoadedNoteShown;
}

bool TDetailPage::MayLeaveCard(bool cardMoves)
{
    if (FAsking) return false;  // a move made while the question is settled: the caller goes on
    if (!IsModified()) return true;
    const qint64 loaded = FLoaded.Id;
    const qint64 target = cardMoves ? CurrentCardId() : loaded;
    if (cardMoves && target == loaded) return false;  // the same card again: its edits stay
    const QScopedValueRollback<bool> asking(FAsking, true);
    auto returnToCard = [&] {
        if (cardMoves && HasCurrentCard()) AM->qLapok.Locate("L_ID", loaded);
    };
    switch (AskYesNoCancel(TEXT_UNSAVED_CARD)) {
    case TYesNoCancel::Yes:
        try {
            if (SaveCardDetails(target)) return true;
        } catch (...) {
            returnToCard();
            throw;
        }
        returnToCard();
        return false;
    case TYesNoCancel::No:
        // Dropped: a page left on the same card shows it as stored when it comes back.
        if (!cardMoves) RefreshDetailPage(CardText("L_LAPTIPUS"));
        return true;
    case TYesNoCancel::Cancel: break;
    }
    returnToCard();
    return false;
}

TDetailPage::TDetailPage(QWidget* parent) : QWidget(parent)
{
    PropertyPicker = [this](int kind) { return SelectProperty(kind, this); };
    SpecEditorOpener = [](TFormOpenPars& pars) { ShowSpecEditor(pars); };

    auto label = [](QWidget* parent, const QString& text, const QRect& r, QWidget* buddy = nullptr) {
        auto* l = new QLabel(text, parent);
        l->setGeometry(r);
        if (buddy) l->setBuddy(buddy);
        return l;
    };
    auto edit = [](QWidget* parent, const char* name, int maxLength, const QRect& r) {
        auto* e = new QLineEdit(parent);
        e->setObjectName(name);
        if (maxLength > 0) e->setMaxLength(maxLength);
        e->setProperty("DesignMaxLength", maxLength);
        e->setGeometry(r);
        return e;
    };

    // The card's own columns, one per row.
    const int lx = 8, lw = 104, ex = 114, rowH = 22, step = 25;
    auto rowRect = [&](int i, int w) { return QRect(ex, 8 + i * step, w, rowH); };
    auto labelRect = [&](int i) { return QRect(lx, 8 + i * step, lw, rowH); };

    eNev = edit(this, "eNev", 30, rowRect(0, 176));
    QFont bold = eNev->font();
    bold.setBold(true);
    eNev->setFont(bold);
    label(this, QStringLiteral("Megnevezés :"), labelRect(0), eNev);

    cbVelkor = new TLComboBox(this);
    cbVelkor->setObjectName("cbVelkor");
    cbVelkor->setGeometry(rowRect(1, 176));
    label(this, QStringLiteral("Velkor :"), labelRect(1), cbVelkor);

    cbLTipus = new TLComboBox(this);
    cbLTipus->setObjectName("cbLTipus");
    cbLTipus->setMaxVisibleItems(15);
    cbLTipus->setGeometry(rowRect(2, 176));
    label(this, QStringLiteral("Laptípus :"), labelRect(2), cbLTipus);

    eUt = edit(this, "eUt", 4, rowRect(3, 60));
    lUtak = label(this, QStringLiteral("Utak / Szférák :"), labelRect(3), eUt);
    lUtak->setObjectName("lUtak");
    eSzint = edit(this, "eSzint", 4, rowRect(4, 60));
    lSzint = label(this, QStringLiteral("Szint :"), labelRect(4), eSzint);
    lSzint->setObjectName("lSzint");
    eHp = edit(this, "eHp", 4, rowRect(5, 60));
    lHp = label(this, QStringLiteral("Hatalom Pont :"), labelRect(5), eHp);
    lHp->setObjectName("lHp");
    eIdez = edit(this, "eIdez", 4, rowRect(6, 60));
    lIdez = label(this, QStringLiteral("Leidézés :"), labelRect(6), eIdez);
    lIdez->setObjectName("lIdez");
    eLsz = edit(this, "eLsz", 3, rowRect(7, 60));
    lLapszam = label(this, QStringLiteral("Lapszám :"), labelRect(7), eLsz);
    lLapszam->setObjectName("lLapszam");

    // Properties and categories, each with its add and delete buttons.
    auto speedButton = [this](QToolButton*& b, const char* name, const QString& text, const QString& hint,
                              const QRect& r) {
        b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(text);
        b->setToolTip(hint);
        // A sign is no name for a screen reader; Tab reaches the button, a click keeps the list's focus.
        b->setAccessibleName(hint);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::TabFocus);
        b->setGeometry(r);
    };
    auto listBox = [this](const char* name, const QRect& r) {
        auto* l = new QListWidget(this);
        l->setObjectName(name);
        l->setUniformItemSizes(true);
        l->setSelectionMode(QAbstractItemView::SingleSelection);
        l->setGeometry(r);
        return l;
    };
    const int px = 302;
    lbTulajd = listBox("lbTulajd", QRect(px, 26, 178, 74));
    label(this, QStringLiteral("Tulajdonságok :"), QRect(px, 6, 178, 18), lbTulajd);
    lbTulajd->setAccessibleName(QStringLiteral("Tulajdonságok"));
    speedButton(sb1, "sb1", QStringLiteral("+"), QStringLiteral("Új tulajdonság hozzáadása"), QRect(px + 182, 26, 22, 22));
    speedButton(sb2, "sb2", QStringLiteral("–"), QStringLiteral("Tulajdonság törlése"), QRect(px + 182, 50, 22, 22));
    sb2->setProperty("Tag", 1);
    lbSpecTulajd = listBox("lbSpecTulajd", QRect(px, 124, 178, 76));
    label(this, QStringLiteral("Egyéb tulajdonságok :"), QRect(px, 104, 178, 18), lbSpecTulajd);
    lbSpecTulajd->setAccessibleName(QStringLiteral("Egyéb tulajdonságok"));
    speedButton(sb3, "sb3", QStringLiteral("+"), QStringLiteral("Új egyéb tulajdonság hozzáadása"),
                QRect(px + 182, 124, 22, 22));
    speedButton(sb4, "sb4", QStringLiteral("–"), QStringLiteral("Tulajdonság törlése"), QRect(px + 182, 148, 22, 22));
    sb4->setProperty("Tag", 2);

    // The card's other information and the player's note.
    gbEgyeb = new QGroupBox(QStringLiteral("A lap egyéb információi :"), this);
    gbEgyeb->setObjectName("gbEgyeb");
    gbEgyeb->setGeometry(514, 2, 220, 168);
    eMegjelenes = edit(gbEgyeb, "eMegjelenes", 0, QRect(92, 20, 120, rowH));
    eMegjelenes->setReadOnly(true);
    label(gbEgyeb, QStringLiteral("Megjelenés :"), QRect(8, 20, 84, rowH), eMegjelenes);
    eDB = edit(gbEgyeb, "eDB", 6, QRect(92, 45, 60, rowH));
    label(gbEgyeb, QStringLiteral("Darabszám :"), QRect(8, 45, 84, rowH), eDB);
    cbGyakorisag = new TLComboBox(gbEgyeb);
    cbGyakorisag->setObjectName("cbGyakorisag");
    cbGyakorisag->setMaxVisibleItems(15);
    cbGyakorisag->setGeometry(92, 70, 120, rowH);
    cbGyakorisag->AddKeyed(QStringLiteral("t"), QStringLiteral("tömeg"));
    cbGyakorisag->AddKeyed(QStringLiteral("g"), QStringLiteral("gyakori"));
    cbGyakorisag->AddKeyed(QStringLiteral("á"), QStringLiteral("átlagos"));
    cbGyakorisag->AddKeyed(QStringLiteral("r"), QStringLiteral("ritka"));
    cbGyakorisag->AddKeyed(QStringLiteral("e"), QStringLiteral("egyedi"));
    cbGyakorisag->setCurrentIndex(-1);
    label(gbEgyeb, QStringLiteral("Gyakoriság :"), QRect(8, 70, 84, rowH), cbGyakorisag);
    mSajat = new QPlainTextEdit(gbEgyeb);
    mSajat->setObjectName("mSajat");
    mSajat->setTabChangesFocus(true);
    mSajat->setGeometry(8, 97, 204, 64);

    btnEdit = new QPushButton(QStringLiteral("Módosítások mentése"), this);
    btnEdit->setObjectName("btnEdit");
    btnEdit->setGeometry(514, 176, 220, 26);

    // The special abilities picture.
    label(this, QStringLiteral("Speciális képességek :"), QRect(8, 212, 150, 18));
    speedButton(sb6, "sb6", QStringLiteral("…"), QStringLiteral("Szerkesztés"), QRect(160, 209, 22, 22));
    sbSpec = new QScrollArea(this);
    sbSpec->setObjectName("sbSpec");
    sbSpec->setGeometry(8, 234, 726, 210);
    sbSpec->setFocusPolicy(Qt::TabFocus);
    sbSpec->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    sbSpec->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    imSpec = new QLabel;
    imSpec->setObjectName("imSpec");
    imSpec->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    sbSpec->setWidget(imSpec);
    sbSpec->setWidgetResizable(false);

    QWidget* order[] = {eNev,  cbVelkor,    cbLTipus, eUt,          eSzint, eHp,    eIdez,  eLsz,
                        eDB,   eMegjelenes, lbTulajd, lbSpecTulajd, mSajat, sbSpec, btnEdit, cbGyakorisag};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    GuardedConnect(btnEdit, &QPushButton::clicked, this, &TDetailPage::btnEditClick);
    GuardedConnect(cbLTipus, &QComboBox::currentIndexChanged, this, [this](int) { cbLTipusChange(); });
    GuardedConnect(sb1, &QToolButton::clicked, this, &TDetailPage::sb1Click);
    GuardedConnect(sb3, &QToolButton::clicked, this, &TDetailPage::sb3Click);
    GuardedConnect(sb2, &QToolButton::clicked, this, [this] { lbTorles(sb2); });
    GuardedConnect(sb4, &QToolButton::clicked, this, [this] { lbTorles(sb4); });
    GuardedConnect(sb6, &QToolButton::clicked, this, &TDetailPage::sb6Click);
    GuardedConnect(mSajat, &QPlainTextEdit::textChanged, this, &TDetailPage::LimitNote);
}

void TDetailPage::LimitNote()
{
    // TMEGJ holds 250 characters: typing beyond that is dropped. Only what was just typed goes, so
    // a longer note stored by another tool is never cut by the editor.
    const int length = int(mSajat->toPlainText().size());
    const int allowed = std::max(FNoteLength, 250);
    if (length > allowed) {
        QTextCursor cursor = mSajat->textCursor();
        const int excess = length - allowed;
        const int pos = std::max(cursor.position(), excess);
        cursor.setPosition(pos - excess);
        cursor.setPosition(pos, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        mSajat->setTextCursor(cursor);
    }
    FNoteLength = int(mSajat->toPlainText().size());
}

void TDetailPage::RefreshDetailPage(const QString& cardType)
{
    ApplyCardTypeFields(cardType);
    LoadCardDetails();
    DrawSpecialAbilities();
}

void TDetailPage::LoadCardDetails()
{
    // What the fields are filled from is kept: the save writes these values back unchanged
    // where the user did not edit them, and tells another program's write from the user's own.
    FLoaded = TLoadedCard();
    if (HasCurrentCard()) {
        FLoaded.Id = CurrentCardId();
        TQuery& cards = AM->qLapok;
        for (const QString& column : CardColumns) {
            const TField f = cards.FieldByName(column);
            FLoaded.Values << f.AsStoredValue();
            FLoaded.Texts << f.AsString();
        }
    }
    ShowLoadedText(eNev, CardText("L_NEV"));
    eNev->setCursorPosition(0);  // a long name shows its beginning
    cbVelkor->SelectByKey(CardText("L_VELKOR"));
    cbLTipus->SelectByKey(CardText("L_LAPTIPUS"));
    ShowLoadedText(eUt, CardText("L_UTAK"));
    ShowLoadedText(eSzint, CardText("L_SZINT"));
    ShowLoadedText(eHp, CardText("L_HP"));
    ShowLoadedText(eIdez, CardText("L_LEIDEZES"));
    const QString number = CardText("L_LAPSZAM");
    ShowLoadedText(eLsz, number);
    cbGyakorisag->SelectByKey(CardText("L_GYAKORISAG"));
    ShowLoadedText(eDB, CardText("L_DB"));
    bool ok = false;
    const int n = number.trimmed().toInt(&ok);
    eMegjelenes->setText(HasCurrentCard() ? AppearanceForCardNumber(ok ? n : 0) : QString());
    FLoadedKeys = {cbVelkor->SelectedKey(), cbLTipus->SelectedKey(), cbGyakorisag->SelectedKey()};
    LoadCardProperties();

    {
        const QSignalBlocker quiet(mSajat);
        mSajat->clear();
        mSajat->setExtraSelections({});
        FNoteLength = 0;
        FLoadedNoteShown.clear();
    }
    if (!HasCurrentCard()) return;
    const qint64 id = CurrentCardId();
    TQuery& note = AM->qSajatMegj;
    note.Close();
    note.SetParam("PIDXLAP", id);
    note.Open();
    if (!note.IsEmpty()) {
        const QSignalBlocker quiet(mSajat);
        FLoaded.HasNote = true;
        FLoaded.Note = note.FieldByName("ME_MEGJEGYZES").AsString();
        mSajat->setPlainText(FLoaded.Note);
        FLoadedNoteShown = mSajat->toPlainText();
        FNoteLength = int(FLoadedNoteShown.size());
    }
    note.Close();
    MarkNoteMatches();
    AM->OpenCardSpecials(id);
}

void TDetailPage::MarkNoteMatches()
{
    QList<QTextEdit::ExtraSelection> marks;
    const QString text = mSajat->document()->toRawText();
    for (const auto& [start, length] : FSearch.Highlights(text)) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(mSajat->document());
        mark.cursor.setPosition(start);
        mark.cursor.setPosition(start + length, QTextCursor::KeepAnchor);
        mark.format.setBackground(SearchMarkColor());
        marks.append(mark);
    }
    mSajat->setExtraSelections(marks);
}

void TDetailPage::LoadCardProperties()
{
    lbTulajd->setUpdatesEnabled(false);
    lbSpecTulajd->setUpdatesEnabled(false);
    struct Restore {
        TDetailPage* p;
        ~Restore()
        {
            p->lbTulajd->setUpdatesEnabled(true);
            p->lbSpecTulajd->setUpdatesEnabled(true);
        }
    } restore{this};
    lbTulajd->clear();
    lbSpecTulajd->clear();
    if (!HasCurrentCard()) return;
    const qint64 id = CurrentCardId();
    auto fill = [id](TQuery& q, QListWidget* list) {
        q.Close();
        q.SetParam("PIDXLAP", id);
        q.Open();
        for (int r = 0; r < q.RecordCount(); ++r) {
            auto* item = new QListWidgetItem(q.ValueText(r, 0), list);
            item->setSizeHint(QSize(0, 15));
        }
        q.Close();
    };
    fill(AM->qTulajd, lbTulajd);
    fill(AM->qKategoria, lbSpecTulajd);
}

void TDetailPage::ApplyCardTypeFields(const QString& cardType)
{
    if (cardType.isEmpty()) return;
    const TCardTypeFields used = CardTypeFieldsFor(cardType);
    const std::pair<QLabel*, QLineEdit*> pairs[] = {{lSzint, eSzint}, {lUtak, eUt}, {lHp, eHp}, {lIdez, eIdez}};
    const bool flags[] = {used.Szint, used.Utak, used.Hp, used.Leidezes};
    for (int i = 0; i < 4; ++i) {
        auto [label, edit] = pairs[i];
        label->setEnabled(flags[i]);
        edit->setReadOnly(!flags[i]);
        QPalette pal = edit->palette();
        const QPalette standard = QApplication::palette(edit);
        pal.setColor(QPalette::Base, flags[i] ? standard.color(QPalette::Base) : standard.color(QPalette::Button));
        edit->setPalette(pal);
    }
}

void TDetailPage::cbLTipusChange() { ApplyCardTypeFields(cbLTipus->SelectedKey()); }

void TDetailPage::DrawSpecialAbilities()
{
    QList<TSpecAbility> abilities;
    // Without a card the previous card's abilities must not stay on screen: an empty picture.
    if (HasCurrentCard() && AM->qSpec.Active()) {
        TQuery& q = AM->qSpec;
        const int k = q.FindField("S_KIJATSZ"), l = q.FindField("S_LEIDEZES"), s = q.FindField("S_SZOVEG");
        for (int r = 0; r < q.RecordCount(); ++r)
            abilities.append({q.ValueText(r, k), q.ValueText(r, l), q.ValueText(r, s)});
    }
    const TSpecLayout layout = LayoutSpecialAbilities(abilities);
    const int width = std::max(kSingleViewCanvasWidth, sbSpec->width() - sbSpec->verticalScrollBar()->sizeHint().width() - 4);
    FSpecPicture = PaintSpecialAbilities(layout, width, SPEC_MIN_HEIGHT, &FSearch, imSpec->devicePixelRatioF());
    imSpec->setPixmap(QPixmap::fromImage(FSpecPicture));
    imSpec->resize(FSpecPicture.deviceIndependentSize().toSize());
    // The picture is painted text: a screen reader reads the same text from the description.
    QStringList spoken;
    for (const TSpecAbility& a : abilities) {
        QString line = a.Szoveg;
        if (!a.Kijatsz.isEmpty()) line += QStringLiteral(" (kijátszás: ") + a.Kijatsz + u')';
        if (!a.Leidezes.isEmpty()) line += QStringLiteral(" (leidézés: ") + a.Leidezes + u')';
        spoken << line;
    }
    imSpec->setAccessibleName(QStringLiteral("Speciális képességek"));
    imSpec->setAccessibleDescription(spoken.isEmpty() ? QStringLiteral("Nincs speciális képesség.") : spoken.join(u'\n'));
    sbSpec->setAccessibleName(imSpec->accessibleName());
    sbSpec->setAccessibleDescription(imSpec->accessibleDescription());
    sbSpec->horizontalScrollBar()->setValue(0);
    sbSpec->verticalScrollBar()->setValue(0);
}

void TDetailPage::btnEditClick() { SaveCardDetails(); }

bool TDetailPage::SaveCardDetails(qint64 then)
{
    // The fields belong to the card they were loaded from, whatever the list stands on now.
    if (!HasCurrentCard() || !FLoaded.Valid()) return false;
    const qint64 id = FLoaded.Id;
    TCommand& upd = dmVDB->updLapok;
    upd.SetParam("PIDXLAP", id);
    upd.SetParam("L_LAPSZAM", ValueToSave("L_LAPSZAM", eLsz, false));
    upd.SetParam("L_NEV", ValueToSave("L_NEV", eNev, false));
    upd.SetParam("L_VELKOR", ComboValueToSave("L_VELKOR", cbVelkor));
    upd.SetParam("L_LAPTIPUS", ComboValueToSave("L_LAPTIPUS", cbLTipus));
    upd.SetParam("L_LEIDEZES", ValueToSave("L_LEIDEZES", eIdez, false));
    upd.SetParam("L_UTAK", ValueToSave("L_UTAK", eUt, false));
    upd.SetParam("L_SZINT", ValueToSave("L_SZINT", eSzint, true));
    upd.SetParam("L_HP", ValueToSave("L_HP", eHp, true));
    upd.SetParam("L_DB", ValueToSave("L_DB", eDB, true));
    upd.SetParam("L_GYAKORISAG", ComboValueToSave("L_GYAKORISAG", cbGyakorisag));
    // A main god's paths that are not four digits stop the save here, before anything is written.
    upd.SetParam("L_LEIDEZESTECH", NormalizeSummoning(eIdez->text(), eUt->text(), cbLTipus->SelectedKey()));
    const QString note = NoteToSave();
    const QString gone =
        QStringLiteral("A lap már nincs a katalógusban (azonosító: %1), a módosítások nem menthetők.").arg(id);

    // The row the user's edit overwrites: the one loaded, or the newer one the user agreed to.
    TLoadedCard expected = FLoaded;
    for (;;) {
        TLoadedCard stored;
        if (!ReadStoredCard(id, stored)) {
            ShowWarning(gone);
            return false;
        }
        if (!stored.SameStored(expected)) {
            // Another program wrote the card after it was loaded. Nem: its write stays and the
            // page shows it; nothing of this edit is kept.
            if (!AskYesNo(TEXT_CHANGED_ELSEWHERE)) {
                FLoaded = TLoadedCard();  // given up: the reopened list refills the fields
                ReopenCardList(id);
                return true;  // the edit is given up: nothing is left to save
            }
            expected = stored;
        }
        // The row and its note together or not at all. The write lock is taken first, so the
        // row cannot change between the check below and the write.
        TTransaction transaction(AM->ADOConnection, TTransaction::Immediate);
        TLoadedCard locked;
        if (!ReadStoredCard(id, locked)) {
            ShowWarning(gone);
            return false;
        }
        if (!locked.SameStored(expected)) continue;  // written again while the question was open
        // An update that matches no row wrote nothing: saying nothing would pass it off as saved.
        if (upd.Execute() < 1) {
            ShowWarning(gone);
            return false;
        }
        // A failed note was shown by SaveCardNote; the row goes back with it, the edits stay.
        if (!dmVDB->SaveCardNote(id, note)) return false;
        transaction.Commit();
        break;
    }
    FLoaded = TLoadedCard();  // saved: the reopened list refills the fields from the catalogue
    ReopenCardList(then >= 0 ? then : id);
    return true;
}

void TDetailPage::ReopenCardList(qint64 keepCardId)
{
    TQuery& cards = AM->qLapok;
    TControlsSuspended suspended(cards);
    cards.Close();
    cards.Open();
    // A card that the edit took out of the filter is not found: the list stays on its first card.
    if (keepCardId >= 0 && !cards.IsEmpty()) cards.Locate("L_ID", keepCardId);
    // An edit can take the card out of the filter: the count under the grid follows.
    if (AM->Host()) AM->Host()->SetCardCountCaption(QString::number(cards.RecordCount()) + QStringLiteral(" darab"));
}

void TDetailPage::LinkProperty(int kind)
{
    if (!HasCurrentCard()) return;
    const qint64 id = CurrentCardId();
    const QString linked = PropertyPicker ? PropertyPicker(kind) : QString();
    if (linked.isEmpty()) return;
    AM->Tulajdonsag_Insert(id, linked);
    LoadCardProperties();
}

void TDetailPage::sb1Click() { LinkProperty(1); }

void TDetailPage::sb3Click() { LinkProperty(2); }

void TDetailPage::lbTorles(QToolButton* sender)
{
    if (!sender || !HasCurrentCard()) return;
    const int tag = sender->property("Tag").toInt();
    QString linked;
    if (tag == 1) {
        QListWidgetItem* item = lbTulajd->currentItem();
        if (!item || !item->isSelected()) return;
        linked = AM->GetFieldValue("TTULAJDONSAG", "TULAJDONSAG_NEV", item->text(), "TULAJDONSAG_ID");
    } else if (tag == 2) {
        QListWidgetItem* item = lbSpecTulajd->currentItem();
        if (!item || !item->isSelected()) return;
        linked = AM->GetFieldValue("TKATEGORIA", "KATEGORIA_NEV", item->text(), "KATEGORIA_ID");
    } else {
        return;
    }
    if (linked.isEmpty()) return;
    AM->Tulajdonsag_Delete(CurrentCardId(), linked);
    LoadCardProperties();
}

void TDetailPage::sb6Click()
{
    if (!HasCurrentCard()) return;
    const qint64 id = CurrentCardId();
    TFormOpenPars pars;
    InitFormOpenPars(pars);
    pars.Id = id;
    if (SpecEditorOpener) SpecEditorOpener(pars);
    AM->OpenCardSpecials(id);
    DrawSpecialAbilities();
}

void TDetailPage::acDBDeleteExecute()
{
    if (!AskDelete(QStringLiteral("Valóban szeretné törölni a lapok darabszámait?"))) return;
    AM->RunCommand("UPDATE TLAP SET L_DB = NULL");
    ReopenCardList(-1);
}
