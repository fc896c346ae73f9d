// The demo host's command line. Demo host (src/host); no Qt here so that
// the parsing is tested without a display.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace host {

struct HostOptions {
  std::string db;  // "" : the default demo database (DefaultDatabasePath)
  std::string user = "admin";
  std::string screenshot;  // "" : run interactively
  std::string centre;      // a code typed into the code box after Init
  bool registerOnly = false;
  bool unregisterOnly = false;
  bool help = false;
};

// nullopt with `error` set for a bad command line.
[[nodiscard]] std::optional<HostOptions> ParseHostOptions(const std::vector<std::string>& args,
                                                          std::string& error);

[[nodiscard]] const char* HostUsage();

// $XDG_DATA_HOME/morvanel/demo.mvdb, else $HOME/.local/share/morvanel/demo.mvdb,
// else demo.mvdb in the current folder.
[[nodiscard]] std::string DefaultDatabasePath();

}  // namespace host
