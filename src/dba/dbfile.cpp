// DBFile and CItem::DBWrite: the file object's record operations, handed to
// the database they belong to. Database layer.
#include "dba/database.h"
#include "dba/database_impl.h"

namespace dba {

namespace {

const FileBinding& Bound(const std::shared_ptr<FileBinding>& binding) {
  if (!binding) throw DbaError(kErrNotBound, "Le fichier n'est pas ouvert (DBOpen).");
  return *binding;
}

}  // namespace

CItem DBFile::DBRead(std::string_view key) const {
  const FileBinding& f = Bound(binding_);
  return CItem(binding_, std::string(key), f.db->impl().Read(f, key));
}

std::vector<CItem> DBFile::DBReadMany(const std::vector<std::string>& keys) const {
  const FileBinding& f = Bound(binding_);
  std::vector<std::string> bodies = f.db->impl().ReadMany(f, keys);
  std::vector<CItem> records;
  records.reserve(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    records.push_back(CItem(binding_, keys[i], std::move(bodies[i])));
  }
  return records;
}

CItem DBFile::DBNew(std::string_view key) const {
  Bound(binding_);
  return CItem(binding_, std::string(key), std::string());
}

int DBFile::DBDelete(std::string_view key) const {
  const FileBinding& f = Bound(binding_);
  return f.db->impl().Delete(f, key);
}

CItem DBFile::ReadLocked(std::string_view key) const {
  const FileBinding& f = Bound(binding_);
  return CItem(binding_, std::string(key), f.db->impl().ReadLocked(f, key));
}

void DBFile::Release(std::string_view key) const {
  const FileBinding& f = Bound(binding_);
  f.db->impl().Release(f, key);
}

void DBFile::ForEachRecord(
    const std::function<void(std::string_view key, std::string_view text)>& visit) const {
  const FileBinding& f = Bound(binding_);
  f.db->impl().Scan(f, visit);
}

const std::string& DBFile::Name() const {
  static const std::string kNone;
  return binding_ ? binding_->name : kNone;
}

void CItem::DBWrite() const {
  if (!file_) {
    throw DbaError(kErrNotBound,
                   "L'enregistrement n'appartient à aucun fichier (DBRead ou DBNew).");
  }
  file_->db->impl().Write(*file_, key_, text_);
}

}  // namespace dba
