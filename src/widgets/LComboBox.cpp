#include "widgets/LComboBox.h"

TLComboBox::TLComboBox(QWidget* parent) : QComboBox(parent) {}

void TLComboBox::AddKeyed(const QString& key, const QString& text)
{
    FKeys << key;
    addItem(text);
}

void TLComboBox::AddKeyedItems(const QStringList& keys, const QStringList& texts)
{
    const qsizetype n = qMin(keys.size(), texts.size());
    FKeys << keys.mid(0, n);
    addItems(texts.mid(0, n));
}

void TLComboBox::SelectByKey(const QString& key)
{
    setCurrentIndex(-1);
    const int i = FKeys.indexOf(key);
    if (i >= 0 && i < count()) setCurrentIndex(i);
}

void TLComboBox::SelectByText(const QString& text)
{
    for (int i = 0; i < count(); ++i)
        if (itemText(i) == text) {
            setCurrentIndex(i);
            return;
        }
}

QString TLComboBox::SelectedKey() const
{
    const int i = currentIndex();
    return i >= 0 && i < FKeys.size() ? FKeys[i] : QString();
}

void TLComboBox::Clear()
{
    clear();
    FKeys.clear();
}
