// Runs a selection request (query sentence, file name, columns) against the
// records of one file, by scan or through an index. Database layer.
#pragma once

#include <string_view>

#include "dba/citem.h"

namespace dba {

class SqliteDatabase;

// The result record: attribute i is the i-th record selected, value k its
// k-th requested column. Throws kErrQuerySyntax or kErrFileNotFound.
CItem RunSelect(SqliteDatabase& db, std::string_view requestText, int* count);

}  // namespace dba
