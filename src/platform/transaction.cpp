#include "platform/transaction.h"

#include <cassert>
#include <string>

namespace qv5 {

Transaction::Transaction(Database& db) : db_(db) {
    nested_ = db.InTransaction();
    if (nested_ || db.lock_table().empty()) {
        open_ = db.Exec(nested_ ? "SAVEPOINT step" : "BEGIN IMMEDIATE");
        return;
    }
    // A write statement that changes nothing takes the main file's write
    // lock (waiting as BEGIN IMMEDIATE would) and no other.
    open_ = db.Exec("BEGIN") && db.Exec("DELETE FROM main." + db.lock_table() + " WHERE 0");
    if (!open_ && db.InTransaction()) {
        const std::string error = db.LastError();
        db.Exec("ROLLBACK");
        db.NoteError(error);
    }
}

Transaction::~Transaction() {
    if (open_) Rollback();
}

bool Transaction::Commit() {
    if (!open_) return false;
    // Nothing else may end the transaction (or the one holding this
    // savepoint) while this object still holds it open.
    assert(db_.InTransaction());
    if (db_.Exec(nested_ ? "RELEASE step" : "COMMIT")) {
        open_ = false;
        return true;
    }
    Rollback();
    return false;
}

void Transaction::Rollback() {
    open_ = false;
    // Keep the failure's own text: the rollback may fail too (SQLite has
    // already undone a transaction that ran out of space, for instance).
    const std::string error = db_.LastError();
    if (nested_) {
        if (db_.Exec("ROLLBACK TO step")) db_.Exec("RELEASE step");
    } else if (db_.InTransaction()) {
        db_.Exec("ROLLBACK");
    }
    db_.NoteError(error);
}

}  // namespace qv5
