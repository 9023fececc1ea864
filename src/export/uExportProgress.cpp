#include "export/uExportProgress.h"

#include "app/Messages.h"

#include <QApplication>
#include <QProgressDialog>

TDialogProgress::TDialogProgress(QString label) : FLabel(std::move(label)) {}

TDialogProgress::~TDialogProgress() { Finish(); }

void TDialogProgress::Start(int total)
{
    Finish();
    FTotal = total;
    FTimer.start();
}

bool TDialogProgress::Step(int done)
{
    if (!FDialog) {
        if (!FTimer.isValid() || FTimer.elapsed() < ShowAfterMs) return true;
        // Shown by hand: QProgressDialog's own delay would let events through before it is modal.
        FDialog = new QProgressDialog(FLabel, BUTTON_CANCEL, 0, std::max(FTotal, 1), QApplication::activeWindow());
        FDialog->setWindowTitle(QStringLiteral("Export"));
        FDialog->setWindowModality(Qt::ApplicationModal);
        FDialog->setMinimumDuration(0);
        FDialog->setAutoClose(false);
        FDialog->setAutoReset(false);
        FDialog->show();
    }
    if (FDialog->wasCanceled()) return false;
    FDialog->setValue(std::min(done, FDialog->maximum()));  // modal: lets the dialog paint and be clicked
    return !FDialog->wasCanceled();
}

void TDialogProgress::Finish()
{
    if (FDialog) {
        FDialog->hide();
        delete FDialog.data();
    }
    FTimer.invalidate();
}

QProgressDialog* TDialogProgress::Dialog() const { return FDialog.data(); }
