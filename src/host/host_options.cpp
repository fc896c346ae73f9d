// The demo host's command line and default paths. Demo host (no Qt).
#include "host_options.h"

#include <cstdlib>

namespace host {

const char* HostUsage() {
  return "usage: morvanel-host [--db PATH] [--user NAME] [--centre CODE] [--screenshot FILE]\n"
         "       morvanel-host --register | --unregister | --help\n"
         "  --db PATH         the database file or a postgresql:// URI (default: the\n"
         "                    demo database, created and\n"
         "                    seeded on first run: "
         "$XDG_DATA_HOME/morvanel/demo.mvdb)\n"
         "  --user NAME       the user whose rights apply (default admin; consult\n"
         "                    may only look centres up)\n"
         "  --centre CODE     type CODE into the centre code box after start-up\n"
         "  --screenshot FILE draw the window into FILE (PNG) and quit; works\n"
         "                    without a display (QT_QPA_PLATFORM=offscreen)\n"
         "  --register        register the control library built beside the host\n"
         "                    for this user, then quit (done on first run anyway)\n"
         "  --unregister      remove that registration, then quit\n"
         "On leaving with \"Sortir\" the host prints \"W_Sortir = 1\".\n";
}

std::optional<HostOptions> ParseHostOptions(const std::vector<std::string>& args,
                                            std::string& error) {
  HostOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = a + " needs a value";
        return false;
      }
      into = args[++i];
      return true;
    };
    if (a == "--db") {
      if (!value(o.db)) return std::nullopt;
    } else if (a == "--user") {
      if (!value(o.user)) return std::nullopt;
    } else if (a == "--screenshot") {
      if (!value(o.screenshot)) return std::nullopt;
    } else if (a == "--centre") {
      if (!value(o.centre)) return std::nullopt;
    } else if (a == "--register") {
      o.registerOnly = true;
    } else if (a == "--unregister") {
      o.unregisterOnly = true;
    } else if (a == "--help" || a == "-h") {
      o.help = true;
    } else {
      error = "unknown argument " + a;
      return std::nullopt;
    }
  }
  if (o.registerOnly && o.unregisterOnly) {
    error = "--register and --unregister exclude each other";
    return std::nullopt;
  }
  return o;
}

std::string DefaultDatabasePath() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && *xdg != '\0') return std::string(xdg) + "/morvanel/demo.mvdb";
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0')
    return std::string(home) + "/.local/share/morvanel/demo.mvdb";
  return "demo.mvdb";
}

}  // namespace host
