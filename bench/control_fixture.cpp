// The control measurements' bench: its database, the headless control on
// it, and the raw reads the control's lists are built from.
// Benchmark program (bench/).
#include "control_fixture.h"

#include <filesystem>
#include <random>
#include <stdexcept>
#include <unordered_set>

#include "components/client.h"
#include "components/droits/droits_utilisateur.h"
#include "dba/citem.h"
#include "demo/demo_seed.h"
#include "utilitaires/utilitaires.h"

namespace bench {
namespace {

// Dates as day numbers drawn over some 55 years, so that many lines share
// a date; one line in a thousand has no date and one rate in 97 is empty.
// The order is random: the sort has all its work to do.
std::string LongHistoryCentre() {
  const utilitaires::Utilitaires u;
  const std::int64_t first = utilitaires::ValeurNumerique(u.Convertir_DateStockage("01/01/1970"));
  std::mt19937 rng(kHistoryLines);
  std::vector<std::string> dates, rates;
  for (int i = 0; i < kHistoryLines; ++i) {
    dates.push_back(i % 1000 == 999 ? "" : std::to_string(first + rng() % 20000));
    rates.push_back(i % 97 == 13 ? "" : std::to_string(rng() % 100000));
  }
  dba::CItem c;
  c.setItem(1, "URSSAF HISTORIQUE");
  c.setItem(2, "Urssaf à l'historique de taux le plus long");
  c.setItem(17, "0");
  c.setValues(20, dates);
  c.setValues(21, rates);
  c.setItem(25, "200001");
  return c.Item();
}

std::unique_ptr<ControlBench> Build(const std::string& path) {
  if (std::filesystem::exists(path)) throw std::runtime_error(path + " exists; give a new path");
  auto b = std::make_unique<ControlBench>();
  b->db = dba::Database::Open(path, {.create = true});
  demo::SeedDemo(*b->db, {.scale = 1});
  demo::SeedEntities(*b->db, kGeneratedEntities, kEstablishmentsPerEntity);
  b->bigCentre = LongHistoryCentre();
  dba::CItem centre = b->db->DBOpen("CENTREURSSAF").DBNew(kBigCentre);
  centre.setItem(b->bigCentre);
  centre.DBWrite();

  b->services.SetDefaultAnswer(forms::MsgAnswer::OK);
  b->ctl = std::make_unique<morvanel::shell::Ctr_Urssaf>(b->services);
  b->ctl->TheDatabase(b->db);
  b->ctl->TheClient(std::make_shared<components::Client>("C1", "Société de mesure", "bench"));
  b->ctl->DroitsUtilisateur(components::DroitsUtilisateur::Fixe({{"CENTREURSSAF", 2}}));
  b->ctl->Init();
  b->input = std::make_unique<forms::UserInput>(b->ctl->Controls(), b->services);
  return b;
}

dba::CItem Select(dba::Database& db, const std::string& sentence, const char* file,
                  const char* columns) {
  dba::CItem request;
  request.setItem(1, sentence);
  request.setItem(2, file);
  request.setItem(3, columns);
  return db.DBSelect(request.Item());
}

}  // namespace

ControlBench& Control(BenchContext& ctx) {
  if (!ctx.control) ctx.control = Build(ctx.db.Path() + ".control.mvdb");
  return *ctx.control;
}

std::vector<std::string> SplitAt(std::string_view text, char mark) {
  std::vector<std::string> parts;
  if (text.empty()) return parts;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(mark, start)) != std::string_view::npos; start = end + 1) {
    parts.emplace_back(text.substr(start, end - start));
  }
  parts.emplace_back(text.substr(start));
  return parts;
}

std::vector<EntityLine> ReadEntities(dba::Database& db) {
  const dba::CItem activities =
      Select(db, "SSELECT ACTIVITES AVEC 12= \"M\" PAR @ID", "ACTIVITES", "0");
  const dba::DBFile associations = db.DBOpen("ASSOCIATION");
  std::vector<EntityLine> lines;
  std::unordered_set<std::string> taken;
  for (const std::string& key : SplitAt(activities.Item(), dba::kAttributeMark)) {
    std::string code = key.substr(0, 3);
    if (code.empty() || !taken.insert(code).second) continue;
    const dba::CItem entity = associations.DBRead(code);
    lines.push_back({std::move(code), entity.Item(1)});
  }
  return lines;
}

std::vector<EntityLine> ReadEstablishments(dba::Database& db, const std::string& entity) {
  const dba::CItem found = Select(
      db, "SSELECT ETABLISSEMENT AVEC @ID = \"" + entity + "]\" PAR @ID", "ETABLISSEMENT", "0 1");
  std::vector<EntityLine> lines;
  for (const std::string& line : SplitAt(found.Item(), dba::kAttributeMark)) {
    const std::vector<std::string> columns = SplitAt(line, dba::kValueMark);
    lines.push_back({columns.at(0), columns.size() > 1 ? columns[1] : std::string()});
  }
  return lines;
}

}  // namespace bench
