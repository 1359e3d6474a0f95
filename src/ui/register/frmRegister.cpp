#include "ui/register/frmRegister.h"

#include "platform/DurableFile.h"
#include "platform/FailureHandling.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxService.h"
#include "platform/QuestionBox.h"
#include "platform/TextPrompt.h"
#include "register/ClaimPackage.h"
#include "register/DraftLifecycle.h"
#include "register/DraftListModel.h"
#include "register/DraftProof.h"
#include "register/DraftRegister.h"
#include "register/RegisterCsv.h"
#include "register/RegisterError.h"
#include "register/RegisterSession.h"
#include "register/RegisterTexts.h"
#include "register/StatusChangePrompt.h"
#include "ui/main/MainWindowDesign.h"
#include "ui/register/frmOldDrafts.h"

#include <QCalendarWidget>
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
#include <QLocale>
#include <QPushButton>
#include <QScopeGuard>
#include <QShortcut>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The earliest day the date boxes offer; shown as "Any", it leaves that end
// of the range open.
const QDate AnyDay(2000, 1, 1);

// How many drafts are fetched, and how many payors opened, at a time while
// the window waits for input: small enough that a key pressed meanwhile
// waits for a few milliseconds at most.
constexpr int DraftsPerSlice = 100;
constexpr int PayorsPerSlice = 500;

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

// The captions the cheque window's labels print with the draft.
PrintedCaptions printedCaptions()
{
    const auto text = [](const char* name) {
        for (const ControlDesign& control : MainWindowDesign::ChequeFace) {
            if (qstrcmp(control.name, name) == 0)
                return QString::fromLatin1(control.text);
        }
        return QString();
    };
    return {text("Label4"),  text("Label5"),  text("Label8"), text("Label9"),
            text("Label10"), text("Label11"), text("Label12")};
}

QDate rangeEnd(const QDateEdit* box)
{
    return box->date() == AnyDay ? QDate() : box->date();
}

// The date range's presets, as cboRange lists them; the last says the
// dates were typed or picked.
enum RangePreset { Today, ThisWeek, ThisMonth, Last30Days, All, Custom };

// The days a preset stands for; null days leave that end open.
std::pair<QDate, QDate> presetDays(int preset, const QDate& today)
{
    switch (preset) {
    case Today:
        return {today, today};
    case ThisWeek: {
        const int intoWeek = (today.dayOfWeek() - int(QLocale().firstDayOfWeek()) + 7) % 7;
        return {today.addDays(-intoWeek), today.addDays(6 - intoWeek)};
    }
    case ThisMonth:
        return {QDate(today.year(), today.month(), 1), QDate(today.year(), today.month(), today.daysInMonth())};
    case Last30Days:
        return {today.addDays(-29), today};
    default:
        return {};
    }
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
    // The clear button is a tool button of the box's own: a screen reader needs its name.
    for (QToolButton* clear : txtSearch->findChildren<QToolButton*>()) {
        clear->setAccessibleName(QStringLiteral("Clear search"));
        clear->setToolTip(QStringLiteral("Clear search"));
    }
    cboRange = new QComboBox(this);
    cboRange->setObjectName(QStringLiteral("cboRange"));
    cboRange->setAccessibleName(QStringLiteral("Period"));
    cboRange->addItems({QStringLiteral("Today"), QStringLiteral("This week"), QStringLiteral("This month"),
                        QStringLiteral("Last 30 days"), QStringLiteral("All"), QStringLiteral("Dates below")});
    cboRange->setCurrentIndex(All);
    auto* rangeLabel = new QLabel(QStringLiteral("Per&iod:"), this);
    rangeLabel->setBuddy(cboRange);
    dtpFrom = dayBox("dtpFrom", QStringLiteral("From date"), this);
    dtpTo = dayBox("dtpTo", QStringLiteral("To date"), this);
    for (QDateEdit* box : {dtpFrom, dtpTo}) {
        box->installEventFilter(this);
        box->calendarWidget()->installEventFilter(this);
    }
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
    cmdDeposited = commandButton("cmdDeposited", QStringLiteral("Mark D&eposited..."), this);
    cmdPaid = commandButton("cmdPaid", QStringLiteral("Mark P&aid..."), this);
    cmdReturned = commandButton("cmdReturned", QStringLiteral("Mark &Returned..."), this);
    cmdRepresented = commandButton("cmdRepresented", QStringLiteral("Mar&k Re-presented..."), this);
    cmdWithdraw = commandButton("cmdWithdraw", QStringLiteral("&Withdraw Last Change"), this);
    cmdNote = commandButton("cmdNote", QStringLiteral("Add &Note..."), this);
    cmdSaveProof = commandButton("cmdSaveProof", QStringLiteral("Save Proof &Copy As..."), this);
    cmdClaimPackage = commandButton("cmdClaimPackage", QStringLiteral("Export C&laim Package..."), this);
    cmdExportCsv = commandButton("cmdExportCsv", QStringLiteral("E&xport as CSV..."), this);
    chkFullNumbers = new QCheckBox(QStringLiteral("Include f&ull bank numbers"), this);
    chkFullNumbers->setObjectName(QStringLiteral("chkFullNumbers"));
    cmdRemoveOld = commandButton("cmdRemoveOld", QStringLiteral("Remove Old Drafts..."), this);
    cmdClose = commandButton("cmdClose", QStringLiteral("Close"), this);

    auto* filters = new QHBoxLayout;
    filters->addWidget(searchLabel);
    filters->addWidget(txtSearch, 1);
    filters->addWidget(rangeLabel);
    filters->addWidget(cboRange);
    filters->addWidget(fromLabel);
    filters->addWidget(dtpFrom);
    filters->addWidget(toLabel);
    filters->addWidget(dtpTo);
    filters->addWidget(sortLabel);
    filters->addWidget(cboSortBy);
    filters->addWidget(chkDescending);
    auto* commands = new QHBoxLayout;
    for (QPushButton* button : {cmdOpen, cmdPrintAgain, cmdVoid, cmdDeposited, cmdPaid, cmdReturned, cmdRepresented,
                                cmdWithdraw, cmdNote, cmdSaveProof})
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

    QWidget* order[] = {txtSearch,    cboRange,        dtpFrom,          dtpTo,          cboSortBy,     chkDescending,
                        tblDrafts,    lstHistory,      lblAuthorization, cmdOpen,        cmdPrintAgain, cmdVoid,
                        cmdDeposited, cmdPaid,         cmdReturned,      cmdRepresented, cmdWithdraw,   cmdNote,
                        cmdSaveProof, cmdClaimPackage, cmdExportCsv,     chkFullNumbers, cmdRemoveOld,  cmdClose};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

bool frmRegister::eventFilter(QObject* watched, QEvent* event)
{
    // A calendar opens at today's month, not at the first day "Any" stands for.
    if (auto* calendar = qobject_cast<QCalendarWidget*>(watched); calendar && event->type() == QEvent::Show) {
        for (QDateEdit* box : {dtpFrom, dtpTo}) {
            if (box->calendarWidget() == calendar && box->date() == AnyDay)
                calendar->setCurrentPage(today().year(), today().month());
        }
    }
    // A date typed into a box showing "Any" starts from today's, its month first.
    if ((watched == dtpFrom || watched == dtpTo) && event->type() == QEvent::KeyPress) {
        auto* box = static_cast<QDateEdit*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (box->date() == AnyDay && key->text().size() == 1 && key->text().front().isDigit()) {
            box->setDate(today());
            box->setSelectedSection(QDateTimeEdit::MonthSection);
        }
    }
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
    connect(cboRange, &QComboBox::activated, this, Failures::guarded(failures, [this] { cboRange_Click(); }));
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
    connect(cmdPaid, &QPushButton::clicked, this, Failures::guarded(failures, [this] { cmdPaid_Click(); }));
    connect(cmdReturned, &QPushButton::clicked, this, Failures::guarded(failures, [this] { cmdReturned_Click(); }));
    connect(cmdRepresented, &QPushButton::clicked, this,
            Failures::guarded(failures, [this] { cmdRepresented_Click(); }));
    connect(cmdWithdraw, &QPushButton::clicked, this, Failures::guarded(failures, [this] { cmdWithdraw_Click(); }));
    // Undo takes back the latest change, as the command does, when it applies.
    auto* undo = new QShortcut(QKeySequence::Undo, this);
    connect(undo, &QShortcut::activated, this, Failures::guarded(failures, [this] {
                if (cmdWithdraw->isEnabled())
                    cmdWithdraw_Click();
            }));
    connect(cmdNote, &QPushButton::clicked, this, Failures::guarded(failures, [this] { cmdNote_Click(); }));
    connect(cmdSaveProof, &QPushButton::clicked, this, Failures::guarded(failures, [this] { cmdSaveProof_Click(); }));
    connect(cmdClaimPackage, &QPushButton::clicked, this,
            Failures::guarded(failures, [this] { cmdClaimPackage_Click(); }));
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
                    m_model->fetchPage(DraftsPerSlice);
                    lblCount->setText(countText());
                    stopOnFailure.dismiss();
                } else if (!m_model->openPayors(PayorsPerSlice)) {
                    // A search goes on through the payors: the count says how far.
                    if (m_model->searching())
                        lblCount->setText(countText());
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
    // Queued: a draft recorded inside a write is listed once the write is done.
    FailureReporter& failures = *m_services.failures;
    connect(m_register, &DraftRegister::draftRecorded, this,
            Failures::guarded(failures, [this](DraftId draft) { takeDraft(draft); }), Qt::QueuedConnection);
    connect(m_register, &DraftRegister::eventAppended, this,
            Failures::guarded(failures, [this](DraftId draft) { takeDraft(draft); }), Qt::QueuedConnection);
    return true;
}

void frmRegister::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The merchant comes to find a draft: the search box takes the keys.
    if (!event->spontaneous())
        txtSearch->setFocus(Qt::OtherFocusReason);
}

QDate frmRegister::today() const
{
    return m_register ? m_register->today() : QDate::currentDate();
}

void frmRegister::takeDraft(DraftId draft)
{
    const std::optional<DraftSummary> summary = m_register->summary(draft);
    if (!summary)
        return;
    const std::optional<DraftSummary> chosen = selected();
    m_model->takeDraft(*summary);
    const std::optional<DraftSummary> still = selected();
    if (chosen && (!still || still->id != chosen->id)) {
        // The rows were laid out again: the same draft is selected in its new row.
        const int row = m_model->rowOf(chosen->id);
        if (row >= 0)
            tblDrafts->selectRow(row);
    } else if (chosen && chosen->id == draft) {
        showSelection();
    }
    lblCount->setText(countText());
}

void frmRegister::showStatus(DraftId draft, DraftStatus status)
{
    m_model->setStatus(draft, status);
    showSelection();
}

void frmRegister::txtSearch_Change()
{
    m_model->setSearch(txtSearch->text());
    lblCount->setText(countText());
}

void frmRegister::dtpRange_Change()
{
    m_model->setDateRange(rangeEnd(dtpFrom), rangeEnd(dtpTo));
    // The period names the preset the dates are, or says they are the merchant's own.
    int preset = Custom;
    for (int candidate = Today; candidate < Custom; ++candidate) {
        const auto [from, to] = presetDays(candidate, today());
        if (from == rangeEnd(dtpFrom) && to == rangeEnd(dtpTo))
            preset = candidate;
    }
    cboRange->setCurrentIndex(preset);
}

void frmRegister::cboRange_Click()
{
    if (cboRange->currentIndex() == Custom)
        return;
    const auto [from, to] = presetDays(cboRange->currentIndex(), today());
    // One change of the list for both ends.
    {
        const QSignalBlocker keepFrom(dtpFrom);
        const QSignalBlocker keepTo(dtpTo);
        dtpFrom->setDate(from.isValid() ? from : AnyDay);
        dtpTo->setDate(to.isValid() ? to : AnyDay);
    }
    dtpRange_Change();
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
    showCommandsFor(draft);
    lblCount->setText(countText());
    lstHistory->clear();
    lblAuthorization->clear();
    if (!draft || !m_register)
        return;
    const DraftDetails details = m_register->details(draft->id);
    if (details.record.reprintOf)
        lstHistory->addItem(RegisterTexts::dateTimeText(details.recorded) +
                            QStringLiteral("  Reprint of the draft printed %1, after the duplicate question")
                                .arg(RegisterTexts::dateTimeText(details.reprintOfRecorded)));
    for (const RecordedEvent& event : details.history)
        lstHistory->addItem(RegisterTexts::historyLine(event, details.history, m_register->seat()));
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

void frmRegister::showCommandsFor(const std::optional<DraftSummary>& draft)
{
    for (QPushButton* command : {cmdOpen, cmdPrintAgain, cmdNote})
        command->setEnabled(draft.has_value());
    cmdClaimPackage->setEnabled(draft.has_value());
    cmdClaimPackage->setToolTip(draft ? QString() : QStringLiteral("No draft is selected."));
    cmdClaimPackage->setAccessibleDescription(cmdClaimPackage->toolTip());
    const std::pair<QPushButton*, DraftLifecycle::Change> changes[] = {
        {cmdVoid, DraftLifecycle::Change::Void},
        {cmdDeposited, DraftLifecycle::Change::Deposit},
        {cmdPaid, DraftLifecycle::Change::Pay},
        {cmdReturned, DraftLifecycle::Change::Return},
        {cmdRepresented, DraftLifecycle::Change::Represent},
        {cmdWithdraw, DraftLifecycle::Change::Withdraw},
    };
    for (const auto& [command, change] : changes) {
        // Why a command does not apply, where the pointer and a screen reader find it.
        const std::optional<QString> why = draft ? DraftLifecycle::refusal(draft->status, change)
                                                 : std::optional(QStringLiteral("No draft is selected."));
        command->setEnabled(!why);
        command->setToolTip(why.value_or(QString()));
        command->setAccessibleDescription(why.value_or(QString()));
    }
    std::optional<QString> noProof = QStringLiteral("No draft is selected.");
    if (draft && m_register)
        noProof = DraftProof::missing(m_register->details(draft->id));
    cmdSaveProof->setEnabled(!noProof);
    cmdSaveProof->setToolTip(noProof.value_or(QString()));
    cmdSaveProof->setAccessibleDescription(noProof.value_or(QString()));
}

QString frmRegister::countText() const
{
    QString text;
    if (!m_model->allFetched())
        text = QStringLiteral("%1 of %2 drafts so far").arg(m_model->rowCount()).arg(m_model->totalCount());
    else if (m_model->searching() && m_model->openedCount() < m_model->totalCount())
        text = QStringLiteral("%1 of %2 drafts so far, payors searched: %3 of %2")
                   .arg(m_model->rowCount())
                   .arg(m_model->totalCount())
                   .arg(m_model->openedCount());
    else
        text = QStringLiteral("%1 of %2 drafts").arg(m_model->rowCount()).arg(m_model->totalCount());
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
    if (event.setsStatus())
        m_register->change(draft.id, event);
    else
        m_register->append(draft.id, event);
    m_model->setStatus(draft.id, m_register->details(draft.id).status);
    showSelection();
}

void frmRegister::askAndChange(DraftEventKind kind, const QString& question)
{
    const std::optional<DraftSummary> draft = selected();
    if (!draft)
        return;
    const QDate since = m_register->details(draft->id).statusDay;
    const std::optional<StatusChangeAnswer> answer =
        m_services.statusChanges->ask(kind, question.arg(described(*draft)), since, m_register->today());
    if (!answer)
        return;
    switch (kind) {
    case DraftEventKind::Deposited:
        append(*draft, DraftEvent::deposited(answer->day, answer->deposit));
        break;
    case DraftEventKind::Represented:
        append(*draft, DraftEvent::represented(answer->day, answer->deposit));
        break;
    case DraftEventKind::Returned:
        append(*draft, DraftEvent::returned(answer->day, answer->reason, answer->otherText));
        break;
    default:
        append(*draft, DraftEvent::paid(answer->day));
        break;
    }
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
    // Named by when and where it went, so that of a draft and its reprint the right one goes.
    const DraftDetails details = m_register->details(draft->id);
    QString printed = QStringLiteral(", printed %1").arg(RegisterTexts::dateTimeText(details.recorded));
    for (const RecordedEvent& event : details.history) {
        if (!event.event.jobId.isEmpty() &&
            (event.event.kind == DraftEventKind::Printed || event.event.kind == DraftEventKind::Uncertain))
            printed =
                QStringLiteral(", printed %1 (job %2 on \"%3\")")
                    .arg(RegisterTexts::dateTimeText(details.recorded), event.event.jobId, draft->destinationName);
    }
    QString question = QStringLiteral("Void %1%2? It stays in the register, marked Voided.")
                           .arg(described(*draft), draft->kind == SentDraft::Kind::PdfFile ? QString() : printed);
    question[0] = question[0].toUpper();
    if (m_services.questions->ask(question))
        append(*draft, DraftEvent::voided(m_register->today()));
}

void frmRegister::cmdDeposited_Click()
{
    askAndChange(DraftEventKind::Deposited, QStringLiteral("When was %1 deposited?"));
}

void frmRegister::cmdPaid_Click()
{
    askAndChange(DraftEventKind::Paid, QStringLiteral("When was %1 paid?"));
}

void frmRegister::cmdReturned_Click()
{
    askAndChange(DraftEventKind::Returned, QStringLiteral("When did %1 come back, and why?"));
}

void frmRegister::cmdRepresented_Click()
{
    askAndChange(DraftEventKind::Represented, QStringLiteral("When was %1 deposited again?"));
}

void frmRegister::cmdWithdraw_Click()
{
    const std::optional<DraftSummary> draft = selected();
    if (!draft)
        return;
    const DraftDetails details = m_register->details(draft->id);
    QString latest;
    for (const RecordedEvent& event : details.history) {
        if (event.event.setsStatus() && !event.withdrawn)
            latest = RegisterTexts::changeText(event);
    }
    if (!m_services.questions->ask(QStringLiteral("Withdraw \"%1\" from %2? It stays in the history, marked withdrawn.")
                                       .arg(latest, described(*draft))))
        return;
    m_register->withdrawLatestChange(draft->id);
    m_model->setStatus(draft->id, m_register->details(draft->id).status);
    showSelection();
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

void frmRegister::cmdSaveProof_Click()
{
    const std::optional<DraftSummary> draft = selected();
    if (!draft)
        return;
    const DraftDetails details = undamagedDetails(*draft);
    if (const std::optional<QString> why = DraftProof::missing(details)) {
        m_services.messages->show(*why);
        return;
    }
    const QString name = details.record.authorization->proofFile;
    const QString suffix = QFileInfo(name).suffix();
    const std::optional<QString> path = m_services.fileDialogs->choose(FileDialogRequest::exportTo(
        m_services.exportFolder, name,
        suffix.isEmpty()
            ? NameFilter{QStringLiteral("All Files (*)"), {QStringLiteral("*")}}
            : NameFilter{QStringLiteral("Proof Files (*.%1)").arg(suffix), {QStringLiteral("*.") + suffix}}));
    if (!path)
        return;
    m_services.exportFolder = QFileInfo(*path).absolutePath();
    DraftProof::save(*m_register, details, *path);
    m_services.messages->show(QStringLiteral("The proof file of %1 was saved as \"%2\".")
                                  .arg(described(*draft), QDir::toNativeSeparators(*path)));
}

void frmRegister::cmdClaimPackage_Click()
{
    const std::optional<DraftSummary> draft = selected();
    if (!draft)
        return;
    const DraftDetails details = undamagedDetails(*draft);
    const std::optional<QString> path = m_services.fileDialogs->choose(
        FileDialogRequest::exportTo(m_services.exportFolder, ClaimPackage::suggestedName(details),
                                    {QStringLiteral("Folders (*)"), {QStringLiteral("*")}}));
    if (!path)
        return;
    m_services.exportFolder = QFileInfo(*path).absolutePath();
    ClaimPackage package(*m_register, *m_services.folders, printedCaptions(), m_services.paper);
    const int files = package.write(details, *path);
    // The history shows the package at once.
    showSelection();
    m_services.messages->show(QStringLiteral("The claim package of %1 was exported to the folder \"%2\" (%3 files).")
                                  .arg(described(*draft), QDir::toNativeSeparators(*path))
                                  .arg(files));
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
