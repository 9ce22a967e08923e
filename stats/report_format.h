#pragma once
// The bodies of the statistics reports: the client report (event, activity, client install), the
// install report and its scrambled form. Pure text work; the reporter adds the transport.
#include <cstdint>
#include <string>
#include <string_view>

#include "stats/launch_context.h"

// The client report key: MD5 text of appId, pcid, versionText and the number (signed decimal),
// written without separators. Throws KwrBase::win_exception when the hash service fails.
std::string ClientReportKey(const LaunchContext& who, std::int32_t number);

// {"a":..,"k":..,"m":..,"p":..,"u":..,"v":..}: compact, keys in byte order, "m" as the unsigned
// 32-bit value of `number`. Throws like ClientReportKey.
std::string ClientReportBody(const LaunchContext& who, std::int32_t number);

// The "rand" text: the C runtime generator (values 0 to 32767) seeded with `seed` and drawn three
// times, written third, second, first without separators (3 to 15 digits).
std::string InstallReportRand(std::uint32_t seed);

// {"appid":..,"clientversion":..,"key":..,"os":..,"pcid":..,"rand":..,"unionid":..}; the key is
// the MD5 text of "{}_{}_{}_{}_{}_{}" over appId, unionId, versionText, pcid, os and rand.
// Throws like ClientReportKey.
std::string InstallReportBody(const LaunchContext& who, std::uint64_t os, const std::string& rand);

// Each byte XORed with 5E 91 0C A7 38 D2 (byte i with key byte i mod 6), then Base64 with a CRLF
// after every full line of 76 characters; the remaining characters and the padded group follow
// without a line break of their own.
std::string ScrambleReportBody(std::string_view body);
