#pragma once
// A drop-down list whose items carry check boxes. The closed box shows "[" + the checked items'
// texts joined by ", " + "]"; clicking an item (or Space on it) toggles its mark and keeps the
// list open. Each item has a colour and a value of the caller's (QVariant).
#include <QComboBox>
#include <QVariant>

class QStandardItemModel;

class TCheckListCombo : public QComboBox {
    Q_OBJECT
public:
    explicit TCheckListCombo(QWidget* parent = nullptr);

    void Clear();
    int AddItem(const QString& text, const QVariant& data, const QColor& color);
    int Count() const;
    QString ItemText(int index) const;
    QVariant ItemData(int index) const;
    bool IsChecked(int index) const;
    // The program's own changes of marks and text raise no CheckedTextChanged.
    void SetChecked(int index, bool checked);
    void UncheckAll();
    void SetText(const QString& text);
    const QString& Text() const { return FText; }
    // Shown after the text in the closed box (the active search); not part of Text().
    void SetExtraText(const QString& text);
    const QString& ExtraText() const { return FExtraText; }
    // What the closed box shows: the text, then the extra text.
    QString ShownText() const;
    // The text the marks give: "[" + checked texts + "]".
    QString CheckedText() const;
    // The index of the item last made current by the user; -1 while none.
    int LastCurrentIndex() const { return FLastCurrent; }
    // Holds repaints of the list while it is refilled or re-marked; brackets may nest.
    void BeginUpdate();
    void EndUpdate();

    QStandardItemModel* ItemModel() const { return FModel; }
    void showPopup() override;

signals:
    // The user's checking or unchecking altered the text.
    void CheckedTextChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void UserToggle(int index);

    QStandardItemModel* FModel;
    QString FText = QStringLiteral("[]");
    QString FExtraText;
    int FLastCurrent = -1;
    int FUpdateDepth = 0;
    bool FPressedInList = false;
};
