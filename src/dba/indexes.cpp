// Secondary indexes: one row of `index_entries` per value and subvalue of an
// indexed attribute (an empty attribute gives one "" row), so that an index
// finds exactly the records a scan would match. Kept in step by every write,
// inside the write's own transaction. Database layer.
#include "dba/sqlite_database.h"
#include "dba/record_text.h"

namespace dba {

const std::vector<int>& SqliteDatabase::IndexedAttributes(std::int64_t fileId) {
  IndexCache& cache = indexCache_[fileId];
  // Under the write lock nobody else can add an index: the list read at the
  // start of this write transaction holds until its end.
  if (Writing() && cache.serial == writeSerial_) return cache.attributes;
  cache.attributes.clear();
  store::Step s(*conn_, store::Sql::kIndexedAttributes);
  s.Int(1, fileId);
  while (s.Next()) cache.attributes.push_back(static_cast<int>(s.ColInt(0)));
  cache.serial = Writing() ? writeSerial_ : 0;
  return cache.attributes;
}

void SqliteDatabase::UpdateIndexEntries(std::int64_t fileId, std::string_view key,
                                        std::string_view oldBody, std::string_view newBody,
                                        bool hadOld, bool hasNew) {
  for (const int attribute : IndexedAttributes(fileId)) {
    const std::string_view before = text::Field(oldBody, kAttributeMark, attribute);
    const std::string_view after = text::Field(newBody, kAttributeMark, attribute);
    if (hadOld && hasNew && before == after) continue;  // the usual case of a rewrite
    if (hadOld) {
      store::Step del(*conn_, store::Sql::kDeleteEntry);
      text::ForEachPiece(before, [&](std::string_view piece) {
        del.Int(1, fileId).Int(2, attribute).Blob(3, piece).Text(4, key).Run();
      });
    }
    if (hasNew) {
      store::Step ins(*conn_, store::Sql::kInsertEntry);
      text::ForEachPiece(after, [&](std::string_view piece) {
        ins.Int(1, fileId).Int(2, attribute).Blob(3, piece).Text(4, key).Run();
      });
    }
  }
}

void SqliteDatabase::BuildIndex(std::int64_t fileId, int attribute) {
  store::Step(*conn_, store::Sql::kInsertIndex).Int(1, fileId).Int(2, attribute).Run();
  if (sqlite3_changes(conn_->handle()) == 0) return;  // the index exists already
  indexCache_.erase(fileId);
  store::Step scan(*conn_, store::Sql::kScanAll);
  scan.Int(1, fileId);
  store::Step ins(*conn_, store::Sql::kInsertEntry);
  while (scan.Next()) {
    const std::string_view key = scan.ColText(0);
    text::ForEachPiece(text::Field(scan.ColBlob(1), kAttributeMark, attribute),
                       [&](std::string_view piece) {
                         ins.Int(1, fileId).Int(2, attribute).Blob(3, piece).Text(4, key).Run();
                       });
  }
}

}  // namespace dba
