#pragma once
// The error dialog: shows a context line and an error message, and prepares an e-mail of them to
// the developer.
#include <QDateTime>
#include <QDialog>
#include <QStringList>

#include "storage/FormOpenPars.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class TLinkLabel;

// "A hiba pontos leírása : " followed by every line, each followed by one space.
QString ErrorMailBody(const QStringList& lines);
// "VelkorDb üzenet (Verzió: " + version + ") " + when as "yyyy.MM.dd hh:mm".
QString ErrorMailSubject(const QString& versionText, const QDateTime& when);

// A title drawn black over a silver copy of itself 2 px to the left and 2 px lower.
class TShadowTitle : public QWidget {
public:
    TShadowTitle(const QString& text, QWidget* parent);
    QString text() const { return FText; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString FText;
};

class TfExcept : public QDialog {
    Q_OBJECT
public:
    explicit TfExcept(QWidget* parent = nullptr);

    // Puts the Context and Message lines into mHiba and scrolls it to its first line.
    void FillFromPars(const TFormOpenPars& pars);
    // The memo's lines, as a list of lines would hold them (a final line break adds no line).
    QStringList MemoLines() const;
    // Mails the memo to the maker's contact address.
    void EMAIL_CLICK();

    QWidget* pnTop;
    QLabel* imIcon;
    TShadowTitle* lTitle;
    QLabel* lLine1;
    QLabel* lLine2;
    QLabel* lLine3;
    QLabel* lDeveloper;
    TLinkLabel* lEMail;
    QLabel* lHibaCaption;
    QPlainTextEdit* mHiba;
    QPushButton* btnEMail;
    QPushButton* btnClose;
};

// Opens the dialog modally with the given pars.
void ShowExceptDialog(const TFormOpenPars& pars);
