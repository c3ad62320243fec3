// The ADO-like row set: one statement, opened read-only or updatable, walked with MoveNext,
// fields read and assigned by name (without regard to case), rows added or changed with Update.
#pragma once

#include "platform/ado/Connection.h"
#include "platform/text/AsciiText.h"

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::ado {

enum CursorTypeEnum { adOpenUnspecified = -1, adOpenForwardOnly = 0, adOpenKeyset = 1 };
enum LockTypeEnum {
    adLockUnspecified = -1,
    adLockReadOnly = 1,
    adLockPessimistic = 2,
    adLockOptimistic = 3
};

class Recordset;

class Field {
  public:
    const std::string& Name() const { return *name_; }
    const ado::Value& Value() const;
    void SetValue(const ado::Value& value); // raises StoreError on a read-only row set
    Field& operator=(const ado::Value& value) {
        SetValue(value);
        return *this;
    }

  private:
    friend class Recordset;
    // The name is the row set's own column name: a Field is valid while its row set is open.
    Field(Recordset& owner, int column, const std::string& name)
        : owner_(&owner), column_(column), name_(&name) {}
    Recordset* owner_;
    int column_;
    const std::string* name_;
};

class Recordset {
  public:
    Recordset() = default;
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Keyset with pessimistic or optimistic lock makes the rows updatable (a single-table select).
    void Open(const std::string& sql, Connection& connection, int cursorType = adOpenUnspecified,
              int lockType = adLockUnspecified);
    void Close();
    bool IsOpen() const { return open_; }

    bool IsEOF() const;
    void MoveNext();
    void MoveFirst();
    long RecordCount() const;

    // Raises StoreError when no column has that name.
    Field Fields(const std::string& name);
    Field Fields(const char* name); // a literal name needs no string built per row

    Field Fields(int index);
    int FieldCount() const;
    // A statement that yields no columns runs to its end in Open; these are the rows it changed.
    std::int64_t RecordsAffected() const { return affected_; }

    void AddNew();
    void Update();
    // Drops the assignments not yet saved by Update.
    void CancelUpdate();
    // Deletes the current row from its table; the position stays until the next move.
    void Delete();
    bool IsUpdatable() const { return updatable_; }

  private:
    friend class Field;
    void requireOpen() const;
    void requireSameStore() const;
    void advanceStream();
    void drainStream() const;
    void requireRow() const;
    void requireUpdatable(const std::string& what) const;
    // The streamed read's current row is served inline; everything else takes the checked path.
    const ado::Value& fieldValue(int column) const {
        if (streamed_ && open_ && !eof_) return row_[static_cast<std::size_t>(column)];
        return checkedFieldValue(column);
    }
    const ado::Value& checkedFieldValue(int column) const;
    void setField(int column, const ado::Value& value);
    std::vector<ado::Value> reread(const ado::Value& identity);
    int columnIndex(std::string_view name) const;
    Field fieldNamed(std::string_view name);
    void refreshRow();

    Connection* connection_ = nullptr;
    ResultSet result_;
    std::size_t position_ = 0;
    bool open_ = false;
    bool updatable_ = false;
    // The row being edited: a new row (AddNew) or the current one; assigned columns only.
    std::optional<std::vector<std::optional<ado::Value>>> pending_;
    bool pendingIsNew_ = false;
    std::vector<bool> deleted_;
    std::vector<bool> stale_;    // saved rows not yet read back from the store
    std::string selectList_;     // columns of the select, to read a saved row back
    std::string readOnlyReason_; // why assignments are refused, for the error message
    std::string sql_;
    std::uint64_t openSerial_ = 0;
    mutable std::size_t lastField_ = 0; // readers ask for fields in the same order every row
    // Read-only sets stream: the current row, rows read ahead (by RecordCount), the rest.
    bool streamed_ = false;
    mutable std::unique_ptr<RowCursor> cursor_;
    mutable std::deque<std::vector<ado::Value>> ahead_;
    std::vector<ado::Value> row_;
    std::size_t passed_ = 0; // rows before the current one
    bool eof_ = false;
    std::int64_t affected_ = 0;
};

inline const ado::Value& Field::Value() const {
    return owner_->fieldValue(column_);
}

// Readers ask for the same fields in the same order on every row: the field after the last one
// found (the first after the last), in any letter case, is answered here without the search.
inline Field Recordset::Fields(const char* name) {
    const std::size_t count = result_.columns.size();
    const std::size_t next = lastField_ + 1 < count ? lastField_ + 1 : 0;
    if (open_ && name && next < count &&
        (result_.columns[next] == name || text::iequals(result_.columns[next], name))) {
        lastField_ = next;
        return Field(*this, static_cast<int>(next), result_.columns[next]);
    }
    return fieldNamed(name ? name : "");
}

} // namespace velmora::ado
