// The order of the rows: by the column the user sorted on, and where a new row goes.
#include "ui/CCookieBaseDlg.h"

#include "cookies/FileTime.h"
#include "ui/WaitCursor.h"

#include <algorithm>

namespace {

// Ordering of two numbers: the smaller first.
int Order(std::uint64_t first, std::uint64_t second) {
    if (first == second) {
        return 0;
    }
    return first < second ? -1 : 1;
}

CCookieDomain& DomainOf(LPARAM param) {
    return *reinterpret_cast<CCookieDomain*>(param);
}

} // namespace

void CCookieBaseDlg::SortByColumn(int column) {
    const CWaitCursor wait;
    if (column == m_sortColumn) {
        m_sortForward = !m_sortForward;
    } else {
        m_sortColumn = column;
        m_sortForward = true;
    }
    m_list.SortItems([this](LPARAM first, LPARAM second) {
        // Each row's domain is held while it is compared.
        const CRefPtr<CCookieDomain> one(&DomainOf(first));
        const CRefPtr<CCookieDomain> two(&DomainOf(second));
        return CompareRows(*one, *two);
    });
    ReadRowOrder();
}

void CCookieBaseDlg::ReadRowOrder() {
    for (int index = 0; index < GetRowCount(); ++index) {
        m_rows[static_cast<std::size_t>(index)] =
            reinterpret_cast<CCookieDomain*>(m_list.GetItemParam(index));
    }
}

int CCookieBaseDlg::CompareRows(CCookieDomain& first, CCookieDomain& second) const {
    int result = 0;
    switch (m_sortColumn) {
    case 0: {
        const int order = first.GetName().compare(second.GetName());
        result = order < 0 ? -1 : (order > 0 ? 1 : 0);
        break;
    }
    case 1:
        // The most recent first.
        result = -Order(ToUInt64(first.GetLastUsed()), ToUInt64(second.GetLastUsed()));
        break;
    case 2:
        result = -Order(ToUInt64(first.GetCreated()), ToUInt64(second.GetCreated()));
        break;
    case 3:
        result = Order(static_cast<std::uint16_t>(first.GetKinds()),
                       static_cast<std::uint16_t>(second.GetKinds()));
        break;
    default:
        result = Order(first.GetCookieCount(), second.GetCookieCount());
        break;
    }
    return m_sortForward ? result : -result;
}

int CCookieBaseDlg::FindInsertPosition(CCookieDomain& domain) const {
    // The first row the new domain does not sort after.
    const auto after = [&](CCookieDomain* row) {
        const CRefPtr<CCookieDomain> held(row);
        return CompareRows(domain, *held) > 0;
    };
    // Names never change, so while the key is the name the rows are in order and a binary
    // search finds the row the scan would. Times, kinds and counts may change while the rows
    // stand still: scan.
    const auto found = m_sortColumn == 0 ? std::partition_point(m_rows.begin(), m_rows.end(), after)
                                         : std::find_if_not(m_rows.begin(), m_rows.end(), after);
    return static_cast<int>(found - m_rows.begin());
}

int CCookieBaseDlg::FindRow(CCookieDomain& domain) const {
    auto row = m_rows.begin();
    if (m_sortColumn == 0) {
        // Rows of equal name follow each other from where the domain would be inserted.
        row += FindInsertPosition(domain);
        while (row != m_rows.end() && *row != &domain && CompareRows(domain, **row) == 0) {
            ++row;
        }
    } else {
        row = std::find(row, m_rows.end(), &domain);
    }
    return row != m_rows.end() && *row == &domain ? static_cast<int>(row - m_rows.begin()) : -1;
}
