#include "common/base/server_addresses.h"

#include <cstdlib>

namespace KwrBase {
namespace {
std::string FromEnvironment(const char* variable, const char* fallback) {
  const char* v = std::getenv(variable);
  std::string s = (v && *v) ? v : fallback;
  while (!s.empty() && s.back() == '/') s.pop_back();
  return s;
}
}  // namespace

std::string ConfigServer() { return FromEnvironment("WEBINST_CONFIG_SERVER", WEBINST_DEFAULT_CONFIG_SERVER); }
std::string StatsServer() { return FromEnvironment("WEBINST_STATS_SERVER", WEBINST_DEFAULT_STATS_SERVER); }
std::string InstallStatsServer() {
  return FromEnvironment("WEBINST_INSTALL_STATS_SERVER", WEBINST_DEFAULT_INSTALL_STATS_SERVER);
}

}  // namespace KwrBase
