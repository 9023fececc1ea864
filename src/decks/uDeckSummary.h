#pragma once
// The statistics page "Összesítés" of the deck frame: the open deck listed by card-type group, and
// in the detailed form each card's level and summoning icons and every group's power points, level
// sum and average and share of the deck. Drawn from the deck table alone, afresh every time: labels
// and rules as widgets inside the scroll box, icons and levels painted on the image under them.
#include "bitmaps/uPaths.h"
#include "decks/uDeckTable.h"

#include <QImage>
#include <QLocale>
#include <QObject>
#include <QWidget>

#include <array>

class QCheckBox;
class QPainter;
class QScrollArea;

// imOssz: the picture under the labels, 641 pixels wide; what is not painted shows the page.
class TSummaryImage : public QWidget {
    Q_OBJECT
public:
    explicit TSummaryImage(QWidget* parent);
    const QImage& Picture() const { return FPicture; }
    QImage& Picture() { return FPicture; }
    // A fresh, fully transparent picture of the given height; the widget takes its size.
    void Reset(int height);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage FPicture;
};

// num / den with thousands grouping and at most one decimal digit, no trailing zero (",0.#"), and a
// whole number with grouping (",0"); both round half away from zero, in the locale's separators.
QString FormatOneDecimal(qint64 num, qint64 den, const QLocale& locale = QLocale());
QString FormatWhole(qint64 num, qint64 den, const QLocale& locale = QLocale());

class TDeckSummary : public QObject {
    Q_OBJECT
public:
    // Builds the page's controls on page; icons are the five path icons (IKON_V, M, H, I, B),
    // already transparent.
    TDeckSummary(QWidget* page, const std::array<QImage, 5>& icons);

    // Redraws the page from the table, detailed when cbReszl is checked; then makes the table's
    // first row current.
    void DrawSummary(TDeckTable& table);
    // Removes every label and rule of the previous drawing.
    void ClearSummary();
    // The icon of each summoning letter at x + 18 i (i from 1) on line y, and the level at x when
    // above 0.
    void DrawSummoningIcons(QPainter& canvas, int x, int y, const QString& summoning, int level);

    // The scroll box's vertical range: the height of what it scrolls.
    int VertRange() const;

    static constexpr int IMAGE_WIDTH = 641;
    static constexpr int RULE_END = 560;
    static constexpr int LINE_HEIGHT = 20;
    static constexpr int ICON_X = 200;

    QScrollArea* sbOssz = nullptr;
    TSummaryImage* imOssz = nullptr;
    QCheckBox* cbReszl = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlaceCheckBox();

    QWidget* FPage;
    QWidget* FContent = nullptr;
    std::array<QImage, 5> FIcons;
};
