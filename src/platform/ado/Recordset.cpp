// The ADO-like row set. Reads stream their rows from the store; updatable sets hold their rows
// with their identities, write changes by identity and read the saved row back.
#include "platform/ado/Recordset.h"

#include "platform/ado/StatementText.h"
#include "platform/text/AsciiText.h"

namespace velmora::ado {

namespace {

// Field names as written in the statement match first time; the case-blind test is the fallback.
bool sameName(const std::string& a, std::string_view b) {
    return a == b || text::iequals(a, b);
}

const char* const noCurrentRecord = "Either BOF or EOF is True, or the current record has been "
                                    "deleted. Requested operation requires a current record.";

} // namespace

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
    connection.noteStatement(sql);
    const bool wantsChanges = cursorType >= adOpenKeyset &&
                              (lockType == adLockPessimistic || lockType == adLockOptimistic);
    const SelectShape shape = wantsChanges ? analyzeSelect(sql) : SelectShape{};
    ResultSet result;
    std::unique_ptr<RowCursor> cursor;
    std::string reason;
    if (wantsChanges && shape.updatable) {
        result = logFailure(sql, [&] { return backend.queryUpdatable(sql, shape); });
    } else {
        cursor = logFailure(sql, [&] { return backend.openCursor(sql); });
        result.columns = cursor->columns();
        // Aggregates such as "select max(access) ..." are opened keyset too; they stay
        // readable and refuse changes with the reason.
        reason = wantsChanges ? shape.reason
                              : "it was opened read-only; open it with a keyset cursor and a "
                                "pessimistic or optimistic lock to change rows";
    }
    connection_ = &connection;
    openSerial_ = connection.OpenSerial();
    result_ = std::move(result);
    updatable_ = reason.empty();
    selectList_ = updatable_ ? shape.selectList : std::string();
    readOnlyReason_ = std::move(reason);
    sql_ = sql;
    deleted_.assign(result_.rows.size(), false);
    stale_.assign(result_.rows.size(), false);
    for (std::size_t i = 0; i < result_.rows.size(); ++i)
        stale_[i] = result_.rows[i].size() != result_.columns.size();
    position_ = 0;
    pending_.reset();
    pendingIsNew_ = false;
    streamed_ = cursor != nullptr;
    cursor_ = std::move(cursor);
    ahead_.clear();
    passed_ = 0;
    eof_ = false;
    open_ = true;
    if (streamed_) {
        row_.assign(result_.columns.size(), ado::Value());
        try {
            eof_ = !cursor_->next(row_);
        } catch (...) {
            Close();
            throw;
        }
        if (result_.columns.empty()) affected_ = cursor_->affected();
        if (eof_) cursor_.reset();
    }
}

void Recordset::Close() {
    // Unsaved assignments are dropped, as when the row set is released without Update.
    pending_.reset();
    pendingIsNew_ = false;
    result_ = ResultSet{};
    deleted_.clear();
    stale_.clear();
    selectList_.clear();
    readOnlyReason_.clear();
    sql_.clear();
    cursor_.reset();
    ahead_.clear();
    row_.clear();
    streamed_ = false;
    passed_ = 0;
    eof_ = false;
    affected_ = 0;
    connection_ = nullptr;
    position_ = 0;
    open_ = false;
    updatable_ = false;
}

void Recordset::requireSameStore() const {
    if (!connection_->IsOpen() || connection_->OpenSerial() != openSerial_)
        throw StoreError("The connection is closed: the row set's store was closed after the row "
                         "set was opened");
}

void Recordset::advanceStream() {
    if (!ahead_.empty()) {
        row_ = std::move(ahead_.front());
        ahead_.pop_front();
        return;
    }
    if (cursor_) {
        requireSameStore();
        if (cursor_->next(row_)) return;
        cursor_.reset();
    }
    eof_ = true;
}

// Counting a streamed set reads the rest ahead; the position does not move.
void Recordset::drainStream() const {
    while (cursor_) {
        requireSameStore();
        std::vector<ado::Value> row(result_.columns.size());
        if (cursor_->next(row))
            ahead_.push_back(std::move(row));
        else
            cursor_.reset();
    }
}

void Recordset::requireOpen() const {
    if (!open_)
        throw StoreError("Operation is not allowed when the object is closed: the row set is not "
                         "open");
}

void Recordset::requireRow() const {
    requireOpen();
    if (streamed_ ? eof_ : (position_ >= result_.rows.size() || deleted_[position_]))
        throw StoreError(noCurrentRecord);
}

void Recordset::requireUpdatable(const std::string& what) const {
    requireOpen();
    if (!updatable_)
        throw StoreError(what + " is not allowed: the row set cannot be changed because " +
                         readOnlyReason_ + " (statement: " + statementForMessage(sql_) + ")");
}

bool Recordset::IsEOF() const {
    requireOpen();
    if (streamed_) return eof_;
    if (pending_ && pendingIsNew_) return false;
    return position_ >= result_.rows.size();
}

void Recordset::MoveNext() {
    requireOpen();
    if (streamed_) {
        if (eof_) throw StoreError(noCurrentRecord);
        advanceStream();
        ++passed_;
        return;
    }
    // Moving away saves what was assigned, as an ADO row set does.
    if (pending_) Update();
    if (position_ >= result_.rows.size()) throw StoreError(noCurrentRecord);
    ++position_;
}

void Recordset::MoveFirst() {
    requireOpen();
    if (streamed_) {
        if (passed_ == 0) return;
        // A forward-only read starts over by running its statement again.
        requireSameStore();
        std::unique_ptr<RowCursor> again = connection_->backend().openCursor(sql_);
        cursor_ = std::move(again);
        ahead_.clear();
        passed_ = 0;
        eof_ = false;
        advanceStream();
        return;
    }
    if (pending_) Update();
    position_ = 0;
}

long Recordset::RecordCount() const {
    requireOpen();
    if (streamed_) {
        drainStream();
        return static_cast<long>(passed_ + (eof_ ? 0 : 1) + ahead_.size());
    }
    long count = 0;
    for (bool gone : deleted_)
        count += gone ? 0 : 1;
    return count;
}

int Recordset::columnIndex(std::string_view name) const {
    const std::vector<std::string>& columns = result_.columns;
    // The field after the last one found (the first after the last) is the likely one;
    // otherwise search them all.
    const std::size_t next = lastField_ + 1 < columns.size() ? lastField_ + 1 : 0;
    if (next < columns.size() && sameName(columns[next], name)) {
        lastField_ = next;
        return static_cast<int>(next);
    }
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (sameName(columns[i], name)) {
            lastField_ = i;
            return static_cast<int>(i);
        }
    }
    return -1;
}

Field Recordset::fieldNamed(std::string_view name) {
    requireOpen();
    const int index = columnIndex(name);
    if (index < 0)
        throw StoreError("Item cannot be found in the collection corresponding to the requested "
                         "name or ordinal: no field '" +
                         std::string(name) + "'");
    return Field(*this, index, result_.columns[static_cast<std::size_t>(index)]);
}

Field Recordset::Fields(const std::string& name) {
    return fieldNamed(name);
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

const ado::Value& Recordset::checkedFieldValue(int column) const {
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
    if (streamed_) return row_[c];
    // A saved row is read back only when someone reads it: most writers never do.
    if (stale_[position_]) const_cast<Recordset*>(this)->refreshRow();
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

std::vector<ado::Value> Recordset::reread(const ado::Value& identity) {
    requireSameStore();
    std::optional<std::vector<ado::Value>> row =
        connection_->backend().readRow(result_.table, selectList_, identity);
    if (!row)
        throw StoreError("The saved row " + identity.text() + " of " + result_.table +
                         " cannot be read back");
    return std::move(*row);
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
    requireSameStore();
    Backend& backend = connection_->backend();
    // On failure the assignments stay pending, so the caller can correct and retry.
    const bool isNew = pendingIsNew_;
    ado::Value identity = isNew ? ado::Value() : result_.identities[position_];
    logFailure((isNew ? "add a row to " : "update a row of ") + result_.table, [&] {
        if (isNew)
            identity = backend.insertRow(result_.table, columns, values);
        else if (!columns.empty())
            backend.updateRow(result_.table, identity, columns, values);
    });
    // Saved: from here on a retry would write the row twice, so nothing stays pending.
    std::vector<ado::Value> row(result_.columns.size());
    // A row not read yet keeps only the assigned fields; the whole row is read back when used.
    if (!isNew && !stale_[position_]) row = result_.rows[position_];
    for (std::size_t i = 0; i < pending_->size(); ++i)
        if ((*pending_)[i]) row[i] = *(*pending_)[i];
    pending_.reset();
    pendingIsNew_ = false;
    if (isNew) {
        result_.rows.push_back(std::move(row));
        result_.identities.push_back(std::move(identity));
        deleted_.push_back(false);
        stale_.push_back(false);
        position_ = result_.rows.size() - 1;
    } else if (!columns.empty()) {
        result_.rows[position_] = std::move(row);
    } else {
        return;
    }
    // The store's view of the row (defaults filled in, quoted numbers turned into numbers) is
    // read back on the next read of this row.
    stale_[position_] = true;
}

void Recordset::refreshRow() {
    result_.rows[position_] = reread(result_.identities[position_]);
    stale_[position_] = false;
}

void Recordset::Delete() {
    requireUpdatable("Delete");
    if (pending_ && pendingIsNew_) {
        pending_.reset();
        pendingIsNew_ = false;
        return;
    }
    requireRow();
    requireSameStore();
    logFailure("delete a row of " + result_.table, [&] {
        connection_->backend().deleteRow(result_.table, result_.identities[position_]);
    });
    deleted_[position_] = true;
    pending_.reset();
}

} // namespace velmora::ado
