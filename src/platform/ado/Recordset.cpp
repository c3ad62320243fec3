// The ADO-like row set: the statement's rows are read at Open and walked in memory; changes are
// written through the backend by row identity and the saved row is read back from the store.
#include "platform/ado/Recordset.h"

#include "platform/ado/StatementText.h"

#include <cctype>

namespace velmora::ado {

namespace {

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && std::tolower(static_cast<unsigned char>(a[i])) !=
                                std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

const char* const noCurrentRecord = "Either BOF or EOF is True, or the current record has been "
                                    "deleted. Requested operation requires a current record.";

} // namespace

const ado::Value& Field::Value() const {
    return owner_->fieldValue(column_);
}

void Field::SetValue(const ado::Value& value) {
    owner_->setField(column_, value);
}

Recordset::~Recordset() {
    try {
        Close();
    } catch (...) {
    }
}

void Recordset::Open(const std::string& sql, Connection& connection, int cursorType, int lockType) {
    if (open_)
        throw StoreError("Operation is not allowed when the object is open: the row set is "
                         "already open; close it before opening another statement");
    Backend& backend = connection.backend();
    const bool wantsChanges = cursorType >= adOpenKeyset &&
                              (lockType == adLockPessimistic || lockType == adLockOptimistic);
    ResultSet result;
    std::string selectList;
    std::string reason;
    if (wantsChanges) {
        const SelectShape shape = analyzeSelect(sql);
        if (shape.updatable) {
            result = backend.query(sql, true);
            selectList = shape.selectList;
        } else {
            // Aggregates such as "select max(access) ..." are opened keyset too; they stay
            // readable and refuse changes with the reason.
            result = backend.query(sql, false);
            reason = shape.reason;
        }
    } else {
        result = backend.query(sql, false);
        reason = "it was opened read-only; open it with a keyset cursor and a pessimistic or "
                 "optimistic lock to change rows";
    }
    connection_ = &connection;
    result_ = std::move(result);
    updatable_ = reason.empty();
    selectList_ = std::move(selectList);
    readOnlyReason_ = std::move(reason);
    sql_ = sql;
    deleted_.assign(result_.rows.size(), false);
    position_ = 0;
    pending_.reset();
    pendingIsNew_ = false;
    open_ = true;
}

void Recordset::Close() {
    // Unsaved assignments are dropped, as when the row set is released without Update.
    pending_.reset();
    pendingIsNew_ = false;
    result_ = ResultSet{};
    deleted_.clear();
    selectList_.clear();
    readOnlyReason_.clear();
    sql_.clear();
    connection_ = nullptr;
    position_ = 0;
    open_ = false;
    updatable_ = false;
}

void Recordset::requireOpen() const {
    if (!open_)
        throw StoreError("Operation is not allowed when the object is closed: the row set is not "
                         "open");
}

void Recordset::requireRow() const {
    requireOpen();
    if (position_ >= result_.rows.size() || deleted_[position_]) throw StoreError(noCurrentRecord);
}

void Recordset::requireUpdatable(const std::string& what) const {
    requireOpen();
    if (!updatable_)
        throw StoreError(what + " is not allowed: the row set cannot be changed because " +
                         readOnlyReason_ + " (statement: " + statementForMessage(sql_) + ")");
}

bool Recordset::IsEOF() const {
    requireOpen();
    if (pending_ && pendingIsNew_) return false;
    return position_ >= result_.rows.size();
}

void Recordset::MoveNext() {
    requireOpen();
    // Moving away saves what was assigned, as an ADO row set does.
    if (pending_) Update();
    if (position_ >= result_.rows.size()) throw StoreError(noCurrentRecord);
    ++position_;
}

void Recordset::MoveFirst() {
    requireOpen();
    if (pending_) Update();
    position_ = 0;
}

long Recordset::RecordCount() const {
    requireOpen();
    long count = 0;
    for (bool gone : deleted_)
        count += gone ? 0 : 1;
    return count;
}

int Recordset::columnIndex(const std::string& name) const {
    for (std::size_t i = 0; i < result_.columns.size(); ++i)
        if (sameName(result_.columns[i], name)) return static_cast<int>(i);
    return -1;
}

Field Recordset::Fields(const std::string& name) {
    requireOpen();
    const int index = columnIndex(name);
    if (index < 0)
        throw StoreError("Item cannot be found in the collection corresponding to the requested "
                         "name or ordinal: no field '" +
                         name + "'");
    return Field(*this, index, result_.columns[static_cast<std::size_t>(index)]);
}

Field Recordset::Fields(int index) {
    requireOpen();
    if (index < 0 || index >= FieldCount())
        throw StoreError("Item cannot be found in the collection corresponding to the requested "
                         "name or ordinal: no field number " +
                         std::to_string(index) + " among " + std::to_string(FieldCount()));
    return Field(*this, index, result_.columns[static_cast<std::size_t>(index)]);
}

int Recordset::FieldCount() const {
    requireOpen();
    return static_cast<int>(result_.columns.size());
}

const ado::Value& Recordset::fieldValue(int column) const {
    requireOpen();
    const auto c = static_cast<std::size_t>(column);
    if (pending_) {
        if (const auto& assigned = (*pending_)[c]) return *assigned;
        if (pendingIsNew_) {
            static const ado::Value unassigned;
            return unassigned;
        }
    }
    requireRow();
    return result_.rows[position_][c];
}

void Recordset::setField(int column, const ado::Value& value) {
    requireUpdatable("Assigning field '" + result_.columns[static_cast<std::size_t>(column)] + "'");
    if (!pending_) {
        requireRow();
        pending_.emplace(result_.columns.size());
        pendingIsNew_ = false;
    }
    (*pending_)[static_cast<std::size_t>(column)] = value;
}

void Recordset::AddNew() {
    requireUpdatable("AddNew");
    if (pending_) Update();
    pending_.emplace(result_.columns.size());
    pendingIsNew_ = true;
}

void Recordset::CancelUpdate() {
    requireOpen();
    pending_.reset();
    pendingIsNew_ = false;
}

std::vector<ado::Value> Recordset::reread(std::int64_t rowid) {
    SelectShape shape;
    shape.table = result_.table;
    shape.selectList = selectList_;
    ResultSet again = connection_->backend().query(rowReread(shape, rowid), false);
    if (again.rows.empty())
        throw StoreError("The saved row " + std::to_string(rowid) + " of " + result_.table +
                         " cannot be read back");
    return std::move(again.rows.front());
}

void Recordset::Update() {
    requireOpen();
    if (!pending_) return;
    std::vector<std::string> columns;
    std::vector<ado::Value> values;
    for (std::size_t i = 0; i < pending_->size(); ++i) {
        if ((*pending_)[i]) {
            columns.push_back(result_.columns[i]);
            values.push_back(*(*pending_)[i]);
        }
    }
    Backend& backend = connection_->backend();
    // On failure the assignments stay pending, so the caller can correct and retry.
    const bool isNew = pendingIsNew_;
    std::int64_t rowid = isNew ? 0 : result_.rowids[position_];
    if (isNew)
        rowid = backend.insertRow(result_.table, columns, values);
    else if (!columns.empty())
        backend.updateRow(result_.table, rowid, columns, values);
    // Saved: from here on a retry would write the row twice, so nothing stays pending.
    std::vector<ado::Value> row(result_.columns.size());
    if (!isNew) row = result_.rows[position_];
    for (std::size_t i = 0; i < pending_->size(); ++i)
        if ((*pending_)[i]) row[i] = *(*pending_)[i];
    pending_.reset();
    pendingIsNew_ = false;
    if (isNew) {
        result_.rows.push_back(std::move(row));
        result_.rowids.push_back(rowid);
        deleted_.push_back(false);
        position_ = result_.rows.size() - 1;
    } else if (!columns.empty()) {
        result_.rows[position_] = std::move(row);
    } else {
        return;
    }
    // The store's view of the row: defaults filled in, quoted numbers turned into numbers.
    result_.rows[position_] = reread(rowid);
}

void Recordset::Delete() {
    requireUpdatable("Delete");
    if (pending_ && pendingIsNew_) {
        pending_.reset();
        pendingIsNew_ = false;
        return;
    }
    requireRow();
    connection_->backend().deleteRow(result_.table, result_.rowids[position_]);
    deleted_[position_] = true;
    pending_.reset();
}

} // namespace velmora::ado
