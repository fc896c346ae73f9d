// The JSON dump of a form's controls, and the escaping of its strings.
#include <gtest/gtest.h>

#include <string>

#include "forms/form.h"
#include "forms/headless/state_dump.h"

namespace forms::headless {
namespace {

TEST(StateDumpTest, JsonStringEscapesWhatJsonForbidsAndKeepsUtf8) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"abc", "\"abc\""},
      {"a\"b\\c", "\"a\\\"b\\\\c\""},
      {"l1\nl2\t\r", "\"l1\\nl2\\t\\r\""},
      {std::string("\x01\x1f", 2), "\"\\u0001\\u001f\""},
      {"D\xC3\xA9nomination \xE2\x82\xAC", "\"D\xC3\xA9nomination \xE2\x82\xAC\""},
      // value and attribute marks of the records: lone bytes, not UTF-8
      {"a\xFE"
       "b\xFD"
       "c\xFC",
       "\"a\\u00feb\\u00fdc\\u00fc\""},
      {"\xC3", "\"\\u00c3\""},                        // cut short
      {"\xE0\x80\x80", "\"\\u00e0\\u0080\\u0080\""},  // overlong
  };
  for (const auto& c : cases) EXPECT_EQ(JsonString(c.in), c.out) << c.in;
}

TEST(StateDumpTest, DumpShowsEachControlWithTheFieldsOfItsKind) {
  Form form("Ctr_Urssaf", 7800, 8400);
  Control& code = form.Add(Kind::TextBox, "Txt_CodCtrUrssaf", {});
  code.TabIndex = 0;
  Control& list = form.Add(Kind::ListBox, "Lst_Date", {});
  list.AddItem("01/01/2024");
  Control& bar = form.Add(Kind::VScrollBar, "Bdv_Date", {});
  bar.SetMax(3);
  Control& address = form.Add(Kind::Embedded, "Ctr_Adresse", {});
  form.Add(Kind::TextBox, "Txt_Ville", {}, &address, &address);
  code.SetText("0\"7");
  code.SetFocus();
  list.SetEnabled(false);

  const std::string dump = StateDump(form);

  EXPECT_NE(dump.find("\"focused\":\"Txt_CodCtrUrssaf\""), std::string::npos) << dump;
  EXPECT_NE(dump.find("{\"path\":\"Txt_CodCtrUrssaf\",\"kind\":\"TextBox\",\"text\":\"0\\\"7\","
                      "\"enabled\":true,\"visible\":true,\"usable\":true,\"focused\":true}"),
            std::string::npos)
      << dump;
  EXPECT_NE(dump.find("\"items\":[\"01/01/2024\"],\"listIndex\":-1"), std::string::npos) << dump;
  EXPECT_NE(dump.find("\"path\":\"Lst_Date\",\"kind\":\"ListBox\",\"text\":\"\",\"enabled\":false"),
            std::string::npos)
      << dump;
  EXPECT_NE(dump.find("\"value\":0,\"max\":3"), std::string::npos) << dump;
  EXPECT_NE(dump.find("\"path\":\"Ctr_Adresse.Txt_Ville\""), std::string::npos) << dump;
}

}  // namespace
}  // namespace forms::headless
