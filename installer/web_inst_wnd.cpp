#include "installer/web_inst_wnd.h"

#include "common/base/http_client.h"
#include "common/base/log.h"
#include "common/base/server_addresses.h"

CWebInstWnd::CWebInstWnd() = default;

CWebInstWnd::~CWebInstWnd() = default;

bool CWebInstWnd::RequestConfig(unsigned appId, unsigned unionId, const std::string& versionText) {
  KwrBase::HttpResponse response = KwrBase::HttpGet(ConfigRequestUrl(KwrBase::ConfigServer(), appId, unionId, versionText));
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
