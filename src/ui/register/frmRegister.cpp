#include "ui/register/frmRegister.h"

#include "platform/DurableFile.h"
#include "platform/FailureHandling.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxService.h"
#include "platform/QuestionBox.h"
#include "platform/TextPrompt.h"
#include "register/DraftListModel.h"
#include "register/DraftRegister.h"
#include "register/RegisterCsv.h"
#include "register/RegisterError.h"
#include "register/RegisterSession.h"
#include "register/RegisterTexts.h"
#include "ui/register/frmOldDrafts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QShortcut>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The earliest day the date boxes offer; shown as "Any", it leaves that end
// of the range open.
const QDate AnyDay(2000, 1, 1);

// How many payors are opened at a time while the window waits for input.
constexpr int PayorsPerSlice = 4000;

QPushButton* commandButton(const char* name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QDateEdit* dayBox(const char* name, const QString& accessibleName, QWidget* parent)
{
    auto* box = new QDateEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(accessibleName);
    box->setCalendarPopup(true);
    box->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    box->setMinimumDate(AnyDay);
    box->setSpecialValueText(QStringLiteral("Any"));
    box->setDate(AnyDay);
    return box;
}

QDate rangeEnd(const QDateEdit* box)
{
    return box->date() == AnyDay ? QDate() : box->date();
}

QString historyLine(const RecordedEvent& recorded)
{
    QString line = RegisterTexts::dateTimeText(recorded.time) + QStringLiteral("  ") +
                   RegisterTexts::eventName(recorded.event.kind);
    if (!recorded.event.jobId.isEmpty())
        line += QStringLiteral(" (job %1)").arg(recorded.event.jobId);
    if (!recorded.event.text.isEmpty())
        line += QStringLiteral(": ") + recorded.event.text;
    return line;
}

} // namespace

frmRegister::frmRegister(RegisterWindowServices services, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(std::move(services))
{
    setObjectName(QStringLiteral("frmRegister"));
    setWindowTitle(QStringLiteral("Register --Quillo"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    connectCommands();
    showSelection();
    resize(960, 600);
}

frmRegister::~frmRegister() = default;

void frmRegister::buildControls()
{
    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setAccessibleName(QStringLiteral("Search"));
    txtSearch->setClearButtonEnabled(true);
    txtSearch->setPlaceholderText(QStringLiteral("Payor, payee, check number, amount or last four digits"));
    dtpFrom = dayBox("dtpFrom", QStringLiteral("From date"), this);
    dtpTo = dayBox("dtpTo", QStringLiteral("To date"), this);
    dtpFrom->installEventFilter(this);
    dtpTo->installEventFilter(this);
    auto* searchLabel = new QLabel(QStringLiteral("&Search:"), this);
    searchLabel->setBuddy(txtSearch);
    auto* fromLabel = new QLabel(QStringLiteral("&From:"), this);
    fromLabel->setBuddy(dtpFrom);
    auto* toLabel = new QLabel(QStringLiteral("&To:"), this);
    toLabel->setBuddy(dtpTo);

    m_model = new DraftListModel(this);
    // Sorting from the keyboard: the column headers take no focus.
    cboSortBy = new QComboBox(this);
    cboSortBy->setObjectName(QStringLiteral("cboSortBy"));
    cboSortBy->setAccessibleName(QStringLiteral("Sort by"));
    for (int column = 0; column < DraftListModel::ColumnCount; ++column)
        cboSortBy->addItem(m_model->headerData(column, Qt::Horizontal).toString());
    chkDescending = new QCheckBox(QStringLiteral("Descendin&g"), this);
    chkDescending->setObjectName(QStringLiteral("chkDescending"));
    chkDescending->setChecked(true);
    auto* sortLabel = new QLabel(QStringLiteral("Sort &by:"), this);
    sortLabel->setBuddy(cboSortBy);
    tblDrafts = new QTableView(this);
    tblDrafts->setObjectName(QStringLiteral("tblDrafts"));
    tblDrafts->setAccessibleName(QStringLiteral("Drafts"));
    tblDrafts->setModel(m_model);
    tblDrafts->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblDrafts->setSelectionMode(QAbstractItemView::SingleSelection);
    tblDrafts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblDrafts->setTabKeyNavigation(false);
    tblDrafts->setWordWrap(false);
    tblDrafts->verticalHeader()->hide();
    // Fixed row heights and column widths: the view never measures all rows.
    tblDrafts->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tblDrafts->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const int widths[DraftListModel::ColumnCount] = {17, 8, 20, 20, 11, 10, 16, 9};
    for (int column = 0; column < DraftListModel::ColumnCount; ++column)
        tblDrafts->setColumnWidth(column, widths[column] * digit);
    tblDrafts->horizontalHeader()->setStretchLastSection(true);
    tblDrafts->horizontalHeader()->setSortIndicator(DraftListModel::Printed, Qt::DescendingOrder);
    // On the empty model: the register lists its drafts newest first already.
    tblDrafts->setSortingEnabled(true);

    lstHistory = new QListWidget(this);
    lstHistory->setObjectName(QStringLiteral("lstHistory"));
    lstHistory->setAccessibleName(QStringLiteral("History of the selected draft"));
    auto* historyLabel = new QLabel(QStringLiteral("&History:"), this);
    historyLabel->setBuddy(lstHistory);
    // What the customer authorized, as the draft was printed with it.
    lblAuthorization = new QLabel(this);
    lblAuthorization->setObjectName(QStringLiteral("lblAuthorization"));
    lblAuthorization->setTextFormat(Qt::PlainText);
    lblAuthorization->setWordWrap(true);
    lblAuthorization->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    lblAuthorization->setFocusPolicy(Qt::StrongFocus);
    lblAuthorization->setAccessibleName(QStringLiteral("Authorization of the selected draft"));
    auto* draftsLabel = new QLabel(QStringLiteral("&Drafts:"), this);
    draftsLabel->setBuddy(tblDrafts);
    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));

    cmdOpen = commandButton("cmdOpen", QStringLiteral("&Open as Draft"), this);
    cmdPrintAgain = commandButton("cmdPrintAgain", QStringLiteral("&Print Again"), this);
    cmdVoid = commandButton("cmdVoid", QStringLiteral("&Void"), this);
    cmdDeposited = commandButton("cmdDeposited", QStringLiteral("Mark D&eposited"), this);
    cmdReturned = commandButton("cmdReturned", QStringLiteral("Mark &Returned..."), this);
    cmdNote = commandButton("cmdNote", QStringLiteral("Add &Note..."), this);
    cmdExportCsv = commandButton("cmdExportCsv", QStringLiteral("E&xport as CSV..."), this);
    chkFullNumbers = new QCheckBox(QStringLiteral("Include f&ull bank numbers"), this);
    chkFullNumbers->setObjectName(QStringLiteral("chkFullNumbers"));
    cmdRemoveOld = commandButton("cmdRemoveOld", QStringLiteral("Remove Old Drafts..."), this);
    cmdClose = commandButton("cmdClose", QStringLiteral("Close"), this);

    auto* filters = new QHBoxLayout;
    filters->addWidget(searchLabel);
    filters->addWidget(txtSearch, 1);
    filters->addWidget(fromLabel);
    filters->addWidget(dtpFrom);
    filters->addWidget(toLabel);
    filters->addWidget(dtpTo);
    filters->addWidget(sortLabel);
    filters->addWidget(cboSortBy);
    filters->addWidget(chkDescending);
    auto* commands = new QHBoxLayout;
    for (QPushButton* button : {cmdOpen, cmdPrintAgain, cmdVoid, cmdDeposited, cmdReturned, cmdNote})
        commands->addWidget(button);
    commands->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(cmdExportCsv);
    bottom->addWidget(chkFullNumbers);
    bottom->addWidget(cmdRemoveOld);
    bottom->addStretch(1);
    bottom->addWidget(lblCount);
    bottom->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(draftsLabel);
    layout->addWidget(tblDrafts, 4);
    layout->addWidget(historyLabel);
    layout->addWidget(lstHistory, 1);
    layout->addWidget(lblAuthorization);
    layout->addLayout(commands);
    layout->addLayout(bottom);

    QWidget* order[] = {txtSearch,   dtpFrom,          dtpTo,        cboSortBy,      chkDescending, tblDrafts,
                        lstHistory,  lblAuthorization, cmdOpen,      cmdPrintAgain,  cmdVoid,       cmdDeposited,
                        cmdReturned, cmdNote,          cmdExportCsv, chkFullNumbers, cmdRemoveOld,  cmdClose};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

bool frmRegister::eventFilter(QObject* watched, QEvent* event)
{
    // Tab leaves a date box at once: a date box showing "Any" would keep
    // it, and its month, day and year are reached with Left and Right.
    if ((watched == dtpFrom || watched == dtpTo) && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && !(key->modifiers() & ~Qt::ShiftModifier)) {
            focusNextPrevChild(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmRegister::connectCommands()
{
    FailureReporter& failures = *m_services.failures;
    connect(txtSearch, &QLineEdit::textChanged, this, Failures::guarded(failures, [this] { txtSearch_Change(); }));
    connect(dtpFrom, &QDateEdit::dateChanged, this, Failures::guarded(failures, [this] { dtpRange_Change(); }));
    connect(dtpTo, &QDateEdit::dateChanged, this, Failures::guarded(failures, [this] { dtpRange_Change(); }));
    connect(cboSortBy, &QComboBox::activated, this, Failures::guarded(failures, [this] { cboSortBy_Click(); }));
    connect(chkDescending, &QCheckBox::clicked, this, Failures::guarded(failures, [this] { cboSortBy_Click(); }));
    // A click on a column's header sorts too; the boxes show how.
    connect(tblDrafts->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this](int column, Qt::SortOrder order) {
                cboSortBy->setCurrentIndex(column);
                chkDescending->setChecked(order == Qt::DescendingOrder);
            });
    connect(cmdOpen, &QPushButton::clicked, this, Failures::guarded(failures, [this] { cmdOpen_Click(); }));
    connect(cmdPrintAgain, &QPushButton::clicked, this, Failures::guarded(failures, [this] { cmdPrintAgain_Click(); }));
    connect(cmdVoid, &QPushButton::clicked, this, Failures::guarded(failures, [this] { cmdVoid_Click(); }));
    connect(cmdDeposited, &QPushButton::clicked, this, Failures::guarded(failures, [this] { cmdDeposited_Click(); }));
    connect(cmdReturned, &QPushButton::clicked, this, Failures::guarded(failures, [this] { cmdReturned_Click(); }));
    connect(cmdNote, &QPushButton::clicked, this, Failures::guarded(failures, [this] { cmdNote_Click(); }));
    connect(cmdExportCsv, &QPushButton::clicked, this, Failures::guarded(failures, [this] { cmdExportCsv_Click(); }));
    connect(cmdRemoveOld, &QPushButton::clicked, this, Failures::guarded(failures, [this] { cmdRemoveOld_Click(); }));
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    connect(tblDrafts, &QTableView::activated, this, Failures::guarded(failures, [this] { cmdOpen_Click(); }));
    connect(tblDrafts->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            Failures::guarded(failures, [this] { showSelection(); }));
    connect(m_model, &QAbstractItemModel::modelReset, this, Failures::guarded(failures, [this] { showSelection(); }));
    connect(m_model, &DraftListModel::failed, this, [&failures](const QString& message) { failures.report(message); });

    // The drafts after the first page are fetched, and then the payors
    // opened, a slice at a time while the window waits for input, so that
    // the first search and sort find them here.
    m_opener = new QTimer(this);
    m_opener->setInterval(0);
    connect(m_opener, &QTimer::timeout, this, Failures::guarded(failures, [this] {
                // One report for a register that fails meanwhile, not one a slice.
                auto stopOnFailure = qScopeGuard([this] { m_opener->stop(); });
                if (!m_model->allFetched()) {
                    m_model->fetchPage();
                    lblCount->setText(countText());
                    stopOnFailure.dismiss();
                } else if (!m_model->openPayors(PayorsPerSlice)) {
                    stopOnFailure.dismiss();
                } else {
                    // Every payor open: the count says which did not.
                    lblCount->setText(countText());
                }
            }));
}

bool frmRegister::Form_Load()
{
    try {
        m_register = &m_services.session->open(m_services.passphrase);
        m_model->setSource(*m_register);
    } catch (const RegisterError& error) {
        m_services.messages->show(error.message());
        return false;
    }
    if (m_model->rowCount() > 0)
        tblDrafts->selectRow(0);
    m_opener->start();
    return true;
}

void frmRegister::showStatus(DraftId draft, DraftStatus status)
{
    m_model->setStatus(draft, status);
    showSelection();
}

void frmRegister::txtSearch_Change()
{
    m_model->setSearch(txtSearch->text());
}

void frmRegister::dtpRange_Change()
{
    m_model->setDateRange(rangeEnd(dtpFrom), rangeEnd(dtpTo));
}

void frmRegister::cboSortBy_Click()
{
    tblDrafts->sortByColumn(cboSortBy->currentIndex(),
                            chkDescending->isChecked() ? Qt::DescendingOrder : Qt::AscendingOrder);
}

std::optional<DraftSummary> frmRegister::selected() const
{
    const QModelIndexList rows = tblDrafts->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    return m_model->draftAt(rows.first().row());
}

void frmRegister::showSelection()
{
    const std::optional<DraftSummary> draft = selected();
    for (QPushButton* command : {cmdOpen, cmdPrintAgain, cmdVoid, cmdDeposited, cmdReturned, cmdNote})
        command->setEnabled(draft.has_value());
    lblCount->setText(countText());
    lstHistory->clear();
    lblAuthorization->clear();
    if (!draft || !m_register)
        return;
    const DraftDetails details = m_register->details(draft->id);
    for (const RecordedEvent& event : details.history)
        lstHistory->addItem(historyLine(event));
    const QString authorization = details.record.authorization
                                      ? RegisterTexts::authorizationSummary(*details.record.authorization)
                                      : RegisterTexts::noAuthorizationSummary();
    lblAuthorization->setText(details.damaged ? damagedText(*draft) + QLatin1Char(' ') + authorization : authorization);
}

QString frmRegister::damagedText(const DraftSummary& draft) const
{
    QString text = QStringLiteral("A value of %1 does not open (the register file was altered): it shows as "
                                  "\"(damaged)\".")
                       .arg(described(draft));
    text[0] = text[0].toUpper();
    return text;
}

DraftDetails frmRegister::undamagedDetails(const DraftSummary& draft) const
{
    DraftDetails details = m_register->details(draft.id);
    if (details.damaged)
        throw QuilloError(damagedText(draft));
    return details;
}

QString frmRegister::countText() const
{
    QString text = m_model->allFetched()
                       ? QStringLiteral("%1 of %2 drafts").arg(m_model->rowCount()).arg(m_model->totalCount())
                       : QStringLiteral("%1 of %2 drafts so far").arg(m_model->rowCount()).arg(m_model->totalCount());
    const std::vector<DraftSummary>& damaged = m_model->damagedDrafts();
    if (damaged.size() == 1)
        text += QStringLiteral(". ") + damagedText(damaged.front());
    else if (damaged.size() > 1)
        text += QStringLiteral(". Values of %1 drafts do not open (the register file was altered): they show as "
                               "\"(damaged)\".")
                    .arg(damaged.size());
    return text;
}

QString frmRegister::described(const DraftSummary& draft) const
{
    QString text =
        draft.checkNumber.isEmpty() ? QStringLiteral("the draft") : QStringLiteral("check %1").arg(draft.checkNumber);
    if (!draft.payee.isEmpty())
        text += QStringLiteral(" to \"%1\"").arg(draft.payee);
    if (!draft.amount.isEmpty())
        text += QStringLiteral(" for %1").arg(draft.amount);
    return text;
}

void frmRegister::append(const DraftSummary& draft, const DraftEvent& event)
{
    m_register->append(draft.id, event);
    m_model->setStatus(draft.id, m_register->details(draft.id).status);
    showSelection();
}

void frmRegister::cmdOpen_Click()
{
    if (const std::optional<DraftSummary> draft = selected())
        Q_EMIT openAsDraft(undamagedDetails(*draft));
}

void frmRegister::cmdPrintAgain_Click()
{
    if (const std::optional<DraftSummary> draft = selected())
        Q_EMIT printAgain(undamagedDetails(*draft));
}

void frmRegister::cmdVoid_Click()
{
    const std::optional<DraftSummary> draft = selected();
    if (!draft)
        return;
    QString question = QStringLiteral("Void %1? It stays in the register, marked Voided.").arg(described(*draft));
    question[0] = question[0].toUpper();
    if (m_services.questions->ask(question))
        append(*draft, DraftEvent::voided());
}

void frmRegister::cmdDeposited_Click()
{
    if (const std::optional<DraftSummary> draft = selected())
        append(*draft, DraftEvent::deposited());
}

void frmRegister::cmdReturned_Click()
{
    const std::optional<DraftSummary> draft = selected();
    if (!draft)
        return;
    const std::optional<QString> reason =
        m_services.texts->askText(QStringLiteral("Why was %1 returned?").arg(described(*draft)));
    if (reason && !reason->trimmed().isEmpty())
        append(*draft, DraftEvent::returned(reason->trimmed()));
}

void frmRegister::cmdNote_Click()
{
    const std::optional<DraftSummary> draft = selected();
    if (!draft)
        return;
    const std::optional<QString> note = m_services.texts->askText(QStringLiteral("Note on %1:").arg(described(*draft)));
    if (note && !note->trimmed().isEmpty())
        append(*draft, DraftEvent::note(note->trimmed()));
}

void frmRegister::cmdExportCsv_Click()
{
    if (!m_register)
        return;
    const std::optional<QString> path = m_services.fileDialogs->choose(
        FileDialogRequest::exportTo(m_services.exportFolder, QStringLiteral("register.csv"),
                                    {QStringLiteral("CSV Files (*.csv)"), {QStringLiteral("*.csv")}}));
    if (!path)
        return;
    m_services.exportFolder = QFileInfo(*path).absolutePath();
    m_model->fetchAll();
    const std::vector<DraftSummary> shown = m_model->shownDrafts();
    try {
        DurableFile::replaceWhole(*path, RegisterCsv::write(*m_register, shown, chkFullNumbers->isChecked()));
    } catch (const FileFailure& failure) {
        throw QuilloError(QStringLiteral("The drafts could not be exported to \"%1\". %2")
                              .arg(QDir::toNativeSeparators(*path), failure.message()));
    }
    m_services.messages->show(QStringLiteral("The drafts shown (%1) were exported to \"%2\".")
                                  .arg(shown.size())
                                  .arg(QDir::toNativeSeparators(*path)));
}

void frmRegister::cmdRemoveOld_Click()
{
    if (!m_register)
        return;
    const std::vector<DraftSummary> old = m_register->draftsPastKeeping();
    if (old.empty()) {
        m_services.messages->show(
            QStringLiteral("No draft in the register is five years or more past the last event in its history."));
        return;
    }
    frmOldDrafts dialog(old, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::vector<DraftId> ids;
    for (const DraftSummary& draft : old)
        ids.push_back(draft.id);
    const int removed = m_register->removePastKeeping(ids);
    m_model->setSource(*m_register);
    if (m_model->rowCount() > 0)
        tblDrafts->selectRow(0);
    m_opener->start();
    m_services.messages->show(removed == 1 ? QStringLiteral("1 draft was removed from the register.")
                                           : QStringLiteral("%1 drafts were removed from the register.").arg(removed));
}
