#pragma once
// A combo box that keeps, index for index beside its item texts, a list of keys (codes).
#include <QComboBox>
#include <QStringList>

class TLComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TLComboBox(QWidget* parent = nullptr);

    // Appends an item and its key.
    void AddKeyed(const QString& key, const QString& text);
    // Appends many items and their keys at once (index for index), far cheaper than one by one.
    void AddKeyedItems(const QStringList& keys, const QStringList& texts);
    // Clears the selection, then selects the first item whose key equals key exactly; a key
    // that is not in the list leaves nothing selected.
    void SelectByKey(const QString& key);
    // Selects the first item whose text equals text exactly; unchanged when none does.
    void SelectByText(const QString& text);
    // The selected item's key, or empty when nothing is selected.
    QString SelectedKey() const;
    void Clear();

    const QStringList& LItems() const { return FKeys; }

private:
    QStringList FKeys;
};
