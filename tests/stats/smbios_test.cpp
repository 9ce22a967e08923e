#include <gtest/gtest.h>

#include <map>

#include "stats/smbios_info.h"
#include "stats/smbios_table.h"
#include "tests/stats/smbios_fixture.h"

namespace {
using namespace smbiosfixture;

SmbiosTable LoadTable(const Bytes& structures) {
  SmbiosTable table;
  table.Request(1);
  table.Request(3);
  table.Request(1);  // a repeated request changes nothing
  table.Load(SmbiosTable::Header{0, 3, 4, 0, static_cast<std::uint32_t>(structures.size())}, structures);
  return table;
}

SmbiosInfo InfoOf(const Bytes& structures) {
  SmbiosInfo info;
  info.Fill(LoadTable(structures));
  return info;
}

const Bytes kBios = Structure(0, 0x0000, {1, 2, 0, 0xE0, 3, 0x7F}, {"Vendor BIOS", "1.02", "01/01/2024"});
const Bytes kFirstSystem = SystemInformation(0x0001, {"Acme", "Roadster 15", "R1", "SN-0001", "SKU-7", "Roadsters"});
const Bytes kSecondSystem = SystemInformation(0x0002, {"Other", "Other", "Other", "Other", "Other", "Other"});
const Bytes kEnclosure = SystemEnclosure(0x0003, 10, {"Acme Cases", "C2", "CS-9", "Asset 42"});
const Bytes kEnd = Structure(127, 0xFFFF, {}, {});

TEST(SmbiosTable, CollectsTheRequestedTypesAndDecodesOnlyTheFirstOfEach) {
  SmbiosTable table = LoadTable(Concat({kBios, kFirstSystem, kEnclosure, kSecondSystem, kEnd}));
  EXPECT_EQ(table.header().majorVersion, 3);
  const SmbiosTable::Entry* system = table.Find(1);
  ASSERT_NE(system, nullptr);
  EXPECT_EQ(system->first, kFirstSystem);
  ASSERT_EQ(system->chain.size(), 1u);
  EXPECT_EQ(system->chain[0], kSecondSystem);
  EXPECT_EQ(table.Find(0), nullptr) << "not requested";

  SmbiosSystemRecord s;
  ASSERT_TRUE(table.Decode(s));
  EXPECT_EQ(s.type, 1);
  EXPECT_EQ(s.length, 27);
  EXPECT_EQ(s.handle, 0x0001);
  EXPECT_EQ(s.manufacturer, "Acme");
  EXPECT_EQ(s.product, "Roadster 15");
  EXPECT_EQ(s.version, "R1");
  EXPECT_EQ(s.serial, "SN-0001");
  EXPECT_EQ(s.sku, "SKU-7");
  EXPECT_EQ(s.family, "Roadsters");
  EXPECT_EQ(s.uuid[0], 0xA0);
  EXPECT_EQ(s.uuid[15], 0xAF);
  EXPECT_EQ(s.wakeUpType, 6);

  SmbiosEnclosureRecord e;
  ASSERT_TRUE(table.Decode(e));
  EXPECT_EQ(e.handle, 0x0003);
  EXPECT_EQ(e.chassisType, 10);
  EXPECT_EQ(e.manufacturer, "Acme Cases");
  EXPECT_EQ(e.version, "C2");
  EXPECT_EQ(e.serial, "CS-9");
  EXPECT_EQ(e.assetTag, "Asset 42");

  SmbiosInfo info;
  info.Fill(table);
  EXPECT_EQ(info.Joined(), "Asset 42" "Acme Cases" "" "NoteBook" "C2" "Acme" "Roadster 15" "" "SKU-7" "R1")
      << "the serial numbers are not hashed";
}

TEST(SmbiosTable, ATypeOneShorterThan27StoredBytesGivesNoStrings) {
  // An early layout: 8 formatted bytes and short strings, 26 bytes in all.
  Bytes early = Structure(1, 7, {1, 2, 3, 4}, {"Acme", "Box", "v2", "xxxx"});
  ASSERT_EQ(early.size(), 26u);
  SmbiosInfo info = InfoOf(Concat({early, kEnclosure}));
  EXPECT_EQ(info.systemManufacturer, "");
  EXPECT_EQ(info.systemProduct, "");
  EXPECT_EQ(info.enclosureManufacturer, "Acme Cases") << "the enclosure is still read";

  // One more string byte makes 27: decoded, the later fields read at their fixed offsets.
  Bytes longer = Structure(1, 7, {1, 2, 3, 4}, {"Acme", "Box", "v2", "xxxxx"});
  ASSERT_EQ(longer.size(), 27u);
  SmbiosSystemRecord s;
  ASSERT_TRUE(DecodeSystemInformation(longer, s));
  EXPECT_EQ(s.manufacturer, "Acme");
  EXPECT_EQ(s.product, "Box");
  EXPECT_EQ(s.version, "v2");
  EXPECT_EQ(s.serial, "xxxxx");
  EXPECT_EQ(s.uuid[0], 'A') << "offset 08h lies in the strings of this short layout";
  EXPECT_EQ(s.skuIndex, 0);  // offset 19h: the string terminator
  EXPECT_EQ(s.sku, "");

  SmbiosEnclosureRecord e;
  EXPECT_FALSE(DecodeSystemEnclosure(Bytes{3, 4, 0, 0, 0, 0, 0, 0}, e));
  EXPECT_TRUE(DecodeSystemEnclosure(Bytes{3, 4, 0, 0, 0, 0, 0, 0, 0}, e));
}

TEST(SmbiosTable, ChassisKindIgnoresTheLockBit) {
  const std::pair<std::uint8_t, const char*> cases[] = {{10, "NoteBook"}, {14, "NoteBook"}, {0x8A, "NoteBook"},
                                                        {0x8E, "NoteBook"}, {9, "Desktop"}, {8, "Desktop"},
                                                        {0x89, "Desktop"}, {3, "Desktop"}};
  for (auto [byte, kind] : cases) {
    EXPECT_EQ(InfoOf(SystemEnclosure(1, byte, {"M"})).chassisKind, kind) << int(byte);
  }
  EXPECT_EQ(InfoOf(kFirstSystem).chassisKind, "") << "no enclosure structure, no kind";
}

TEST(SmbiosTable, StringLookupStaysInsideTheStructure) {
  const Bytes s = Structure(1, 0, {}, {"one", "two"});
  EXPECT_EQ(SmbiosString(s, 0), "");
  EXPECT_EQ(SmbiosString(s, 1), "one");
  EXPECT_EQ(SmbiosString(s, 2), "two");
  EXPECT_EQ(SmbiosString(s, 3), "");
  EXPECT_EQ(SmbiosString(s, 255), "");
  EXPECT_EQ(SmbiosString(Structure(1, 0, {}, {}), 1), "") << "no strings at all";
  EXPECT_EQ(SmbiosString(Bytes{1, 4, 0, 0, 'a', 'b', 'c'}, 1), "") << "no terminator";
  EXPECT_EQ(SmbiosString(Bytes{1, 4, 0, 0, 'a', 0, 'b', 'c'}, 2), "") << "the second has no terminator";
  EXPECT_EQ(SmbiosString(Bytes{1, 200, 0, 0, 'a', 0, 0}, 1), "") << "formatted length past the end";
  EXPECT_EQ(SmbiosString(Bytes{1}, 1), "");
  EXPECT_EQ(SmbiosString(Bytes{}, 1), "");
}

TEST(SmbiosTable, MalformedTablesEndTheWalkAndKeepWhatCameBefore) {
  Bytes truncatedStrings = kSecondSystem;
  truncatedStrings.resize(truncatedStrings.size() - 1);  // the closing double zero is cut
  Bytes formattedPastEnd = {1, 60, 0, 0, 1, 2};           // formatted length beyond the data
  struct Case {
    const char* what;
    Bytes table;
    std::string manufacturer;
  } cases[] = {
      {"empty", {}, ""},
      {"one byte", {1}, ""},
      {"formatted area runs past the end", formattedPastEnd, ""},
      {"first ok, then formatted area past the end", Concat({kFirstSystem, formattedPastEnd}), "Acme"},
      {"string set without its double zero", Concat({kBios, truncatedStrings}), ""},
      {"formatted length 0", Concat({Bytes{9, 0, 0}, kFirstSystem}), "Acme"},
      {"a lone trailing byte", Concat({kFirstSystem, Bytes{1}}), "Acme"},
  };
  for (const Case& c : cases) {
    SmbiosTable table = LoadTable(c.table);
    SmbiosSystemRecord s;
    bool decoded = table.Decode(s);
    EXPECT_EQ(decoded ? s.manufacturer : "", c.manufacturer) << c.what;
  }
  // Formatted length 0 swallows the type and length bytes: the walk goes on from the double zero.
  std::vector<std::uint8_t> types;
  WalkSmbiosStructures(Concat({Bytes{9, 0, 0}, kEnclosure}), [&](std::uint8_t t, auto) { types.push_back(t); });
  EXPECT_EQ(types, (std::vector<std::uint8_t>{9, 3}));
}

// Reads one of the kernel's published fields from a map (absent: unreadable).
auto FieldReader(const std::map<std::string, std::string>& fields) {
  return [&fields](const std::string& name) -> std::optional<std::string> {
    auto it = fields.find(name);
    if (it == fields.end()) return std::nullopt;
    return it->second;
  };
}

TEST(SmbiosInfo, FallsBackToTheKernelsPublishedFields) {
  std::map<std::string, std::string> fields = {
      {"sys_vendor", "Acme"},          {"product_name", "Roadster 15"}, {"product_version", "R1"},
      {"product_sku", "SKU-7"},        {"chassis_type", "14"},          {"chassis_vendor", "Acme Cases"},
      {"chassis_version", "C2"},       {"chassis_asset_tag", "Asset 42"},
      {"product_serial", "SN-0001"},   {"chassis_serial", "CS-9"}};  // readable here: run as administrator
  auto read = FieldReader(fields);
  SmbiosInfo info;
  ASSERT_TRUE(info.FillFromDmiId(read));
  EXPECT_EQ(info.Joined(), "Asset 42" "Acme Cases" "" "NoteBook" "C2" "Acme" "Roadster 15" "" "SKU-7" "R1");
  fields["chassis_type"] = "3";
  ASSERT_TRUE(info.FillFromDmiId(read));
  EXPECT_EQ(info.chassisKind, "Desktop");
  fields["chassis_type"] = "ten";
  ASSERT_TRUE(info.FillFromDmiId(read));
  EXPECT_EQ(info.chassisKind, "");

  fields.clear();
  EXPECT_FALSE(info.FillFromDmiId(read));
  EXPECT_EQ(info.systemManufacturer, "Acme") << "nothing read, nothing changed";
}

// The administrator decodes the raw table, a user reads what the kernel published from that same
// table (serial numbers unreadable, the chassis type without its lock bit, fields beyond a
// structure's formatted area absent, strings of spaces empty): both hash the same strings.
TEST(SmbiosInfo, TheRawTableAndThePublishedFieldsGiveTheSameStrings) {
  struct Case {
    const char* what;
    Bytes table;
    std::map<std::string, std::string> published;  // as a user can read them
  } cases[] = {
      {"current layouts, a notebook with a lock",
       Concat({SystemInformation(1, {"Acme", "Roadster 15", "   ", "SN-0001", "SKU-7", "Roadsters"}),
               SystemEnclosure(2, 0x8A, {"Acme Cases", "C2", "CS-9", "Asset 42"}), kEnd}),
       {{"sys_vendor", "Acme"}, {"product_name", "Roadster 15"}, {"product_version", ""}, {"product_sku", "SKU-7"},
        {"chassis_type", "10"}, {"chassis_vendor", "Acme Cases"}, {"chassis_version", "C2"},
        {"chassis_asset_tag", "Asset 42"}}},
      {"an older system structure without SKU and family",
       // 25 formatted bytes: the SKU's offset (19h) is where the strings begin ("\x03" reads as
       // index 3 when taken at its fixed offset).
       Concat({Structure(1, 1, {1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 6},
                         {"\x03" "Acme", "Box", "v1", "SN"}),
               Structure(3, 2, {1, 3, 2, 3, 0}, {"Case", "v2", "CS"}), kEnd}),
       {{"sys_vendor", "\x03" "Acme"}, {"product_name", "Box"}, {"product_version", "v1"},
        {"chassis_type", "3"}, {"chassis_vendor", "Case"}, {"chassis_version", "v2"}, {"chassis_asset_tag", ""}}},
      {"no enclosure", Concat({kFirstSystem, kEnd}),
       {{"sys_vendor", "Acme"}, {"product_name", "Roadster 15"}, {"product_version", "R1"}, {"product_sku", "SKU-7"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SmbiosInfo administrator = InfoOf(c.table);
    SmbiosInfo user;
    ASSERT_TRUE(user.FillFromDmiId(FieldReader(c.published)));
    EXPECT_EQ(administrator.Joined(), user.Joined());
    EXPECT_NE(administrator.Joined(), "");
  }
}

}  // namespace
