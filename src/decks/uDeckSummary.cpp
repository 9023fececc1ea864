#include "decks/uDeckSummary.h"
#include "app/ReadableColor.h"

#include "app/WidgetUtil.h"
#include "decks/uDeckGroups.h"
#include "storage/DisplayText.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cstdlib>

namespace {

QFont Arial9(bool bold = false)
{
    QFont f(QStringLiteral("Arial"), 9);
    f.setStyleHint(QFont::SansSerif);
    f.setBold(bold);
    return f;
}

QFont Courier(int points)
{
    QFont f(QStringLiteral("Courier New"), points);
    f.setStyleHint(QFont::TypeWriter);
    return f;
}

// q = round(num / den), half away from zero, in whole numbers only (no binary fraction can tip it).
qint64 RoundedQuotient(qint64 num, qint64 den)
{
    if (den < 0) {
        num = -num;
        den = -den;
    }
    const qint64 magnitude = (2 * std::llabs(num) + den) / (2 * den);
    return num < 0 ? -magnitude : magnitude;
}

// A label of the drawing: plain text (a card name is never read as markup), sized to its text.
QLabel* AddLabel(QWidget* parent, const QString& text, const QFont& font, int left, int top)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->setText(text);
    label->adjustSize();
    label->move(left, top);
    label->show();
    return label;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

TSummaryImage::TSummaryImage(QWidget* parent) : QWidget(parent)
{
    setObjectName("imOssz");
    Reset(50);
}

void TSummaryImage::Reset(int height)
{
    // Drawn at the screen's resolution: painters work in logical pixels on it.
    const QSize logical(TDeckSummary::IMAGE_WIDTH, std::max(1, height));
    const qreal ratio = std::max(devicePixelRatioF(), 1.0);
    FPicture = QImage((QSizeF(logical) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    FPicture.setDevicePixelRatio(ratio);
    FPicture.fill(Qt::transparent);
    setFixedSize(logical);
    update();
}

void TSummaryImage::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, FPicture);
}

QString FormatOneDecimal(qint64 num, qint64 den, const QLocale& locale)
{
    if (den == 0) return QString();
    const qint64 tenths = RoundedQuotient(num * 10, den);
    const qint64 whole = std::llabs(tenths) / 10;
    const int digit = int(std::llabs(tenths) % 10);
    QString text = locale.toString(whole);
    if (digit) text += locale.decimalPoint() + locale.toString(digit);
    return tenths < 0 ? locale.negativeSign() + text : text;
}

QString FormatWhole(qint64 num, qint64 den, const QLocale& locale)
{
    if (den == 0) return QString();
    return locale.toString(RoundedQuotient(num, den));
}

// ---------------------------------------------------------------------------------------------

TDeckSummary::TDeckSummary(QWidget* page, const std::array<QImage, 5>& icons)
    : QObject(page), FPage(page), FIcons(icons)
{
    sbOssz = new QScrollArea(page);
    sbOssz->setObjectName("sbOssz");
    sbOssz->setFrameShape(QFrame::NoFrame);
    sbOssz->setWidgetResizable(false);
    FContent = new QWidget;
    FContent->setObjectName("sbOsszContent");
    FContent->setAutoFillBackground(true);
    QPalette face = FContent->palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    FContent->setPalette(face);
    imOssz = new TSummaryImage(FContent);
    imOssz->move(0, 0);
    FContent->resize(IMAGE_WIDTH, 58);
    sbOssz->setWidget(FContent);

    cbReszl = new QCheckBox(QStringLiteral("Részletes"), page);
    cbReszl->setObjectName("cbReszl");
    cbReszl->setChecked(false);
    cbReszl->setAutoFillBackground(true);
    cbReszl->adjustSize();
    cbReszl->raise();
    page->installEventFilter(this);
    PlaceCheckBox();
}

bool TDeckSummary::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FPage && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) PlaceCheckBox();
    return QObject::eventFilter(watched, event);
}

void TDeckSummary::PlaceCheckBox()
{
    sbOssz->setGeometry(FPage->rect());
    // Clear of the vertical scroll bar, over the lower right of the box.
    const int bar = sbOssz->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    cbReszl->move(std::max(0, FPage->width() - cbReszl->width() - bar - 12),
                  std::max(0, FPage->height() - cbReszl->height() - 8));
    cbReszl->raise();
}

int TDeckSummary::VertRange() const { return FContent->height(); }

void TDeckSummary::ClearSummary()
{
    for (QWidget* w : FContent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != imOssz && !qobject_cast<QCheckBox*>(w)) delete w;
}

void TDeckSummary::DrawSummoningIcons(QPainter& canvas, int x, int y, const QString& summoning, int level)
{
    for (qsizetype i = 0; i < summoning.size(); ++i) {
        const int icon = IconForLetter(summoning.at(i));
        if (icon >= 0 && !FIcons[size_t(icon)].isNull())
            canvas.drawImage(QPoint(x + 18 * int(i + 1), y), FIcons[size_t(icon)]);
    }
    if (level > 0) {
        canvas.setPen(ReadableOn(Qt::black, FContent->palette().color(QPalette::Window)));
        canvas.drawText(QPoint(x, y + canvas.fontMetrics().ascent()), QString::number(level));
    }
}

void TDeckSummary::DrawSummary(TDeckTable& table)
{
    const bool detailed = cbReszl->isChecked();
    const TUpdatesSuspended held{FContent};
    ClearSummary();

    const std::vector<TDeckRow>& rows = table.Rows();
    const int R = int(rows.size());
    // Every line is known before drawing, so the picture holds the icons of the last one too.
    int lines = 0;
    int previous = 0;
    for (const TDeckRow& row : rows) {
        if (row.TECHSORREND != previous) {
            ++lines;
            previous = row.TECHSORREND;
        }
        ++lines;
    }
    const int lastY = 8 + LINE_HEIGHT * lines;
    imOssz->Reset(std::max(R * 24 + 50, lastY));

    QPainter canvas(&imOssz->Picture());
    canvas.setRenderHint(QPainter::SmoothPixmapTransform);  // the path icons on a high-DPI picture
    canvas.setFont(Courier(10));
    const QFont headerFont = Arial9(true);
    const QFont cardFont = Courier(9);
    const QFont totalFont = Arial9();

    int y = 8;
    int g = 0;
    int ruleTop = 0;
    qint64 P = 0, L = 0, C = 0;
    // The page is partly painted (levels, summoning icons): its whole text goes to screen readers.
    QStringList spoken;
    auto showTotals = [&] {
        int top = ruleTop + 8;
        auto right = [&](const QString& text) {
            QLabel* label = AddLabel(FContent, text, totalFont, 0, top);
            label->setObjectName("GroupTotal");
            spoken << text;
            label->move(RULE_END - label->width(), top);
            top += 16;
        };
        if (P > 0) right(QLocale().toString(P) + QStringLiteral(" Hatalom-pont"));
        if (L > 0)
            right(QLocale().toString(L) + QStringLiteral(" össz-szint, ") + FormatOneDecimal(L, C) +
                  QStringLiteral(" átlagszint"));
        if (C > 0) right(QLocale().toString(C) + QStringLiteral(" darab (") + FormatWhole(C * 100, R) + QStringLiteral("%)"));
    };

    for (const TDeckRow& row : rows) {
        if (row.TECHSORREND != g) {
            if (detailed && g > 0) {
                showTotals();
                P = L = C = 0;
            }
            g = row.TECHSORREND;
            QLabel* header = AddLabel(FContent, OneLine(DeckGroupName(g)), headerFont, 10, y);
            SetReadableTextColor(header, QColor(0, 0, 128));
            header->setObjectName("GroupHeader");
            spoken << DeckGroupName(g);
            auto* rule = new QFrame(FContent);
            rule->setObjectName("GroupRule");
            rule->setFrameShape(QFrame::HLine);
            rule->setFrameShadow(QFrame::Sunken);
            const int left = header->x() + header->width() + 8;
            ruleTop = y + 8;
            rule->setGeometry(left, ruleTop, std::max(0, RULE_END - left), 2);
            rule->show();
            y += LINE_HEIGHT;
        }
        // One line each: a line break stored in a name would draw over the next card.
        QString text = QLatin1Char('(') + OneLine(row.L_LAPSZAM) + QStringLiteral(") ") + OneLine(row.L_NEV);
        if (row.DB >= 2) text += QStringLiteral(" (") + QString::number(row.DB) + QLatin1Char(')');
        AddLabel(FContent, text, cardFont, 36, y)->setObjectName("CardLine");
        spoken << (detailed ? text + QStringLiteral(", szint: ") + QLocale().toString(row.L_SZINT) +
                                  QStringLiteral(", idézés: ") + row.L_IDEZES
                            : text);
        if (detailed) {
            DrawSummoningIcons(canvas, ICON_X, y, row.L_IDEZES, row.L_SZINT);
            if (row.HP < 3) P += row.HP;
            L += row.L_SZINT;
            C += 1;
        }
        y += LINE_HEIGHT;
    }
    if (detailed && g > 0) showTotals();
    canvas.end();

    FContent->setFixedSize(IMAGE_WIDTH, y + 50);
    sbOssz->setAccessibleName(QStringLiteral("Összesítés"));
    sbOssz->setAccessibleDescription(spoken.join(u'\n'));
    imOssz->lower();
    table.First();
}
