#pragma once
// The about box: program name, description, maker, program and database engine versions.
#include <QDialog>

class QLabel;
class QPushButton;
class TLinkLabel;

// The database engine's version, "0.0" when it cannot be read.
QString EngineVersionText();

class TfAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfAbout(QWidget* parent = nullptr);

    // Fills the version and maker labels; run when the box is built.
    void FormShow();
    // Mails the maker, with the program version in the subject and no body.
    void Label9Click();

    QLabel* imIcon;
    QLabel* lProgName;
    QLabel* lSubTitle;
    QLabel* lLeiras;
    QLabel* lDescription;
    QLabel* lEgyeb;
    QLabel* lAuthorCaption;
    QLabel* lAuthor;
    TLinkLabel* Label9;
    QLabel* lProgVersionCaption;
    QLabel* lProgVersion;
    QLabel* lAdoCaption;
    QLabel* lAdo;
    QPushButton* btnOK;
};

// acAboutExecute: builds the about box and shows it modally.
void ShowAboutBox(QWidget* parent = nullptr);
