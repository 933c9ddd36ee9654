#include "cookies/sources/CookieRows.h"

#include "cookies/FileTime.h"
#include "sqlite/CSqliteStatement.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

// The text of a column, and whether it was NULL.
CSharedText ReadText(CSqliteStatement& row, int column, std::uint8_t& nulls, std::uint8_t bit,
                     CTextPool& texts) {
    if (row.IsNull(column)) {
        nulls |= bit;
    }
    return texts.Share(row.GetText(column));
}

void BindText(CSqliteStatement& statement, int parameter, const std::wstring& value, bool null) {
    if (null) {
        statement.BindNull(parameter);
    } else {
        statement.Bind(parameter, value);
    }
}

} // namespace

std::wstring WideName(const char* name) {
    return std::wstring(name, name + std::strlen(name));
}

bool HasColumn(const std::vector<std::wstring>& columns, const char* name) {
    return name != nullptr &&
           std::find(columns.begin(), columns.end(), WideName(name)) != columns.end();
}

bool HasRowColumns(const CCookieTable& table, const std::vector<std::wstring>& columns) {
    const bool keyed = std::string(table.key) == "rowid" || HasColumn(columns, table.key);
    return keyed && HasColumn(columns, table.host) && HasColumn(columns, "name") &&
           HasColumn(columns, "path") && HasColumn(columns, table.created) &&
           HasColumn(columns, table.lastUsed) &&
           (!table.partitionRequired || HasColumn(columns, table.partition));
}

bool IsPartitioned(const CCookieTable& table, const std::vector<std::wstring>& columns) {
    return HasColumn(columns, table.partition);
}

std::string SelectRows(const CCookieTable& table, bool partitioned) {
    return std::string("SELECT ") + table.key + ", " + table.host + ", name, path, " +
           table.created + ", " + table.lastUsed + ", " + (partitioned ? table.partition : "''") +
           " FROM " + table.table;
}

CRefPtr<CCookie> CookieFromRow(CSqliteStatement& row, const CCookieTable& table, CookieKind kind,
                               const std::shared_ptr<const CBrowserStore>& store,
                               CTextPool& texts) {
    CRowIdentity identity;
    identity.key = row.GetInt64(0);
    identity.host = ReadText(row, 1, identity.nulls, CRowIdentity::HostNull, texts);
    identity.name = ReadText(row, 2, identity.nulls, CRowIdentity::NameNull, texts);
    identity.path = ReadText(row, 3, identity.nulls, CRowIdentity::PathNull, texts);
    if (row.IsNull(4)) {
        identity.nulls |= CRowIdentity::CreatedNull;
    }
    identity.created = row.GetInt64(4);
    identity.partition = ReadText(row, 6, identity.nulls, CRowIdentity::PartitionNull, texts);
    // A leading dot marks a domain cookie; it is no part of the host's name.
    std::wstring_view host = *identity.host;
    if (!host.empty() && host.front() == L'.') {
        host.remove_prefix(1);
    }
    const FILETIME created = FileTimeFromMicroseconds(identity.created, table.epoch);
    return CDatabaseCookie::Create(kind, store, texts.Share(host), created,
                                   FileTimeFromMicroseconds(row.GetInt64(5), table.epoch),
                                   std::move(identity));
}

std::string WhereIdentity(const CCookieTable& table, bool partitioned) {
    return std::string(" WHERE ") + table.key + " = ?1 AND " + table.host +
           " IS ?2 AND name IS ?3 AND path IS ?4 AND " + table.created + " IS ?5" +
           (partitioned ? std::string(" AND ") + table.partition + " IS ?6" : std::string());
}

void BindIdentity(CSqliteStatement& statement, const CRowIdentity& row, bool partitioned) {
    statement.Bind(1, row.key);
    BindText(statement, 2, *row.host, (row.nulls & CRowIdentity::HostNull) != 0);
    BindText(statement, 3, *row.name, (row.nulls & CRowIdentity::NameNull) != 0);
    BindText(statement, 4, *row.path, (row.nulls & CRowIdentity::PathNull) != 0);
    if ((row.nulls & CRowIdentity::CreatedNull) != 0) {
        statement.BindNull(5);
    } else {
        statement.Bind(5, row.created);
    }
    if (partitioned) {
        BindText(statement, 6, *row.partition, (row.nulls & CRowIdentity::PartitionNull) != 0);
    }
}

FILETIME FileTimeFromMicroseconds(std::int64_t microseconds, std::int64_t epoch) {
    if (microseconds <= 0) {
        return FILETIME{};
    }
    const std::uint64_t since1601 =
        static_cast<std::uint64_t>(microseconds) + static_cast<std::uint64_t>(epoch);
    if (since1601 > std::numeric_limits<std::uint64_t>::max() / 10) {
        return FILETIME{};
    }
    return ToFileTime(since1601 * 10);
}
