// On a dark desktop the strongest text pixel of each painted part stands out from its background 4.5 : 1.
#include "TestCatalogue.h"
#include "app/Program.h"
#include "app/ReadableColor.h"
#include "app/ufAbout.h"
#include "browser/ufMain.h"
#include "decks/ufPakliBong.h"
#include "decks/ufUjPakli.h"
#include "decks/ufmPakli.h"
#include "widgets/CheckListCombo.h"
#include <QApplication>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
TEST(DarkDesktop, EveryPaintedTextReadsOnItsBackground)
{
    auto contrast = [](const QImage& image, const QRect& part, const QColor& background, double best = 1) {
        for (int y = part.top(); y <= part.bottom(); ++y)
            for (int x = part.left(); x <= part.right(); ++x) best = std::max(best, ContrastRatio(image.pixelColor(x, y), background));
        return best;
    };
    struct TRestore { QPalette Old; ~TRestore() { QApplication::setPalette(Old); } } restore{QApplication::palette()};
    const QPalette dark(QColor(53, 53, 53), QColor(53, 53, 53));  // white text on black lists, dark grey windows
    QApplication::setPalette(dark);
    TTempCatalogue cat;
    TProgram program(cat.ProgramDir());
    program.Create();
    TfPakliBong browser(*AM, [](qint64) {}, fMain->PictureFolder());
    TfUjPakli wizard(*AM, [](qint64) {}, fMain->PictureFolder());
    browser.FormShow();
    QImage item(460, 64, QImage::Format_RGB32);
    for (bool selected : {false, true}) {
        const QColor background = dark.color(selected ? QPalette::Highlight : QPalette::Base);
        QPainter p(&item);
        DrawDeckItem(browser, p, QRect(0, 0, 400, 48), 0, selected, dark);
        for (int y : {1, 18, 32}) EXPECT_GE(contrast(item, QRect(12, y, 380, 13), background), 4.5) << y;
        DrawGodItem(wizard, p, item.rect(), 0, selected, dark);
        for (int y : {6, 24, 40}) EXPECT_GE(contrast(item, QRect(74, y, 300, 13), background), 4.5) << y;
        EXPECT_GE(contrast(item, QRect(400, 8, 14, 16), dark.color(QPalette::Base)), 4.5) << "path count";
    }
    fMain->OpenDeck(1);
    TfmPakli* deck = fMain->FindDeckFrame();
    TfAbout about;
    QList<QLabel*> labels = deck->findChildren<QLabel*>("GroupHeader");
    labels << deck->lFoisten << deck->lHianyzo << about.lProgName << about.lLeiras << about.Label9;
    for (QLabel* l : labels) {
        l->setText(l->text() + " Á");  // "Hiányzó" is empty while nothing is missing
        l->adjustSize();
        EXPECT_GE(contrast(l->grab().toImage(), l->rect(), l->palette().window().color()), 4.5) << qPrintable(l->objectName());
    }
    fMain->cbFilter->showPopup();  // the filter combo's rows, coloured by category
    QAbstractItemView* list = fMain->cbFilter->view();
    const QImage rows = list->viewport()->grab().toImage();
    for (int r = 0; r < fMain->cbFilter->count(); ++r) {
        const QRect text = list->visualRect(list->model()->index(r, 0)).adjusted(24, 2, -40, -2);
        if (rows.rect().contains(text) && r != list->currentIndex().row())
            EXPECT_GE(contrast(rows, text, dark.color(QPalette::Base)), 4.5) << qPrintable(fMain->cbFilter->itemText(r));
    }
    fMain->cbFilter->hidePopup();
    const QPalette typed = deck->cbLapKeres->lineEdit()->palette();
    EXPECT_GE(ContrastRatio(typed.color(QPalette::Text), typed.color(QPalette::Base)), 4.5);
}
