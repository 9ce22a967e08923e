#pragma once
// The three servers the installer talks to. Each is a plain host URL without a trailing slash
// ("http://127.0.0.1:8080"). The build sets the defaults; the environment variables
// WEBINST_CONFIG_SERVER, WEBINST_STATS_SERVER and WEBINST_INSTALL_STATS_SERVER override them
// (staging and tests).
#include <string>

namespace KwrBase {

std::string ConfigServer();        // the configuration document
std::string StatsServer();         // client event, action and install reports
std::string InstallStatsServer();  // the scrambled install/uninstall reports

}  // namespace KwrBase
