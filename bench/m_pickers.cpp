// The control's legal entity and establishment lists on a database of 500
// legal entities and 5,000 establishments: the entity list built, then an
// entity picked by name, which rebuilds its establishments. The two must
// fit in one frame. Benchmark program (bench/).
#include "control_fixture.h"
#include "morvanel/state/urssaf_screen.h"

namespace bench {
namespace {

constexpr double kFrameUs = 16000;
constexpr const char* kShownCentre = "01";  // any centre: the pickers work on a centre shown

int OneStep(const BenchConfig&) { return 1; }

// A different entity each run, so that picking it changes the code.
std::size_t Picked(std::size_t count, int run) {
  return (static_cast<std::size_t>(run) * 101 + 7) % count;
}

std::string Digest(std::size_t entities, const std::string& name, const std::string& code,
                   std::size_t establishments, const std::string& firstEstablishment,
                   std::size_t messages) {
  return "entities=" + std::to_string(entities) + " picked=" + name + " code=" + code +
         " establishments=" + std::to_string(establishments) + " first=" + firstEstablishment +
         " messages=" + std::to_string(messages);
}

void Prepare(BenchContext& ctx, int /*run*/) {
  ControlBench& b = Control(ctx);
  if (b.ctl->Ecran().Txt_CodCtrUrssaf.Text() != kShownCentre) {
    b.ctl->Vider_Donnees();
    b.input->Type(b.ctl->Ecran().Txt_CodCtrUrssaf, kShownCentre);
  }
  (void)b.services.takeMessages();
}

std::string PickOurs(BenchContext& ctx, int run) {
  ControlBench& b = Control(ctx);
  const morvanel::state::UrssafScreen& e = b.ctl->Ecran();
  b.ctl->Procedures().Remplir_Entite();
  const auto count = static_cast<std::size_t>(e.Cbo_Entite.ListCount());
  if (count > 0) b.input->Pick(e.Cbo_Entite, static_cast<int>(Picked(count, run)));
  return Digest(count, e.Cbo_Entite.Text(), e.Txt_CodeEntite.Text(),
                static_cast<std::size_t>(e.Cbo_Etab.ListCount()), e.Cbo_Etab.List(0),
                b.services.messages().size());
}

// The same reads without a screen: the counted activities, one ASSOCIATION
// read per entity, then the picked entity's establishments.
std::string PickBaseline(BenchContext& ctx, int run) {
  dba::Database& db = *Control(ctx).db;
  const std::vector<EntityLine> entities = ReadEntities(db);
  if (entities.empty()) return Digest(0, "", "", 0, "", 0);
  const EntityLine& picked = entities[Picked(entities.size(), run)];
  const std::vector<EntityLine> establishments = ReadEstablishments(db, picked.code);
  return Digest(entities.size(), picked.name, picked.code, establishments.size(),
                establishments.empty() ? std::string() : establishments.front().name, 0);
}

}  // namespace

void RegisterPickerMeasurements(Registry& r) {
  r.push_back({"pickers_500x5000", Phase::kWithoutIndex, 0, OneStep, PickOurs, PickBaseline,
               kFrameUs, Prepare});
}

}  // namespace bench
