#pragma once
// The installer window, which is also the controller of the whole run. For now: the download
// configuration it is started with.
#include <string>

#include "installer/config_record.h"

class CWebInstWnd {
 public:
  CWebInstWnd();
  ~CWebInstWnd();
  CWebInstWnd(const CWebInstWnd&) = delete;
  CWebInstWnd& operator=(const CWebInstWnd&) = delete;

  // Fetches and parses the download configuration from the configuration server, synchronously.
  // The launch context's product, channel and version go into the query. True when the document
  // was fetched and accepted completely; otherwise the failure is logged at ERROR and the record
  // stays empty.
  bool RequestConfig();

  const ConfigRecord& config() const { return config_; }

 private:
  ConfigRecord config_;
};
