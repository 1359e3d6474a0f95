#pragma once

#include "register/DraftSummary.h"

#include <QAbstractTableModel>
#include <QDate>
#include <limits>
#include <vector>

class DraftRegister;

// The register's drafts as a table: newest first until sorted otherwise,
// narrowed by a search text and a date range. A long list comes up at once:
// the drafts are fetched page by page (the first page at once, the others
// through fetchMore()), and the payors stay sealed until a row is shown or
// openPayors() gets to them. A search never waits for them: it narrows the
// drafts by what is open already (every value but a sealed payor), and a
// draft whose payor matches joins the rows, in its place, once openPayors()
// has opened it; it narrows the later pages as they come. Sorting fetches
// every page.
class DraftListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Printed, CheckNumber, Payor, Payee, Amount, Status, Destination, Account, ColumnCount };

    explicit DraftListModel(QObject* parent = nullptr);

    // Each draft fetched opens its sealed values but the payor (about a tenth
    // of a millisecond each): the view's pages are small, so that a key
    // pressed while one is fetched waits little.
    static constexpr int PageSize = 200;

    // Shows the drafts of `source`, its first `firstPage` drafts at once.
    void setSource(DraftRegister& source, int firstPage = 200);
    // Fetches the next page of drafts; true once every draft is here.
    bool fetchPage(int count = PageSize);
    void fetchAll();
    bool allFetched() const { return m_allFetched; }

    // Shows only the drafts whose payor, payee, check number, amount or the
    // account's last four digits hold `text` (case aside), and whose printed
    // day (local time) is within `from` and `to`; a null date leaves that
    // end open.
    void setSearch(const QString& text);
    void setDateRange(const QDate& from, const QDate& to);

    // Opens up to `count` more payors; true once all are open. Drafts that
    // the search finds by their payor join the rows shown.
    bool openPayors(int count);
    // How many of the drafts here have their payor open, in the order openPayors() takes them.
    int openedCount() const { return m_nextSealed; }
    // Whether a search text narrows the list.
    bool searching() const { return !m_search.isEmpty(); }

    // A shown row's draft; the shown drafts in their order.
    const DraftSummary& draftAt(int row) const;
    std::vector<DraftSummary> shownDrafts() const;
    int totalCount() const { return int(m_rows.size()); }
    // The shown row of the draft, -1 when it is not shown.
    int rowOf(DraftId draft) const;

    // The drafts whose payor, opened so far, does not open: it shows as
    // DraftRegister::DamagedValue.
    const std::vector<DraftSummary>& damagedDrafts() const { return m_damaged; }

    // A command changed the draft's status.
    void setStatus(DraftId draft, DraftStatus status);
    // A draft recorded or changed since the list came up: a new one takes its
    // place in the order shown, a listed one its new status. The rows are
    // laid out again only for a new draft that is shown.
    void takeDraft(const DraftSummary& draft);

    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

Q_SIGNALS:
    // A page the view asked for could not be read: the reason, for the merchant.
    void failed(const QString& message);

private:
    struct Row {
        DraftSummary draft;
        QString payor;
        QString searchText; // lower case: the values in clear, and the payor once it is open
        bool payorOpen = false;
    };

    void openPayor(Row& row) const;
    // Lays the shown rows out again, with those of `found` (row numbers in
    // m_rows, none shown yet) in their places; the selection stays on its drafts.
    void showAlso(std::vector<int> found);
    // Each row's place in m_order, after m_order changed.
    void rankRows();
    bool accepts(const Row& row) const;
    void refilter();
    // Orders every row by the latest sort (newest first before any).
    void order();
    void append(std::vector<DraftSummary> drafts);
    QString text(const Row& row, int column) const;

    DraftRegister* m_source = nullptr;
    mutable std::vector<Row> m_rows;
    std::vector<int> m_order; // every row, in the order shown
    std::vector<int> m_shown; // the rows shown, in that order
    std::vector<int> m_rank;  // each row's place in m_order
    QString m_search;
    QDate m_from;
    QDate m_to;
    // The range as times: from its first moment, before the moment after it.
    qint64 m_fromMsecs = std::numeric_limits<qint64>::min();
    qint64 m_toMsecs = std::numeric_limits<qint64>::max();
    int m_nextSealed = 0;  // openPayors() goes on from here
    int m_sortColumn = -1; // none: in the order recorded, newest first
    Qt::SortOrder m_sortOrder = Qt::DescendingOrder;
    mutable std::vector<DraftSummary> m_damaged;
    bool m_allFetched = true;
};
