#include "app/ufExcept.h"
#include "app/ReadableColor.h"

#include "app/AppVer.h"
#include "app/Guard.h"
#include "app/WidgetUtil.h"
#include "app/Messages.h"
#include "app/ShellUtil.h"
#include "bitmaps/Bitmaps.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

QString ErrorMailBody(const QStringList& lines)
{
    QString body = QStringLiteral("A hiba pontos leírása : ");
    for (const QString& line : lines) body += line + QLatin1Char(' ');
    return body;
}

QString ErrorMailSubject(const QString& versionText, const QDateTime& when)
{
    return QStringLiteral("VelkorDb üzenet (Verzió: ") + versionText + QStringLiteral(") ")
           + when.toString(QStringLiteral("yyyy.MM.dd hh:mm"));
}

TShadowTitle::TShadowTitle(const QString& text, QWidget* parent) : QWidget(parent), FText(text)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(16);
    f.setBold(true);
    setFont(f);
}

void TShadowTitle::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setFont(font());
    const int baseline = QFontMetrics(font()).ascent();
    // Black over a light grey shadow; a dark window gets light text over a darker shadow.
    const QColor window = palette().color(QPalette::Window);
    const bool dark = ContrastRatio(Qt::white, window) > ContrastRatio(Qt::black, window);
    p.setPen(dark ? window.darker(200) : QColor(192, 192, 192));
    p.drawText(0, baseline + 2, FText);
    p.setPen(ReadableOn(Qt::black, window));
    p.drawText(2, baseline, FText);
}

namespace {
QLabel* MakeLabel(const QString& text, QWidget* parent, const QRect& geometry)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(geometry);
    return l;
}
} // namespace

TfExcept::TfExcept(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fExcept"));
    setWindowTitle(QStringLiteral("Velkor Adatbázis"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(414, 266);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(11);
    setFont(f);

    pnTop = new QWidget(this);
    pnTop->setObjectName(QStringLiteral("pnTop"));
    pnTop->setGeometry(0, 0, 414, 43);
    pnTop->setAutoFillBackground(true);
    QPalette pal = pnTop->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pnTop->setPalette(pal);

    imIcon = new QLabel(pnTop);
    imIcon->setObjectName(QStringLiteral("imIcon"));
    imIcon->setGeometry(8, 5, 32, 32);
    imIcon->setPixmap(QPixmap::fromImage(BuiltinBitmap(QStringLiteral("ERROR_ICON"))));

    lTitle = new TShadowTitle(QStringLiteral("Hiba történt"), pnTop);
    lTitle->setObjectName(QStringLiteral("lTitle"));
    lTitle->setGeometry(52, 11, 200, 24);

    lLine1 = MakeLabel(QStringLiteral("Hiba történt a program futása közben."), this, QRect(8, 51, 398, 14));
    lLine2 = MakeLabel(QStringLiteral("Az esetleges kellemetlenségekért elnézést kérünk."), this,
                       QRect(8, 66, 398, 14));
    lLine3 = MakeLabel(QStringLiteral("Ha a probléma továbbra is fennáll, kérem forduljon a program fejlesztőjéhez:"),
                       this, QRect(8, 81, 398, 14));

    lDeveloper = MakeLabel(DEVELOPER_NAME, this, QRect(32, 99, 120, 14));
    lDeveloper->setObjectName(QStringLiteral("lDeveloper"));
    lEMail = new TLinkLabel(MAKER_EMAIL, this);
    lEMail->setObjectName(QStringLiteral("lEMail"));
    lEMail->setGeometry(160, 99, 246, 14);
    QFont linkFont = font();
    linkFont.setUnderline(true);
    lEMail->setFont(linkFont);
    SetReadableTextColor(lEMail, QColor(0, 0, 128));

    lHibaCaption = MakeLabel(QStringLiteral("A hiba pontos leírása"), this, QRect(8, 119, 398, 14));
    mHiba = new QPlainTextEdit(this);
    mHiba->setObjectName(QStringLiteral("mHiba"));
    mHiba->setAccessibleName(QStringLiteral("A hiba szövege"));
    mHiba->setGeometry(8, 135, 398, 55);
    mHiba->setReadOnly(true);
    mHiba->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mHiba->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mHiba->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QPalette memoPal = mHiba->palette();
    memoPal.setColor(QPalette::Base, memoPal.color(QPalette::Button));
    mHiba->setPalette(memoPal);

    auto* separator = new QFrame(this);
    separator->setObjectName(QStringLiteral("bvSeparator"));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(8, 200, 398, 4);

    btnEMail = new QPushButton(QStringLiteral("E-Mail"), this);
    btnEMail->setObjectName(QStringLiteral("btnEMail"));
    btnEMail->setGeometry(8, 226, 75, 25);
    btnEMail->setAutoDefault(false);
    btnClose = new QPushButton(QStringLiteral("Bezárás"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setGeometry(331, 226, 75, 25);
    btnClose->setDefault(true);

    GuardedConnect(btnEMail, &QPushButton::clicked, this, [this] { EMAIL_CLICK(); });
    GuardedConnect(lEMail, &TLinkLabel::clicked, this, [this] { EMAIL_CLICK(); });
    GuardedConnect(btnClose, &QPushButton::clicked, this, [this] { accept(); });
    SetFinishKeys(this, {btnClose}, false);

    CenterOnScreen(this);
}

void TfExcept::FillFromPars(const TFormOpenPars& pars)
{
    mHiba->clear();
    mHiba->setPlainText(pars.Context + QLatin1Char('\n') + pars.Message);
    mHiba->moveCursor(QTextCursor::Start);
    mHiba->verticalScrollBar()->setValue(0);
}

QStringList TfExcept::MemoLines() const
{
    QString text = mHiba->toPlainText();
    if (text.isEmpty()) return {};
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    return text.split(QLatin1Char('\n'));
}

void TfExcept::EMAIL_CLICK()
{
    SendMail(MAKER_EMAIL, ErrorMailSubject(AppVer.VersionText, QDateTime::currentDateTime()),
             ErrorMailBody(MemoLines()));
}

void ShowExceptDialog(const TFormOpenPars& pars)
{
    TfExcept dlg;
    dlg.FillFromPars(pars);
    dlg.exec();
}
