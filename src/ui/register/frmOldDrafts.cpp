#include "ui/register/frmOldDrafts.h"

#include "register/RegisterTexts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frmOldDrafts::frmOldDrafts(const std::vector<DraftSummary>& drafts, QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmOldDrafts"));
    setWindowTitle(QStringLiteral("Remove Old Drafts --Quillo"));
    setModal(true);

    const QString count =
        drafts.size() == 1 ? QStringLiteral("This draft is") : QStringLiteral("These %1 drafts are").arg(drafts.size());
    lblOldDrafts = new QLabel(QStringLiteral("%1 five years or more past the last event in its history. Remove them "
                                             "from the register, with their authorizations and proof copies? "
                                             "Nothing else is ever removed from the register, and this cannot be "
                                             "undone.")
                                  .arg(count),
                              this);
    lblOldDrafts->setObjectName(QStringLiteral("lblOldDrafts"));
    lblOldDrafts->setTextFormat(Qt::PlainText);
    lblOldDrafts->setWordWrap(true);
    lstOldDrafts = new QListWidget(this);
    lstOldDrafts->setObjectName(QStringLiteral("lstOldDrafts"));
    lstOldDrafts->setAccessibleName(QStringLiteral("Drafts past their keeping time"));
    for (const DraftSummary& draft : drafts)
        lstOldDrafts->addItem(line(draft));
    lblOldDrafts->setBuddy(lstOldDrafts);

    auto* buttons = new QDialogButtonBox(this);
    cmdRemove = buttons->addButton(QStringLiteral("&Remove"), QDialogButtonBox::AcceptRole);
    cmdRemove->setObjectName(QStringLiteral("cmdRemove"));
    cmdRemove->setAutoDefault(false);
    cmdCancel = buttons->addButton(QDialogButtonBox::Cancel);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // Keeping them is what Enter does.
    cmdCancel->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblOldDrafts);
    layout->addWidget(lstOldDrafts, 1);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(640, 360);
    cmdCancel->setFocus();
}

QString frmOldDrafts::line(const DraftSummary& draft)
{
    QString text = draft.checkNumber.isEmpty() ? QStringLiteral("Draft") : QStringLiteral("Check ") + draft.checkNumber;
    if (!draft.payee.isEmpty())
        text += QStringLiteral(" to \"%1\"").arg(draft.payee);
    if (!draft.amount.isEmpty())
        text += QStringLiteral(" for %1").arg(draft.amount);
    return text + QStringLiteral(", printed %1, last event %2")
                      .arg(RegisterTexts::dateText(QDateTime::fromMSecsSinceEpoch(draft.recordedAt, Qt::UTC)),
                           RegisterTexts::dateText(QDateTime::fromMSecsSinceEpoch(draft.lastEventAt, Qt::UTC)));
}
