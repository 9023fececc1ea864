#pragma once
// The "Részlet" page: the current card in editable fields, its properties, categories,
// special abilities and note.
#include <QWidget>

class TLComboBox;

class TDetailPage : public QWidget {
    Q_OBJECT
public:
    explicit TDetailPage(QWidget* parent = nullptr);

    // Run when the current card changes while this page is active.
    void RefreshDetailPage(const QString& cardType);
    // "Darabszámok törlése": clears every card's owned count after a question.
    void acDBDeleteExecute();

    TLComboBox* cbVelkor = nullptr;
    TLComboBox* cbLTipus = nullptr;
};
