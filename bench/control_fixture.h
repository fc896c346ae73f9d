// The control measurements' bench: a Ctr_Urssaf driven headless on its own
// database (the demo files, 500 generated legal entities of 10
// establishments each, and a centre whose rate history holds 32767 lines),
// plus the raw reads the control's lists are built from.
// Benchmark program (bench/).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dba/database.h"
#include "measurement.h"
#include "morvanel/shell/ctr_urssaf.h"
#include "forms/headless/headless_services.h"
#include "forms/user_input.h"

namespace bench {

inline constexpr int kHistoryLines = 32767;     // the most a history may hold
inline constexpr int kGeneratedEntities = 500;  // plus the demo's own three
inline constexpr int kEstablishmentsPerEntity = 10;
inline constexpr const char* kBigCentre = "98";  // attached to entity 200, establishment 001

struct ControlBench {
  std::shared_ptr<dba::Database> db;
  forms::headless::HeadlessServices services;        // answers OK to any box
  std::unique_ptr<morvanel::shell::Ctr_Urssaf> ctl;  // after Init: the search screen
  std::unique_ptr<forms::UserInput> input;
  std::string bigCentre;  // whole text of the long-history centre as written
};

// Built on first use, beside the benchmark's database ("<path>.control.mvdb").
[[nodiscard]] ControlBench& Control(BenchContext& ctx);

// The parts of `text` between the marks `mark` (none for an empty text).
[[nodiscard]] std::vector<std::string> SplitAt(std::string_view text, char mark);

// The legal entity list as the control builds it, read without a screen:
// (entity code, name) in the order of the first counted activity.
struct EntityLine {
  std::string code, name;
};
[[nodiscard]] std::vector<EntityLine> ReadEntities(dba::Database& db);
// The establishments of one entity: their ETABLISSEMENT keys and names.
[[nodiscard]] std::vector<EntityLine> ReadEstablishments(dba::Database& db,
                                                         const std::string& entity);

}  // namespace bench
