// Stored dates and record assembly helpers of the demo data.
// Tools layer (src/tools/demo, no Qt).
#include "demo/demo_data.h"

#include "dba/citem.h"

namespace demo {
namespace {

// Days from 01/01/1970 of a proleptic Gregorian date.
long DaysFromCivil(long y, unsigned m, unsigned d) {
  y -= m <= 2 ? 1 : 0;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;
}

std::string Join(const std::vector<std::string>& parts, char mark) {
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += mark;
    out += parts[i];
  }
  return out;
}

}  // namespace

int DayNumber(int year, int month, int day) {
  static const long kDayZero = DaysFromCivil(1967, 12, 31);
  return static_cast<int>(
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kDayZero);
}

std::string JoinAttributes(const std::vector<std::string>& attributes) {
  return Join(attributes, dba::kAttributeMark);
}

std::string JoinValues(const std::vector<std::string>& values) {
  return Join(values, dba::kValueMark);
}

}  // namespace demo
