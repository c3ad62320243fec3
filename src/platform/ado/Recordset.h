// The ADO-like row set: one statement, opened read-only or updatable, walked with MoveNext,
// fields read and assigned by name (without regard to case), rows added or changed with Update.
#pragma once

#include "platform/ado/Connection.h"

#include <optional>
#include <string>
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
    const std::string& Name() const { return name_; }
    const ado::Value& Value() const;
    void SetValue(const ado::Value& value); // raises StoreError on a read-only row set
    Field& operator=(const ado::Value& value) {
        SetValue(value);
        return *this;
    }

  private:
    friend class Recordset;
    Field(Recordset& owner, int column, std::string name)
        : owner_(&owner), column_(column), name_(std::move(name)) {}
    Recordset* owner_;
    int column_;
    std::string name_;
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
    Field Fields(int index);
    int FieldCount() const;

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
    void requireRow() const;
    void requireUpdatable(const std::string& what) const;
    const ado::Value& fieldValue(int column) const;
    void setField(int column, const ado::Value& value);
    std::vector<ado::Value> reread(std::int64_t rowid);
    int columnIndex(const std::string& name) const;

    Connection* connection_ = nullptr;
    ResultSet result_;
    std::size_t position_ = 0;
    bool open_ = false;
    bool updatable_ = false;
    // The row being edited: a new row (AddNew) or the current one; assigned columns only.
    std::optional<std::vector<std::optional<ado::Value>>> pending_;
    bool pendingIsNew_ = false;
    std::vector<bool> deleted_;
    std::string selectList_;     // columns of the select, to read a saved row back
    std::string readOnlyReason_; // why assignments are refused, for the error message
    std::string sql_;
};

} // namespace velmora::ado
