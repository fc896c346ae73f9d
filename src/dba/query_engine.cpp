#include "dba/query_engine.h"
#include "dba/dba_error.h"
namespace dba {
CItem RunSelect(DatabaseImpl&, std::string_view, int*) { throw DbaError(kErrQuerySyntax, "todo"); }
}
