// The demo host refuses to start for a user the rights file does not know,
// rather than showing the screen with rights nobody gave.
#include <gtest/gtest.h>

#include <filesystem>

#include "run_process.h"

namespace {

TEST(HostRights, AUserMissingFromTheRightsFileIsRefusedWithAClearMessage) {
  tools_test::TempDir dir;
  const std::string shot = dir.File("shot.png");
  const tools_test::ProcessResult r = tools_test::RunProgram(
      MORVANEL_HOST_EXE,
      {"--db", dir.File("demo.mvdb"), "--user", "inconnu", "--screenshot", shot});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("L'utilisateur inconnu n'existe pas dans le fichier des droits."),
            std::string::npos)
      << r.err;
  EXPECT_FALSE(std::filesystem::exists(shot)) << "no window was drawn";
  EXPECT_EQ(r.out.find("W_Sortir"), std::string::npos);
}

// Nobody can answer a message box in a screenshot run: it is reported and
// the window is still drawn, instead of the run waiting for ever.
TEST(HostScreenshot, AMessageOnTheWayIsReportedAndTheWindowStillDrawn) {
  tools_test::TempDir dir;
  const std::string shot = dir.File("shot.png");
  const tools_test::ProcessResult r = tools_test::RunProgram(
      MORVANEL_HOST_EXE, {"--db", dir.File("demo.mvdb"), "--centre", "08", "--screenshot", shot});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("« Ce centre URSSAF n'existe pas. » left unanswered"), std::string::npos)
      << r.err;
  EXPECT_TRUE(std::filesystem::exists(shot));
}

}  // namespace
