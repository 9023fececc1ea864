#include "browser/uDetailPage.h"

#include "browser/LComboBox.h"

TDetailPage::TDetailPage(QWidget* parent) : QWidget(parent)
{
    cbVelkor = new TLComboBox(this);
    cbVelkor->setObjectName("cbVelkor");
    cbLTipus = new TLComboBox(this);
    cbLTipus->setObjectName("cbLTipus");
}

void TDetailPage::RefreshDetailPage(const QString&) {}

void TDetailPage::acDBDeleteExecute() {}
