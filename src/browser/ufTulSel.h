#pragma once
// The property picker: a list of every property (kind 1) or category (kind 2) by name; OK returns
// the id of the chosen one.
#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

class TfTulSel : public QDialog {
    Q_OBJECT
public:
    explicit TfTulSel(QWidget* parent = nullptr);

    // Fills the list with every row of the kind's table ordered by name, the first one selected.
    void LoadItems(int kind);
    // The id of the selected row; empty when nothing is selected.
    QString SelectedId() const;
    const QStringList& Ids() const { return FIds; }

    void btnOKClick();

    QListWidget* lb = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnMegsem = nullptr;

private:
    QStringList FIds;  // parallel to the items of lb
};

// Shows the picker modally; the chosen id, or empty when cancelled or nothing was chosen.
QString SelectProperty(int kind, QWidget* parent = nullptr);
