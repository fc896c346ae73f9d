// The shown form of mvdb: marks and literals in both directions, and the
// escapes that must be refused.
#include "shown_form.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  const char* name;
  std::string stored;
  std::string shown;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

const std::string FE = "\xFE", FD = "\xFD", FC = "\xFC";

class ShownFormTest : public ::testing::TestWithParam<Case> {};

TEST_P(ShownFormTest, ConvertsBothWays) {
  const Case& c = GetParam();
  EXPECT_EQ(mvdb::ToShown(c.stored), c.shown);
  EXPECT_EQ(mvdb::FromShown(c.shown), c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ShownFormTest,
    ::testing::Values(
        Case{"empty", "", ""}, Case{"marks", "a" + FE + "b" + FD + "c" + FC + "d", "a^b]c\\d"},
        Case{"literals", "^]\\~", "~^~]~\\~~"},
        // A mark beside a literal of the same character: the case a doubled
        // mark could not tell apart.
        Case{"markThenLiteral", "a" + FE + "^b", "a^~^b"},
        Case{"literalThenMark", "a^" + FE + "b", "a~^^b"},
        Case{"accents", "Hélène Françoise Œuvre", "Hélène Françoise Œuvre"},
        Case{"controlBytes", std::string("l1\nl2\r\x01\x7F\tend"), "l1~x0Al2~x0D~x01~x7F\tend"},
        Case{"emptyAttributes", FE + FE + FD, "^^]"},
        Case{"utf8UpToFourBytes", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80",
             "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
        // Bytes of no character: Windows-1252 text, a cut sequence, an
        // overlong "/", a surrogate, a code point above U+10FFFF.
        Case{"bytesOfNoCharacter", "caf\xE9 \xC3 \xC0\xAF \xED\xA0\x80 \xF4\x90\x80\x80",
             "caf~xE9 ~xC3 ~xC0~xAF ~xED~xA0~x80 ~xF4~x90~x80~x80"}),
    [](const ::testing::TestParamInfo<Case>& p) { return p.param.name; });

TEST(ShownFormErrors, RefusesUnknownOrCutEscapesAndTextThatIsNotUtf8) {
  // Raw Windows-1252 "ü" is the subvalue mark's byte: never taken as one.
  for (const char* bad : {"~", "abc~", "~q", "~x4", "~xG0", "~n", "M\xFCller", "caf\xE9",
                          "\xEF\xBB", "\xC0\xAF", "\xED\xA0\x80", "a\xFE"}) {
    EXPECT_THROW((void)mvdb::FromShown(bad), mvdb::ShownFormError) << bad;
  }
}

TEST(ShownFormRoundTrip, EveryByteComesBack) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(mvdb::FromShown(mvdb::ToShown(all)), all);
  EXPECT_EQ(mvdb::ToShown(all).find('\n'), std::string::npos);              // one record, one line
  EXPECT_NO_THROW((void)mvdb::FromShown(mvdb::ToShown(all) + "\xC3\xA9"));  // shown text is UTF-8
  EXPECT_EQ(mvdb::FromShown("~x0a~xfe"), "\n\xFE");                         // lowercase hex too
}

}  // namespace
