#pragma once
// Feedback on a long export: a progress dialog that appears once the work has run for about half a
// second, with a cancel button. The export asks it after every few rows whether to go on.
#include <QElapsedTimer>
#include <QPointer>
#include <QString>

class QProgressDialog;

class TExportProgress {
public:
    virtual ~TExportProgress() = default;
    // total: the number of rows to write.
    virtual void Start(int total) = 0;
    // done rows written so far; false when the user has cancelled.
    virtual bool Step(int done) = 0;
    virtual void Finish() = 0;
};

// The real one: nothing shows before ShowAfterMs of work; then an application-modal progress
// dialog (so no other window can change the card list under the export) with "Mégse".
class TDialogProgress : public TExportProgress {
public:
    explicit TDialogProgress(QString label = QStringLiteral("Exportálás..."));
    ~TDialogProgress() override;

    void Start(int total) override;
    bool Step(int done) override;
    void Finish() override;

    int ShowAfterMs = 500;
    QProgressDialog* Dialog() const;

private:
    QString FLabel;
    QElapsedTimer FTimer;
    QPointer<QProgressDialog> FDialog;
    int FTotal = 0;
};
