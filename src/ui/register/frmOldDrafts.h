#pragma once

#include "register/DraftSummary.h"

#include <QDialog>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

// "Remove Old Drafts --Quillo": the drafts whose latest event is five years
// or more back, listed for the merchant to confirm their removal; Cancel is
// the default.
class frmOldDrafts : public QDialog {
    Q_OBJECT

public:
    frmOldDrafts(const std::vector<DraftSummary>& drafts, QWidget* owner);

    // A listed draft as the list shows it.
    static QString line(const DraftSummary& draft);

private:
    QLabel* lblOldDrafts = nullptr;
    QListWidget* lstOldDrafts = nullptr;
    QPushButton* cmdRemove = nullptr;
    QPushButton* cmdCancel = nullptr;
};
