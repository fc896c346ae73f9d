// Made-up but well-formed French bank details for the demo centres: RIB key
// and IBAN check digits. Tools layer (src/tools/demo, no Qt).
#include "demo/demo_data.h"

#include <cstdint>

namespace demo {
namespace {

// Remainder modulo 97 of a long run of decimal digits.
int Mod97(const std::string& digits) {
  int rest = 0;
  for (char c : digits) rest = (rest * 10 + (c - '0')) % 97;
  return rest;
}

std::string TwoDigits(int n) {
  return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

}  // namespace

std::string RibKey(const std::string& bank, const std::string& branch, const std::string& account) {
  const std::int64_t b = std::stoll(bank);
  const std::int64_t g = std::stoll(branch);
  const std::int64_t c = std::stoll(account);
  return TwoDigits(static_cast<int>(97 - (89 * b + 15 * g + 3 * c) % 97));
}

std::string FrenchIban(const std::string& bank, const std::string& branch,
                       const std::string& account) {
  const std::string bban = bank + branch + account + RibKey(bank, branch, account);
  // Country code moved to the end with letters as numbers: F = 15, R = 27.
  const int check = 98 - Mod97(bban + "152700");
  return "FR" + TwoDigits(check) + bban;
}

}  // namespace demo
