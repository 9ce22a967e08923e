#include "installer/web_inst_wnd.h"

#include "common/base/http_client.h"
#include "common/base/log.h"
#include "common/base/server_addresses.h"
#include "stats/launch_context.h"

CWebInstWnd::CWebInstWnd() = default;

CWebInstWnd::~CWebInstWnd() = default;

bool CWebInstWnd::RequestConfig() {
  const LaunchContext& context = TheLaunchContext();
  KwrBase::HttpResponse response =
      KwrBase::HttpGet(ConfigRequestUrl(KwrBase::ConfigServer(), context.appId, context.unionId, context.versionText));
  if (response.error.code != 0) {
    LOG_ERROR << response.error.message;
    return false;
  }
  ConfigParseResult parsed = ParseConfigDocument(response.text);
  if (!parsed.record) {
    LOG_ERROR << parsed.error;
    return false;
  }
  config_ = std::move(*parsed.record);
  return true;
}
