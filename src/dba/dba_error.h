// DbaError: the one exception type of the database component, with a number.
// Part of the database layer (src/dba, no Qt).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace dba {

// Error numbers. Callers that may skip a step test the number; everything
// else lets the error reach the user as a message.
inline constexpr std::uint32_t kErrStorage =
    0x80040001;  // SQLite failed (I/O, corrupt file, full disk)
inline constexpr std::uint32_t kErrDatabaseNotFound =
    0x80040002;  // database file missing or not ours
inline constexpr std::uint32_t kErrFileNotFound =
    0x80040003;  // DBOpen/select/write of a multivalue file that does not exist (or was deleted)
inline constexpr std::uint32_t kErrFileExists = 0x80040004;  // create of a file that already exists
inline constexpr std::uint32_t kErrQuerySyntax =
    0x80040005;  // a query sentence that does not parse
inline constexpr std::uint32_t kErrUnknownRoutine =
    0x80040006;  // DBCall of a name nobody registered
inline constexpr std::uint32_t kErrNotBound =
    0x80040007;  // DBWrite of a record that belongs to no file
inline constexpr std::uint32_t kErrBadArgument =
    0x80040008;  // empty key or key with marks on write, bad position, bad file name
inline constexpr std::uint32_t kErrTransaction =
    0x80040009;  // commit/rollback without a transaction, a second one on the same Database
inline constexpr std::uint32_t kErrBusy = 0x8004000A;  // the database stayed busy past the timeout
inline constexpr std::uint32_t kErrRecordLocked =
    0x8004000B;  // a record stayed locked by another session past the lock timeout

class DbaError : public std::runtime_error {
 public:
  DbaError(std::uint32_t number, const std::string& message)
      : std::runtime_error(message), number_(number) {}
  [[nodiscard]] std::uint32_t number() const noexcept { return number_; }

 private:
  std::uint32_t number_;
};

}  // namespace dba
