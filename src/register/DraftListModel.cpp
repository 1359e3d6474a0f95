#include "register/DraftListModel.h"

#include "register/BankNumbers.h"
#include "register/DraftRegister.h"
#include "register/RegisterError.h"
#include "register/RegisterTexts.h"

#include <algorithm>
#include <numeric>

namespace {

QDateTime printedTime(const DraftSummary& draft)
{
    return QDateTime::fromMSecsSinceEpoch(draft.recordedAt, Qt::UTC);
}

// The amount as plain figures ("1234.56"), so that a search finds it
// however it was typed.
QString plainAmount(const DraftSummary& draft)
{
    if (!draft.amountCents)
        return {};
    return QStringLiteral("%1.%2").arg(*draft.amountCents / 100).arg(*draft.amountCents % 100, 2, 10, QLatin1Char('0'));
}

// What a search finds of a draft before its payor is open, in lower case.
QString clearSearchText(const DraftSummary& draft)
{
    const QChar separator(0x1f);
    return (draft.payee + separator + draft.checkNumber + separator + draft.amount + separator + plainAmount(draft) +
            separator + draft.accountLastFour)
        .toLower();
}

// Check numbers in number order where both are numbers.
int compareNumbers(const QString& a, const QString& b)
{
    bool aNumber = false;
    bool bNumber = false;
    const qlonglong x = a.toLongLong(&aNumber);
    const qlonglong y = b.toLongLong(&bNumber);
    if (aNumber && bNumber)
        return x < y ? -1 : x > y ? 1 : 0;
    if (aNumber != bNumber)
        return aNumber ? -1 : 1;
    return a.compare(b, Qt::CaseInsensitive);
}

} // namespace

DraftListModel::DraftListModel(QObject* parent) : QAbstractTableModel(parent) {}

void DraftListModel::setSource(DraftRegister& source, int firstPage)
{
    beginResetModel();
    m_source = &source;
    m_rows.clear();
    m_order.clear();
    m_shown.clear();
    m_rank.clear();
    m_nextSealed = 0;
    m_damaged.clear();
    m_allFetched = false;
    m_sortColumn = -1;
    endResetModel();
    fetchPage(firstPage);
}

bool DraftListModel::fetchPage(int count)
{
    if (m_allFetched || !m_source)
        return true;
    const DraftId before = m_rows.empty() ? 0 : m_rows.back().draft.id;
    std::vector<DraftSummary> page = m_source->drafts(before, count);
    m_allFetched = int(page.size()) < count;
    append(std::move(page));
    return m_allFetched;
}

void DraftListModel::fetchAll()
{
    // Large pages: the merchant asked for them all and waits anyway.
    while (!fetchPage(20000)) {
    }
}

void DraftListModel::append(std::vector<DraftSummary> drafts)
{
    // Before every page is here the rows are in the order fetched, so the
    // new ones go at the end. Their payors wait for openPayors(): a page
    // never stalls on them.
    std::vector<int> shown;
    for (DraftSummary& draft : drafts) {
        Row row;
        row.searchText = clearSearchText(draft);
        row.draft = std::move(draft);
        m_rows.push_back(std::move(row));
        const int index = int(m_rows.size()) - 1;
        m_rank.push_back(int(m_order.size()));
        m_order.push_back(index);
        if (accepts(m_rows.back()))
            shown.push_back(index);
    }
    if (shown.empty())
        return;
    beginInsertRows({}, int(m_shown.size()), int(m_shown.size() + shown.size()) - 1);
    m_shown.insert(m_shown.end(), shown.begin(), shown.end());
    endInsertRows();
}

bool DraftListModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && !m_allFetched;
}

void DraftListModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid())
        return;
    // The view asks: nothing may reach the event loop from here.
    try {
        fetchPage();
    } catch (const RegisterError& error) {
        m_allFetched = true;
        Q_EMIT failed(error.message());
    }
}

void DraftListModel::openPayor(Row& row) const
{
    if (row.payorOpen)
        return;
    row.payor = withoutTrailingSpaces(m_source->payor(row.draft));
    if (row.payor == DraftRegister::DamagedValue)
        m_damaged.push_back(row.draft);
    row.searchText = row.payor.toLower() + QChar(0x1f) + clearSearchText(row.draft);
    row.payorOpen = true;
}

bool DraftListModel::openPayors(int count)
{
    const int end = std::min(int(m_rows.size()), m_nextSealed + count);
    std::vector<int> found;
    for (; m_nextSealed < end; ++m_nextSealed) {
        Row& row = m_rows[std::size_t(m_nextSealed)];
        if (row.payorOpen)
            continue;
        const bool shown = accepts(row);
        openPayor(row);
        if (!shown && accepts(row))
            found.push_back(m_nextSealed);
    }
    if (!found.empty())
        showAlso(std::move(found));
    return m_nextSealed >= int(m_rows.size());
}

void DraftListModel::showAlso(std::vector<int> found)
{
    const auto byPlace = [this](int a, int b) { return m_rank[std::size_t(a)] < m_rank[std::size_t(b)]; };
    std::sort(found.begin(), found.end(), byPlace);
    std::vector<int> shown;
    shown.reserve(m_shown.size() + found.size());
    std::merge(m_shown.begin(), m_shown.end(), found.begin(), found.end(), std::back_inserter(shown), byPlace);
    // One new layout for the lot: inserting them one by one would move the rows below each time.
    Q_EMIT layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    for (const QModelIndex& index : before) {
        const int row = m_shown[std::size_t(index.row())];
        const auto place = std::lower_bound(shown.begin(), shown.end(), row, byPlace);
        after.append(this->index(int(place - shown.begin()), index.column()));
    }
    m_shown = std::move(shown);
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged();
}

void DraftListModel::rankRows()
{
    m_rank.assign(m_rows.size(), 0);
    for (std::size_t place = 0; place < m_order.size(); ++place)
        m_rank[std::size_t(m_order[place])] = int(place);
}

bool DraftListModel::accepts(const Row& row) const
{
    if (row.draft.recordedAt < m_fromMsecs || row.draft.recordedAt >= m_toMsecs)
        return false;
    return m_search.isEmpty() || row.searchText.contains(m_search);
}

void DraftListModel::refilter()
{
    // Sealed payors are searched as openPayors() opens them: a keystroke never waits for them all.
    beginResetModel();
    m_shown.clear();
    for (int index : m_order) {
        if (accepts(m_rows[std::size_t(index)]))
            m_shown.push_back(index);
    }
    endResetModel();
}

void DraftListModel::setSearch(const QString& text)
{
    const QString search = text.trimmed().toLower();
    if (search == m_search)
        return;
    m_search = search;
    refilter();
}

void DraftListModel::setDateRange(const QDate& from, const QDate& to)
{
    if (from == m_from && to == m_to)
        return;
    m_from = from;
    m_to = to;
    // Local days, so the moments that begin them follow the clock's changes.
    m_fromMsecs = from.isValid() ? from.startOfDay().toMSecsSinceEpoch() : std::numeric_limits<qint64>::min();
    m_toMsecs = to.isValid() ? to.addDays(1).startOfDay().toMSecsSinceEpoch() : std::numeric_limits<qint64>::max();
    refilter();
}

const DraftSummary& DraftListModel::draftAt(int row) const
{
    return m_rows[std::size_t(m_shown.at(std::size_t(row)))].draft;
}

std::vector<DraftSummary> DraftListModel::shownDrafts() const
{
    std::vector<DraftSummary> shown;
    shown.reserve(m_shown.size());
    for (int index : m_shown)
        shown.push_back(m_rows[std::size_t(index)].draft);
    return shown;
}

int DraftListModel::rowOf(DraftId draft) const
{
    for (std::size_t row = 0; row < m_shown.size(); ++row) {
        if (m_rows[std::size_t(m_shown[row])].draft.id == draft)
            return int(row);
    }
    return -1;
}

void DraftListModel::setStatus(DraftId draft, DraftStatus status)
{
    for (Row& row : m_rows) {
        if (row.draft.id == draft)
            row.draft.status = status;
    }
    const int shown = rowOf(draft);
    if (shown >= 0)
        Q_EMIT dataChanged(index(shown, Status), index(shown, Status));
}

int DraftListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int DraftListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString DraftListModel::text(const Row& row, int column) const
{
    const DraftSummary& draft = row.draft;
    switch (column) {
    case Printed:
        return RegisterTexts::dateTimeText(printedTime(draft));
    case CheckNumber:
        return draft.checkNumber;
    case Payor:
        openPayor(const_cast<Row&>(row));
        return row.payor;
    case Payee:
        return draft.payee;
    case Amount:
        return draft.amount;
    case Status:
        // A reprint is told apart from the draft it repeats.
        return draft.reprintOf > 0 ? RegisterTexts::statusName(draft.status) + QStringLiteral(", reprint")
                                   : RegisterTexts::statusName(draft.status);
    case Destination:
        return draft.destinationName;
    case Account:
        return BankNumbers::masked(draft.accountLastFour);
    default:
        return {};
    }
}

QVariant DraftListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_shown.size()))
        return {};
    const Row& row = m_rows[std::size_t(m_shown[std::size_t(index.row())])];
    if (role == Qt::DisplayRole)
        return text(row, index.column());
    if (role == Qt::AccessibleTextRole && index.column() == Account && !row.draft.accountLastFour.isEmpty())
        return QStringLiteral("ending in %1").arg(row.draft.accountLastFour);
    if (role == Qt::TextAlignmentRole && index.column() == Amount)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant DraftListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Printed:
        return QStringLiteral("Printed");
    case CheckNumber:
        return QStringLiteral("Check No.");
    case Payor:
        return QStringLiteral("Payor");
    case Payee:
        return QStringLiteral("Payee");
    case Amount:
        return QStringLiteral("Amount");
    case Status:
        return QStringLiteral("Status");
    case Destination:
        return QStringLiteral("Printer or File");
    case Account:
        return QStringLiteral("Account");
    default:
        return {};
    }
}

void DraftListModel::takeDraft(const DraftSummary& draft)
{
    if (!m_source)
        return;
    if (std::any_of(m_rows.begin(), m_rows.end(), [&](const Row& row) { return row.draft.id == draft.id; })) {
        setStatus(draft.id, draft.status);
        return;
    }
    // Newer than every fetched draft: it goes first in the order recorded.
    Row row;
    row.draft = draft;
    row.searchText = clearSearchText(draft);
    m_rows.insert(m_rows.begin(), std::move(row));
    ++m_nextSealed;
    for (int& index : m_order)
        ++index;
    for (int& index : m_shown)
        ++index;
    openPayor(m_rows.front());
    m_order.insert(m_order.begin(), 0);
    const bool shown = accepts(m_rows.front());
    if (shown)
        beginResetModel();
    if (m_sortColumn >= 0)
        order();
    rankRows();
    if (!shown)
        return;
    m_shown.clear();
    for (int index : m_order) {
        if (accepts(m_rows[std::size_t(index)]))
            m_shown.push_back(index);
    }
    endResetModel();
}

void DraftListModel::sort(int column, Qt::SortOrder order)
{
    if (!m_source)
        return;
    try {
        fetchAll();
    } catch (const RegisterError& error) {
        m_allFetched = true;
        Q_EMIT failed(error.message());
    }
    m_sortColumn = column;
    m_sortOrder = order;
    if (column == Payor)
        openPayors(int(m_rows.size()));
    beginResetModel();
    this->order();
    rankRows();
    m_shown.clear();
    for (int index : m_order) {
        if (accepts(m_rows[std::size_t(index)]))
            m_shown.push_back(index);
    }
    endResetModel();
}

void DraftListModel::order()
{
    const int column = m_sortColumn;
    const Qt::SortOrder order = m_sortOrder;
    const auto compare = [this, column](int a, int b) {
        const Row& x = m_rows[std::size_t(a)];
        const Row& y = m_rows[std::size_t(b)];
        switch (column) {
        case Printed:
            return x.draft.recordedAt < y.draft.recordedAt ? -1 : x.draft.recordedAt > y.draft.recordedAt ? 1 : 0;
        case CheckNumber:
            return compareNumbers(x.draft.checkNumber, y.draft.checkNumber);
        case Amount:
            if (x.draft.amountCents && y.draft.amountCents)
                return *x.draft.amountCents < *y.draft.amountCents ? -1 : *x.draft.amountCents > *y.draft.amountCents;
            if (x.draft.amountCents.has_value() != y.draft.amountCents.has_value())
                return x.draft.amountCents ? -1 : 1;
            return x.draft.amount.compare(y.draft.amount, Qt::CaseInsensitive);
        case Status:
            return RegisterTexts::statusName(x.draft.status).compare(RegisterTexts::statusName(y.draft.status));
        case Account:
            return x.draft.accountLastFour.compare(y.draft.accountLastFour);
        default:
            return text(x, column).compare(text(y, column), Qt::CaseInsensitive);
        }
    };
    // Newest first among equals, whichever way the column is sorted.
    std::iota(m_order.begin(), m_order.end(), 0);
    std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) {
        const int result = compare(a, b);
        return order == Qt::AscendingOrder ? result < 0 : result > 0;
    });
}
