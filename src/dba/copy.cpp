// Copying a whole database into another (see copy.h). Database layer.
#include "dba/copy.h"

#include <algorithm>
#include <string>
#include <vector>

#include "dba/database_impl.h"
#include "dba/redact.h"

namespace dba {

CopySummary CopyDatabase(Database& from, Database& to) {
  const std::vector<std::string> files = from.Files();
  CopySummary s;
  Transaction t(to);  // the write lock first: nobody creates a file meanwhile
  const std::vector<std::string> present = to.Files();
  for (const std::string& name : files) {
    if (std::find(present.begin(), present.end(), name) != present.end()) {
      throw DbaError(kErrFileExists, "Le fichier « " + name + " » existe déjà dans « " +
                                         RedactSecrets(to.Path()) + " » : rien n'a été copié.");
    }
  }
  for (const std::string& name : files) {
    to.CreateFile(name);
    DBFile target = to.DBOpen(name);
    from.DBOpen(name).ForEachRecord([&](std::string_view key, std::string_view text) {
      CItem r = target.DBNew(key);
      r.setItem(std::string(text));
      r.DBWrite();
      ++s.records;
    });
    // Indexes last: built in one pass over the copied records.
    DatabaseImpl& source = from.impl();
    for (const int attribute : source.IndexedAttributes(source.FileId(name))) {
      to.CreateIndex(name, attribute);
      ++s.indexes;
    }
    ++s.files;
  }
  t.Commit();
  return s;
}

}  // namespace dba
