// Record text edits of CItem: positions, padding, the "" past the end rule,
// inserts, deletes, appends and bulk value access.
#include <gtest/gtest.h>

#include <functional>

#include "dba/citem.h"
#include "dba/dba_error.h"
#include "test_database.h"

namespace dba {
namespace {

using testing::Marks;

struct EditCase {
  const char* name;
  const char* before;  // '^' attribute, ']' value, '\' subvalue
  std::function<void(CItem&)> edit;
  const char* after;
};

class CItemEdit : public ::testing::TestWithParam<EditCase> {};

TEST_P(CItemEdit, GivesExactText) {
  const EditCase& c = GetParam();
  CItem r(Marks(c.before));
  c.edit(r);
  EXPECT_EQ(r.Item(), Marks(c.after));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CItemEdit,
    ::testing::Values(
        EditCase{"ReplaceAttribute", "a^b^c", [](CItem& r) { r.setItem(2, "X"); }, "a^X^c"},
        EditCase{"PadAttributes", "a", [](CItem& r) { r.setItem(4, "X"); }, "a^^^X"},
        EditCase{"PadFromEmpty", "", [](CItem& r) { r.setItem(3, "X"); }, "^^X"},
        EditCase{"EmptyPastEndKeepsText", "a^b", [](CItem& r) { r.setItem(5, ""); }, "a^b"},
        EditCase{"EmptyValuePastEndKeepsText", "a^b", [](CItem& r) { r.setItem(2, 4, ""); }, "a^b"},
        EditCase{"EmptySubvaluePastEndKeepsText", "a^b", [](CItem& r) { r.setItem(2, 1, 3, ""); },
                 "a^b"},
        EditCase{"EmptyInsideClears", "a^b^c", [](CItem& r) { r.setItem(2, ""); }, "a^^c"},
        EditCase{"ReplaceValue", "a^x]y]z", [](CItem& r) { r.setItem(2, 2, "Y"); }, "a^x]Y]z"},
        EditCase{"PadValues", "a^x", [](CItem& r) { r.setItem(2, 3, "Z"); }, "a^x]]Z"},
        EditCase{"ValueInMissingAttribute", "a", [](CItem& r) { r.setItem(3, 2, "Z"); }, "a^^]Z"},
        EditCase{"ReplaceSubvalue", "a^x]p\\q", [](CItem& r) { r.setItem(2, 2, 2, "Q"); },
                 "a^x]p\\Q"},
        EditCase{"PadSubvalues", "a^x", [](CItem& r) { r.setItem(2, 1, 3, "S"); }, "a^x\\\\S"},
        EditCase{"AppendValue", "a^x]y", [](CItem& r) { r.setItem(2, -1, "z"); }, "a^x]y]z"},
        EditCase{"AppendToEmptyAttribute", "a", [](CItem& r) { r.setItem(2, -1, "z"); }, "a^z"},
        EditCase{"AppendEmptyValue", "a^x", [](CItem& r) { r.setItem(2, -1, ""); }, "a^x]"},
        EditCase{"AppendEmptyToEmptyAttribute", "a", [](CItem& r) { r.setItem(3, -1, ""); }, "a"},
        EditCase{"AppendSubvalue", "a^x]y", [](CItem& r) { r.setItem(2, 2, -1, "s"); }, "a^x]y\\s"},
        EditCase{"ValueZeroIsAttribute", "a^x]y", [](CItem& r) { r.setItem(2, 0, "W"); }, "a^W"},
        EditCase{"InsertFirst", "a^x]y", [](CItem& r) { r.Insert(2, 1, "w"); }, "a^w]x]y"},
        EditCase{"InsertMiddle", "a^x]y", [](CItem& r) { r.Insert(2, 2, "w"); }, "a^x]w]y"},
        EditCase{"InsertAfterLast", "a^x]y", [](CItem& r) { r.Insert(2, 3, "w"); }, "a^x]y]w"},
        EditCase{"InsertPastEndPads", "a^x", [](CItem& r) { r.Insert(2, 4, "w"); }, "a^x]]]w"},
        EditCase{"InsertIntoMissingAttribute", "a", [](CItem& r) { r.Insert(3, 2, "w"); }, "a^^]w"},
        EditCase{"InsertEmptyInside", "a^x", [](CItem& r) { r.Insert(2, 1, ""); }, "a^]x"},
        EditCase{"InsertEmptyPastEndKeepsText", "a^x", [](CItem& r) { r.Insert(2, 5, ""); }, "a^x"},
        EditCase{"InsertMinusOneAppends", "a^x", [](CItem& r) { r.Insert(2, -1, "w"); }, "a^x]w"},
        EditCase{"DeleteFirst", "a^x]y]z", [](CItem& r) { r.Delete(2, 1); }, "a^y]z"},
        EditCase{"DeleteLast", "a^x]y]z", [](CItem& r) { r.Delete(2, 3); }, "a^x]y"},
        EditCase{"DeleteOnly", "a^x^c", [](CItem& r) { r.Delete(2, 1); }, "a^^c"},
        EditCase{"DeleteMissingValue", "a^x]y", [](CItem& r) { r.Delete(2, 3); }, "a^x]y"},
        EditCase{"DeleteMissingAttribute", "a^x", [](CItem& r) { r.Delete(7, 1); }, "a^x"},
        EditCase{"DeleteZero", "a^x", [](CItem& r) { r.Delete(2, 0); }, "a^x"},
        EditCase{"SetValues", "a^old^c", [](CItem& r) { r.setValues(2, {"1", "", "3"}); },
                 "a^1]]3^c"},
        EditCase{"SetNoValuesEmpties", "a^x]y^c", [](CItem& r) { r.setValues(2, {}); }, "a^^c"},
        EditCase{"SetNoValuesPastEnd", "a", [](CItem& r) { r.setValues(4, {}); }, "a"}),
    [](const ::testing::TestParamInfo<EditCase>& p) { return std::string(p.param.name); });

TEST(CItemRead, PositionsPastTheEndAndCounts) {
  const CItem r(Marks("a^x]y\\s^^"));
  EXPECT_EQ(r.Item(1), "a");
  EXPECT_EQ(r.Item(2, 2), Marks("y\\s"));
  EXPECT_EQ(r.Item(2, 2, 2), "s");
  EXPECT_EQ(r.Item(2, 0), Marks("x]y\\s"));
  EXPECT_EQ(r.Item(9), "");
  EXPECT_EQ(r.Item(2, 9), "");
  EXPECT_EQ(r.Item(2, 1, 9), "");
  EXPECT_EQ(r.Item(-1), "");
  EXPECT_EQ(r.DCount(), 4);
  EXPECT_EQ(r.DCount(2), 2);
  EXPECT_EQ(r.DCount(3), 0);
  EXPECT_EQ(r.DCount(9), 0);
  EXPECT_EQ(CItem().DCount(), 0);
  EXPECT_EQ(CItem().Item(0), "");
}

TEST(CItemRead, ValuesSplitsInOnePassAndRoundTrips) {
  std::vector<std::string> many;
  for (int i = 0; i < 32767; ++i) many.push_back(std::to_string(i));
  CItem r;
  r.setItem(1, "head");
  r.setValues(20, many);
  EXPECT_EQ(r.DCount(20), 32767);
  EXPECT_EQ(r.Values(20), many);
  EXPECT_EQ(r.Item(20, 32767), "32766");
  EXPECT_EQ(r.Item(1), "head");
  EXPECT_TRUE(r.Values(21).empty());
}

TEST(CItemErrors, BadPositionsThrowAndChangeNothing) {
  const std::vector<std::function<void(CItem&)>> edits = {
      [](CItem& r) { r.setItem(0, "k"); },
      [](CItem& r) { r.setItem(-2, "k"); },
      [](CItem& r) { r.setItem(1, -3, "k"); },
      [](CItem& r) { r.setItem(CItem::kMaxPosition + 1, "k"); },
      [](CItem& r) { r.setItem(1, CItem::kMaxPosition + 1, "k"); },
      [](CItem& r) { r.Insert(1, 0, "k"); },
      [](CItem& r) { r.Insert(0, 1, "k"); },
  };
  for (std::size_t i = 0; i < edits.size(); ++i) {
    CItem r(Marks("a^b"));
    try {
      edits[i](r);
      ADD_FAILURE() << "edit " << i << " did not throw";
    } catch (const DbaError& e) {
      EXPECT_EQ(e.number(), kErrBadArgument) << "edit " << i;
    }
    EXPECT_EQ(r.Item(), Marks("a^b")) << "edit " << i;
  }
}

TEST(CItemErrors, WriteOfUnboundRecordIsRefused) {
  CItem r("x");
  try {
    r.DBWrite();
    FAIL() << "no error";
  } catch (const DbaError& e) {
    EXPECT_EQ(e.number(), kErrNotBound);
  }
}

}  // namespace
}  // namespace dba
