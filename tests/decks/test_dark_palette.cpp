// The deck windows, the wizard and the about box on a dark desktop: the strongest text pixel of each
// painted part stands out from its background by at least 4.5 : 1.
#include "TestCatalogue.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "app/ReadableColor.h"
#include "app/ufAbout.h"
#include "browser/ufMain.h"
#include "decks/ufPakliBong.h"
#include "decks/ufUjPakli.h"
#include "decks/ufmPakli.h"
#include "storage/uAM.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

static double TextContrast(const QImage& image, const QRect& part, const QColor& background)
{
    double best = 1;
    for (int y = part.top(); y <= part.bottom(); ++y)
        for (int x = part.left(); x <= part.right(); ++x)
            best = std::max(best, ContrastRatio(image.pixelColor(x, y), background));
    return best;
}

TEST(DarkDesktop, EveryPaintedTextReadsOnItsBackground)
{
    const QPalette previous = QApplication::palette();
    const QPalette dark(QColor(53, 53, 53), QColor(53, 53, 53));  // white text on black and dark grey
    QApplication::setPalette(dark);
    TTempCatalogue cat;
    TTestUiHost ui;
    {
        TProgram program(cat.ProgramDir());
        program.Create();
        TfPakliBong browser(*AM, [](qint64) {}, fMain->PictureFolder());
        browser.FormShow();
        TfUjPakli wizard(*AM, [](qint64) {}, fMain->PictureFolder());
        QImage item(460, 64, QImage::Format_RGB32);
        for (bool selected : {false, true}) {
            const QColor background = dark.color(selected ? QPalette::Highlight : QPalette::Base);
            QPainter p(&item);
            DrawDeckItem(browser, p, QRect(0, 0, 400, 48), 0, selected, dark);
            for (QRect line : {QRect(12, 1, 380, 16), QRect(12, 18, 380, 13), QRect(12, 32, 380, 14)})
                EXPECT_GE(TextContrast(item, line, background), 4.5) << "deck list " << selected << " " << line.y();
            DrawGodItem(wizard, p, item.rect(), 0, selected, dark);
            for (QRect line : {QRect(74, 6, 300, 16), QRect(74, 24, 300, 14), QRect(74, 40, 300, 14)})
                EXPECT_GE(TextContrast(item, line, background), 4.5) << "god list " << selected << " " << line.y();
            EXPECT_GE(TextContrast(item, QRect(400, 8, 14, 16), dark.color(QPalette::Base)), 4.5) << "path count";
        }
        fMain->OpenDeck(1);
        TfmPakli* deck = fMain->FindDeckFrame();
        ASSERT_NE(deck, nullptr);
        TfAbout about;
        deck->lHianyzo->setText("Hiányzó: 3");
        deck->cbLapKeres->lineEdit()->setText("Árvíztűrő");
        QList<QWidget*> parts = {deck->lFoisten, deck->lHianyzo, about.lProgName, about.lLeiras, about.Label9};
        for (QLabel* header : deck->findChildren<QLabel*>("GroupHeader")) parts.push_back(header);
        parts.push_back(deck->cbLapKeres->lineEdit());
        for (QWidget* w : parts) {
            w->adjustSize();
            const QImage shot = w->grab().toImage();
            const bool label = qobject_cast<QLabel*>(w);
            const QColor background = w->palette().color(label ? w->backgroundRole() : QPalette::Base);
            const QRect inside = label ? shot.rect() : shot.rect().adjusted(4, 4, -4, -4);  // not the box's frame
            EXPECT_GE(TextContrast(shot, inside, background), 4.5) << w->objectName().toStdString();
        }
        EXPECT_GT(parts.size(), 6);
    }
    QApplication::setPalette(previous);
}
