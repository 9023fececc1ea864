#include "print/uDeckSheet.h"

#include "bitmaps/Bitmaps.h"
#include "bitmaps/uPaths.h"
#include "print/uPdfFile.h"
#include "print/uPrintPage.h"

#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <array>

namespace {

enum TItemKind { ikTitle, ikGod, ikPlayer, ikGroup, ikCard, ikGroupTotal, ikTotal, ikDescTitle, ikDescLine, ikGap };

struct TItem {
    TItemKind Kind;
    QString Text;
    qreal Height = 0;
    int Card = -1;    // index into the sheet's cards
    int Group = -1;   // ikGroup, ikCard, ikGroupTotal: the group the line belongs to
};

struct TPlaced {
    const TItem* Item;
    qreal Y;
    bool Continued;  // a group header repeated at the top of a page
};

class TSheetLayout {
public:
    TSheetLayout(QPagedPaintDevice& device, const TDeckSheet& sheet) : FPage(device), FSheet(sheet)
    {
        const qreal mm = FPage.Mm();
        FIconSize = 3.8 * mm;
        FIconGap = 0.6 * mm;
        FIconsPerRow = 8;
        FIconWidth = FIconsPerRow * (FIconSize + FIconGap);
        // Wide enough for the widest level, so an unusual one never runs into the name.
        FLevelWidth = 10 * mm;
        const QFontMetricsF levels = FPage.Metrics(CardFont());
        for (const TSheetCard& card : sheet.Cards)
            if (card.Level > 0)
                FLevelWidth = std::max(FLevelWidth, levels.horizontalAdvance(QString::number(card.Level)) + 3 * mm);
        FLevelWidth = std::min(FLevelWidth, FPage.Body().width() / 4);
        FTextWidth = FPage.Body().width() - FIconWidth - FLevelWidth - 2 * mm;
        static const std::array<const char*, 5> names = {"IKON_V", "IKON_M", "IKON_H", "IKON_I", "IKON_B"};
        for (size_t i = 0; i < names.size(); ++i) FIcons[i] = BuiltinTransparentBitmap(QString::fromLatin1(names[i]));
        Build();
        Paginate();
    }

    int PageCount() const { return int(FPages.size()); }

    void Paint(QPainter& p) const
    {
        for (size_t page = 0; page < FPages.size(); ++page) {
            if (page > 0 && !FPage.Device().newPage()) return;
            for (const TPlaced& placed : FPages[page]) PaintItem(p, placed);
            FPage.PaintFooter(p, int(page) + 1, PageCount());
        }
    }

private:
    QFont TitleFont() const { return PrintFont(16, true); }
    QFont InfoFont() const { return PrintFont(10.5); }
    QFont GroupFont() const { return PrintFont(11, true); }
    QFont CardFont() const { return PrintFont(10); }
    QFont TotalFont() const { return PrintFont(10, true); }

    QFont FontOf(TItemKind kind) const
    {
        switch (kind) {
        case ikTitle: return TitleFont();
        case ikGroup: case ikDescTitle: return GroupFont();
        case ikGroupTotal: return PrintFont(9, false, true);
        case ikTotal: return TotalFont();
        case ikCard: return CardFont();
        default: return InfoFont();
        }
    }

    // The text broken at word boundaries, or anywhere where a word alone is wider than width.
    QStringList Wrap(const QFont& font, qreal width, QString text) const
    {
        // A stored line break inside a name is a blank on paper.
        text.replace(QLatin1String("\r\n"), QLatin1String(" "));
        text.replace(u'\n', u' ');
        text.replace(u'\r', u' ');
        QStringList lines = WrapText(text, font, width, &FPage.Device());
        if (lines.isEmpty()) lines << QString();
        return lines;
    }

    qreal WrappedHeight(const QFont& font, qreal width, const QString& text) const
    {
        return Wrap(font, width, text).size() * FPage.Metrics(font).height();
    }

    // Each line single, from the top of rect.
    void DrawLines(QPainter& p, const QRectF& rect, const QString& text) const
    {
        const qreal h = FPage.Metrics(p.font()).height();
        qreal y = rect.top();
        for (const QString& line : Wrap(p.font(), rect.width(), text)) {
            p.drawText(QRectF(rect.left(), y, rect.width(), h), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, line);
            y += h;
        }
    }

    int IconCount(const QString& summoning) const
    {
        int n = 0;
        for (QChar c : summoning)
            if (IconForLetter(c) >= 0) ++n;
        return n;
    }

    void Add(TItemKind kind, const QString& text, qreal height, int card = -1, int group = -1)
    {
        FItems.push_back({kind, text, height, card, group});
    }

    QString GroupName(int group) const
    {
        const QString name = group >= 0 && group < FSheet.GroupNames.size() ? FSheet.GroupNames.at(group) : QString();
        return name.isEmpty() ? QStringLiteral("Egyéb") : name;
    }

    void Build()
    {
        const qreal mm = FPage.Mm();
        const qreal width = FPage.Body().width();
        const QString deckName = FSheet.DeckName.isEmpty() ? QStringLiteral("(névtelen pakli)") : FSheet.DeckName;
        Add(ikTitle, deckName, WrappedHeight(TitleFont(), width, deckName) + 2 * mm);
        QString god = QStringLiteral("Főisten: (") + FSheet.GodNumber + QStringLiteral(") ") + FSheet.GodName;
        if (!FSheet.GodPantheon.isEmpty()) god += QStringLiteral(" – ") + FSheet.GodPantheon;
        Add(ikGod, god, WrappedHeight(InfoFont(), width, god) + mm);
        Add(ikPlayer, QString(), FPage.Metrics(InfoFont()).height() + 4 * mm);

        const qreal cardLine = FPage.Metrics(CardFont()).height();
        int group = -1;
        qint64 copies = 0;
        auto closeGroup = [&] {
            if (group < 0) return;
            const QString text = QString::number(copies) + QStringLiteral(" lap");
            Add(ikGroupTotal, text, FPage.Metrics(FontOf(ikGroupTotal)).height() + 2 * mm, -1, group);
        };
        for (size_t i = 0; i < FSheet.Cards.size(); ++i) {
            const TSheetCard& card = FSheet.Cards[i];
            if (card.Group != group || i == 0) {
                closeGroup();
                group = card.Group;
                copies = 0;
                Add(ikGroup, GroupName(group), FPage.Metrics(GroupFont()).height() + 1.5 * mm, -1, group);
            }
            copies += card.Copies;
            const QString text = SheetCardText(card);
            const int icons = IconCount(card.Summoning);
            const int iconRows = (icons + FIconsPerRow - 1) / FIconsPerRow;
            const qreal height = std::max({WrappedHeight(CardFont(), FTextWidth - 2 * mm, text), cardLine,
                                           iconRows * (FIconSize + FIconGap)});
            Add(ikCard, text, height + 0.8 * mm, int(i), group);
        }
        closeGroup();

        Add(ikGap, QString(), 2 * mm);
        const QString total = QString::number(FSheet.CardCount) + QStringLiteral(" lap, ") +
                              QString::number(FSheet.PowerPoints) + QStringLiteral(" Hatalom-pont");
        Add(ikTotal, total, FPage.Metrics(TotalFont()).height() + 4 * mm);

        if (!FSheet.Description.trimmed().isEmpty()) {
            Add(ikDescTitle, QStringLiteral("Leírás"), FPage.Metrics(GroupFont()).height() + 1.5 * mm);
            // Line by line, so a long description breaks between pages like the card list.
            const QFont font = InfoFont();
            const qreal lineHeight = FPage.Metrics(font).height();
            QString text = FSheet.Description;
            text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            text.replace(u'\r', u'\n');
            for (const QString& paragraph : text.split(u'\n')) {
                if (paragraph.isEmpty()) {
                    Add(ikDescLine, QString(), lineHeight);
                    continue;
                }
                for (const QString& line : Wrap(font, width, paragraph)) Add(ikDescLine, line, lineHeight);
            }
        }
    }

    void Paginate()
    {
        const qreal bottom = FPage.Body().height();
        FPages.emplace_back();
        qreal y = 0;
        int openGroup = -1;  // the group whose lines are running
        for (size_t i = 0; i < FItems.size(); ++i) {
            const TItem& item = FItems[i];
            qreal need = item.Height;
            // A group header stays with its first card.
            if (item.Kind == ikGroup && i + 1 < FItems.size()) need += FItems[i + 1].Height;
            if (item.Kind == ikDescTitle && i + 1 < FItems.size()) need += FItems[i + 1].Height;
            if (y > 0 && y + need > bottom) {
                FPages.emplace_back();
                y = 0;
                if ((item.Kind == ikCard || item.Kind == ikGroupTotal) && openGroup >= 0) {
                    for (const TItem& header : FItems)
                        if (header.Kind == ikGroup && header.Group == openGroup) {
                            FPages.back().push_back({&header, y, true});
                            y += header.Height;
                            break;
                        }
                }
            }
            FPages.back().push_back({&item, y, false});
            y += item.Height;
            if (item.Kind == ikGroup) openGroup = item.Group;
            if (item.Kind == ikGroupTotal) openGroup = -1;
        }
    }

    void PaintItem(QPainter& p, const TPlaced& placed) const
    {
        const TItem& item = *placed.Item;
        const qreal mm = FPage.Mm();
        const qreal width = FPage.Body().width();
        const QFont font = FontOf(item.Kind);
        p.setFont(font);
        p.setPen(Qt::black);
        const QRectF line(0, placed.Y, width, item.Height);
        switch (item.Kind) {
        case ikTitle:
        case ikGod:
            DrawLines(p, line, item.Text);
            break;
        case ikPlayer: {
            p.drawText(line, Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Játékos: ____________________________"));
            const QString date = QStringLiteral("Dátum: ") + FSheet.Date.toString(QStringLiteral("yyyy.MM.dd."));
            p.drawText(line, Qt::AlignRight | Qt::AlignTop, date);
            break;
        }
        case ikGroup: {
            const QString text = placed.Continued ? item.Text + QStringLiteral(" (folytatás)") : item.Text;
            p.drawText(line, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                       FPage.Metrics(font).elidedText(text, Qt::ElideRight, width));
            const qreal ruleY = placed.Y + FPage.Metrics(font).height();
            p.setPen(QPen(Qt::black, std::max<qreal>(1, mm / 6)));
            p.drawLine(QPointF(0, ruleY), QPointF(width, ruleY));
            break;
        }
        case ikCard: {
            const TSheetCard& card = FSheet.Cards[size_t(item.Card)];
            DrawLines(p, QRectF(2 * mm, placed.Y, FTextWidth - 2 * mm, item.Height), item.Text);
            const qreal levelX = FTextWidth + mm;
            if (card.Level > 0)
                p.drawText(QRectF(levelX, placed.Y, FLevelWidth - 2 * mm, item.Height), Qt::AlignRight | Qt::AlignTop,
                           QString::number(card.Level));
            const qreal iconsX = levelX + FLevelWidth;
            int n = 0;
            for (QChar c : card.Summoning) {
                const int icon = IconForLetter(c);
                if (icon < 0) continue;
                const qreal x = iconsX + (n % FIconsPerRow) * (FIconSize + FIconGap);
                const qreal y = placed.Y + (n / FIconsPerRow) * (FIconSize + FIconGap);
                if (!FIcons[size_t(icon)].isNull()) p.drawImage(QRectF(x, y, FIconSize, FIconSize), FIcons[size_t(icon)]);
                ++n;
            }
            break;
        }
        case ikGroupTotal:
        case ikTotal:
            p.drawText(line, Qt::AlignRight | Qt::AlignTop, item.Text);
            break;
        case ikDescTitle:
            p.drawText(line, Qt::AlignLeft | Qt::AlignTop, item.Text);
            break;
        case ikDescLine:
            p.drawText(line, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, item.Text);
            break;
        case ikGap:
            break;
        }
    }

    TPrintPage FPage;
    const TDeckSheet& FSheet;
    std::array<QImage, 5> FIcons;
    qreal FIconSize = 0, FIconGap = 0, FIconWidth = 0, FLevelWidth = 0, FTextWidth = 0;
    int FIconsPerRow = 8;
    std::vector<TItem> FItems;
    std::vector<std::vector<TPlaced>> FPages;
};

}  // namespace

QString SheetCardText(const TSheetCard& card)
{
    return QString::number(card.Copies) + QStringLiteral(" × (") + card.Number + QStringLiteral(") ") + card.Name;
}

void SetSheetPage(QPagedPaintDevice& device, bool keepPaperSize)
{
    if (!keepPaperSize) device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(QPageLayout::Portrait);
    device.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

int PaintDeckSheet(QPagedPaintDevice& device, const TDeckSheet& sheet)
{
    const TSheetLayout layout(device, sheet);
    QPainter p;
    BeginPainting(p, device);
    layout.Paint(p);
    p.end();
    return layout.PageCount();
}

void WriteDeckSheetPdf(const QString& fileName, const TDeckSheet& sheet)
{
    TPdfFile file(fileName, sheet.DeckName);
    SetSheetPage(file.Writer());
    PaintDeckSheet(file.Writer(), sheet);
    file.Commit();
}
