#include "installer/config_record.h"

#include <fmt/format.h>

#include <limits>
#include <nlohmann/json.hpp>

#include "platform/text_encoding.h"

namespace {
using nlohmann::json;

std::string Text(const json& parent, const char* key) { return parent.at(key).get<std::string>(); }

std::wstring WideText(const json& parent, const char* key) { return platform::Utf8ToWide(Text(parent, key)); }

// A number converted to an unsigned field. The library's own conversion would wrap negative
// values, turn booleans into 0/1 and leave out-of-range floating values undefined; a document
// with such a value is rejected instead.
template <class T>
T Unsigned(const json& parent, const char* key, bool booleanAllowed = false) {
  const json& v = parent.at(key);
  if (v.is_boolean() && !booleanAllowed)
    throw json::type_error::create(302, "type must be number, but is boolean", &v);
  constexpr double kLimit = static_cast<double>(std::numeric_limits<T>::max()) + 1.0;
  bool fits = true;
  if (v.is_number_float()) {
    double d = v.get<double>();
    fits = d >= 0.0 && d < kLimit;  // also false for NaN
  } else if (v.is_number_unsigned()) {
    fits = v.get<std::uint64_t>() <= std::numeric_limits<T>::max();
  } else if (v.is_number_integer()) {
    fits = v.get<std::int64_t>() >= 0;
  }
  if (!fits) throw json::out_of_range::create(406, fmt::format("number out of range for '{}': {}", key, v.dump()), &v);
  return v.get<T>();  // raises "type must be number, but is ..." for anything else
}

const json& Array(const json& parent, const char* key) {
  const json& v = parent.at(key);
  if (!v.is_array()) throw json::type_error::create(302, std::string("type must be array, but is ") + v.type_name(), &v);
  return v;
}

ConfigRecord BuildRecord(const json& doc) {
  ConfigRecord record;
  const json& installer = doc.at("installer");
  record.installer.display = WideText(installer, "display");
  record.installer.md5 = Text(installer, "md5");
  record.installer.size = Unsigned<std::uint64_t>(installer, "size");
  record.installer.url = Text(installer, "url");

  const json& starup = doc.at("starup");
  record.starup.main = WideText(starup, "main");
  if (auto args = starup.find("args"); args != starup.end())
    record.starup.args = platform::Utf8ToWide(args->get<std::string>());

  for (const json& e : Array(doc, "external")) {
    ExternalItem item;
    item.display = WideText(e, "display");
    item.target_path = WideText(e, "target_path");
    item.type = Unsigned<std::uint32_t>(e, "type", true);
    item.size = Unsigned<std::uint64_t>(e, "size");
    item.raw_size = Unsigned<std::uint64_t>(e, "raw_size");
    for (const json& r : Array(e, "resource")) item.resource.push_back({Text(r, "md5"), Text(r, "url")});
    record.external.push_back(std::move(item));
  }
  return record;
}

}  // namespace

std::string ConfigRequestUrl(std::string_view server, unsigned appId, unsigned unionId, std::string_view versionText) {
  return fmt::format("{}/api/int_kestrel_download.json?a={}&u={}&v={}&t={}", server, appId, unionId, versionText, 0);
}

ConfigParseResult ParseConfigDocument(std::string_view text) {
  ConfigParseResult result;
  try {
    json doc = json::parse(text, nullptr, /*allow_exceptions=*/true, /*ignore_comments=*/false);
    result.record = BuildRecord(doc);
  } catch (const std::exception& e) {
    result.error = e.what();
  }
  return result;
}
