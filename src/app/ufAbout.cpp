#include "app/ufAbout.h"
#include "app/ReadableColor.h"

#include "app/AppVer.h"
#include "app/Guard.h"
#include "app/WidgetUtil.h"
#include "app/Messages.h"
#include "app/ProgramFolder.h"
#include "app/ShellUtil.h"
#include "bitmaps/Bitmaps.h"
#include "storage/DbProvider.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

QString EngineVersionText()
{
    try {
        const QString version = TConnection::EngineVersion();
        return version.trimmed().isEmpty() ? QStringLiteral("0.0") : version;
    } catch (...) {
        return QStringLiteral("0.0");
    }
}

namespace {
QLabel* MakeLabel(const QString& name, const QString& text, QWidget* parent, const QRect& geometry)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(geometry);
    return l;
}

void SetTextColor(QWidget* w, const QColor& color)
{
    // A dark desktop gets the same hue, lightened until it reads on the window.
    SetReadableTextColor(w, color);
}

// A navy heading with a line running from its end to the right edge.
QLabel* MakeHeading(const QString& name, const QString& text, QWidget* parent, int y)
{
    QLabel* l = MakeLabel(name, text, parent, QRect(8, y, 60, 14));
    SetTextColor(l, QColor(0, 0, 128));
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    l->adjustSize();
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    const int left = 8 + l->width() + 6;
    line->setGeometry(left, y + 5, 369 - left, 4);
    return l;
}
} // namespace

TfAbout::TfAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fAbout"));
    setWindowTitle(QString());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(377, 280);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(11);
    setFont(f);

    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("pnHeader"));
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setGeometry(8, 8, 361, 58);

    imIcon = new QLabel(frame);
    imIcon->setObjectName(QStringLiteral("imIcon"));
    imIcon->setGeometry(10, 13, 32, 32);
    imIcon->setPixmap(ProgramIcon().pixmap(32, 32));

    lProgName = MakeLabel(QStringLiteral("lProgName"), QStringLiteral("Velkor Adatbázis"), frame,
                          QRect(54, 8, 300, 24));
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPixelSize(19);
    titleFont.setBold(true);
    lProgName->setFont(titleFont);
    SetTextColor(lProgName, QColor(128, 0, 0));
    lSubTitle = MakeLabel(QStringLiteral("lSubTitle"), QStringLiteral("Segédprogram a kártyajátékhoz"), frame,
                          QRect(56, 34, 300, 14));

    lLeiras = MakeHeading(QStringLiteral("lLeiras"), QStringLiteral("Leírás"), this, 74);
    lDescription = MakeLabel(
        QStringLiteral("lDescription"),
        QStringLiteral("A szoftver segítségével nyilvántarthatjuk lapjainkat, és különböző szűrési szempontok "
                       "segítségével paklikat állíthatunk össze, melyeket azután exportálhatunk más, "
                       "emészthetőbb formátumokba. A program alapja lenne a Velkor szoftveres adaptációjának."),
        this, QRect(16, 92, 353, 58));
    lDescription->setWordWrap(true);
    lDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    lEgyeb = MakeHeading(QStringLiteral("lEgyeb"), QStringLiteral("Egyéb"), this, 156);
    lAuthorCaption = MakeLabel(QStringLiteral("lAuthorCaption"), QStringLiteral("A szoftvert készítette :"), this,
                               QRect(16, 176, 120, 14));
    lAuthor = MakeLabel(QStringLiteral("lAuthor"), QString(), this, QRect(140, 176, 229, 14));
    Label9 = new TLinkLabel(MAKER_EMAIL, this);
    Label9->setObjectName(QStringLiteral("Label9"));
    Label9->setGeometry(140, 192, 229, 14);
    SetTextColor(Label9, QColor(0, 0, 255));

    lProgVersionCaption = MakeLabel(QStringLiteral("lProgVersionCaption"), QStringLiteral("Programverzió :"), this,
                                    QRect(16, 214, 120, 14));
    lProgVersion = MakeLabel(QStringLiteral("lProgVersion"), QString(), this, QRect(140, 214, 229, 14));
    lAdoCaption = MakeLabel(QStringLiteral("lAdoCaption"), QStringLiteral("ADO verzió :"), this,
                            QRect(16, 230, 120, 14));
    lAdo = MakeLabel(QStringLiteral("lAdo"), QString(), this, QRect(140, 230, 229, 14));

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(294, 247, 75, 25);
    btnOK->setDefault(true);

    GuardedConnect(btnOK, &QPushButton::clicked, this, [this] { accept(); });
    GuardedConnect(Label9, &TLinkLabel::clicked, this, [this] { Label9Click(); });

    CenterOnScreen(this);
    FormShow();
}

void TfAbout::FormShow()
{
    lAdo->setText(EngineVersionText());
    lProgVersion->setText(AppVer.VersionText);
    lAuthor->setText(DEVELOPER_NAME);
}

void TfAbout::Label9Click()
{
    SendMail(MAKER_EMAIL, QStringLiteral("VelkorDb üzenet (Verzió: ") + AppVer.VersionText + QLatin1Char(')'),
             QString());
}

void ShowAboutBox(QWidget* parent)
{
    TfAbout dlg(parent);
    dlg.exec();
}
