// Database: opening, multivalue file administration, routines, and the entry
// to selections. Database layer.
#include "dba/database.h"

#include <algorithm>
#include <string>

#if MORVANEL_POSTGRESQL
#include "dba/pg_database.h"
#endif
#include "dba/sqlite_database.h"
#include "dba/query_parser.h"

namespace dba {

namespace {

bool IsMark(char c) { return c == kAttributeMark || c == kValueMark || c == kSubvalueMark; }

bool IsFileNameByte(unsigned char c) {
  // ASCII letters, digits, "_", ".", "-" and the bytes of non-ASCII UTF-8
  // letters (0x80-0xF7). Nothing that would end a word of a sentence.
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '.' || c == '-' || (c >= 0x80 && c <= 0xF7);
}

}  // namespace

void CheckKey(std::string_view key) {
  if (key.empty())
    throw DbaError(kErrBadArgument, "La clé d'un enregistrement ne peut pas être vide.");
  for (char c : key) {
    if (IsMark(c) || c == '\0') {
      throw DbaError(kErrBadArgument,
                     "La clé d'un enregistrement ne peut pas contenir de marque de séparation.");
    }
  }
}

void CheckFileName(std::string_view name) {
  constexpr std::size_t kMaxLength = 128;
  if (name.empty()) throw DbaError(kErrBadArgument, "Le nom de fichier est vide.");
  bool ok = name.size() <= kMaxLength;
  for (char c : name) ok = ok && IsFileNameByte(static_cast<unsigned char>(c));
  if (!ok) {
    throw DbaError(kErrBadArgument, "Nom de fichier invalide : « " + std::string(name) + " ».");
  }
}

bool IsServerUri(std::string_view path) {
  return path.starts_with("postgresql://") || path.starts_with("postgres://");
}

std::shared_ptr<Database> Database::Open(const std::string& path, const OpenOptions& options) {
  if (IsServerUri(path)) {
#if MORVANEL_POSTGRESQL
    return std::shared_ptr<Database>(new Database(OpenPostgres(path, options)));
#else
    // Never taken for a file name instead: that would make a file nobody
    // meant. Only the scheme is repeated, as the URI may hold a password.
    throw DbaError(kErrDatabaseNotFound,
                   "Cette version est construite sans PostgreSQL : une base « " +
                       path.substr(0, path.find("://") + 3) + " » ne peut pas être ouverte.");
#endif
  }
  auto connection = store::Connection::Open(path, options.create, options.busyTimeoutMs);
  return std::shared_ptr<Database>(
      new Database(std::make_unique<SqliteDatabase>(path, options, std::move(connection))));
}

#if !MORVANEL_POSTGRESQL
// Without the server backend every database is a file: there is no session
// to drop, as for a SQLite file in the full build.
void DropServerSession(Database&) {
  throw DbaError(kErrBadArgument,
                 "Cette base de données n'est pas sur un serveur : il n'y a pas de session à "
                 "couper.");
}
#endif

Database::Database(std::unique_ptr<DatabaseImpl> impl) : impl_(std::move(impl)) {}

Database::~Database() = default;

const std::string& Database::Path() const { return impl_->path(); }
std::uint64_t Database::RecordWrites() const { return impl_->recordWrites; }
std::uint64_t Database::Statements() const { return impl_->Statements(); }

DBFile Database::DBOpen(std::string_view fileName) {
  CheckFileName(fileName);
  auto binding = std::make_shared<FileBinding>();
  binding->db = shared_from_this();
  binding->name = std::string(fileName);
  binding->id = impl_->FileId(fileName);
  return DBFile(std::move(binding));
}

CItem Database::DBSelect(std::string_view requestText, std::string_view /*option*/, int* count) {
  return impl_->Select(requestText, count);
}

std::vector<CItem> Database::DBSelectMany(const std::vector<std::string>& requestTexts) {
  return impl_->SelectMany(requestTexts);
}

CItem Database::DBCall(std::string_view routineName, int& number, std::string_view parameter) {
  const auto it = impl_->routines.find(routineName);
  if (it == impl_->routines.end()) {
    throw DbaError(kErrUnknownRoutine,
                   "La routine « " + std::string(routineName) + " » n'existe pas.");
  }
  return it->second(*this, number, parameter);
}

void Database::RegisterRoutine(std::string name, Routine routine) {
  impl_->routines[std::move(name)] = std::move(routine);
}

void Database::CreateFile(std::string_view fileName) {
  CheckFileName(fileName);
  impl_->CreateFile(fileName);
}

void Database::DeleteFile(std::string_view fileName) {
  CheckFileName(fileName);
  impl_->DeleteFile(fileName);
}

std::vector<std::string> Database::Files() const { return impl_->Files(); }

void Database::CreateIndex(std::string_view fileName, int attribute) {
  CheckFileName(fileName);
  if (attribute < 1 || attribute > query::kMaxAttribute) {
    throw DbaError(kErrBadArgument, "Un index porte sur un attribut numéroté de 1 à " +
                                        std::to_string(query::kMaxAttribute) + " (reçu " +
                                        std::to_string(attribute) + ").");
  }
  impl_->CreateIndex(fileName, attribute);
}

bool Database::ClearLock(std::string_view fileName, std::string_view key) {
  CheckFileName(fileName);
  return impl_->ClearLock(impl_->FileId(fileName), key);
}

std::vector<std::string> Database::Check() {
  if (impl_->InTransaction()) {
    throw DbaError(kErrTransaction, "Le contrôle de la base se fait hors transaction.");
  }
  return impl_->Check();
}

bool Database::HasIndex(std::string_view fileName, int attribute) const {
  CheckFileName(fileName);
  const auto& attributes = impl_->IndexedAttributes(impl_->FileId(fileName));
  return std::find(attributes.begin(), attributes.end(), attribute) != attributes.end();
}

}  // namespace dba
