#include "stats/machine_identity.h"

#include <gtest/gtest.h>

#include "common/base/hash_algorithm.h"
#include "stats/smbios_info.h"

namespace {
using Bytes = std::vector<std::uint8_t>;

// Given facts in place of the machine's.
struct GivenFacts : MachineFactSource {
  std::vector<Bytes> permanent;  // answers of the permanent-address query
  std::vector<Bytes> adapters;   // the adapter list
  platform::CpuidRegisters leaves[4] = {{0x0D, 0x756E6547, 0x6C65746E, 0x49656E69},
                                        {0x000906EA, 0x01020800, 0x7FFAFBBF, 0xBFEBFBFF},
                                        {},
                                        {0x11, 0x22, 0x33, 0x44}};
  bool smbiosPresent = false;
  SmbiosInfo smbios;
  int firstAdapterCalls = 0;

  std::size_t FindAdapterAddress(AdapterAddress& a) override { return SmallestAdapterAddress(permanent, a); }
  std::size_t FirstAdapterAddress(Bytes& a) override {
    ++firstAdapterCalls;
    return FirstNonEmptyAddress(adapters, a);
  }
  platform::CpuidRegisters Cpuid(std::uint32_t leaf) override { return leaf < 4 ? leaves[leaf] : platform::CpuidRegisters{}; }
  bool LoadSmbios(SmbiosInfo& info) override {
    if (smbiosPresent) info = smbios;
    return smbiosPresent;
  }
};

void AppendLe(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

Bytes CpuidPart(const GivenFacts& f) {
  Bytes b;
  for (auto r : {f.leaves[0].eax, f.leaves[0].ebx, f.leaves[0].ecx, f.leaves[0].edx, f.leaves[1].eax,
                 f.leaves[1].ecx, f.leaves[1].edx, f.leaves[3].eax, f.leaves[3].ebx, f.leaves[3].ecx,
                 f.leaves[3].edx})
    AppendLe(b, r);
  return b;
}

TEST(MachineBlock, IsTheSmallestPermanentAddressThenTheCpuidLeavesThenTheSmbiosStrings) {
  GivenFacts f;
  f.permanent = {{0x3C, 0x97, 0x0E, 0x11, 0x22, 0x33}, {0x00, 0x1B, 0x21, 0xAA, 0xBB, 0xCC}};
  f.adapters = {{9, 9, 9, 9, 9, 9}};
  f.smbiosPresent = true;
  f.smbios.systemManufacturer = "Acme";
  f.smbios.systemProduct = "Roadster";
  f.smbios.chassisKind = "Desktop";
  f.smbios.enclosureAssetTag = "A1";

  Bytes expected = {0x00, 0x1B, 0x21, 0xAA, 0xBB, 0xCC};
  Bytes cpu = CpuidPart(f);
  expected.insert(expected.end(), cpu.begin(), cpu.end());
  for (char c : std::string("A1" "Desktop" "Acme" "Roadster")) expected.push_back(static_cast<std::uint8_t>(c));
  EXPECT_EQ(BuildMachineBlock(f), expected);
  EXPECT_EQ(f.firstAdapterCalls, 0) << "the adapter list is not asked when a permanent address was found";

  std::swap(f.permanent[0], f.permanent[1]);
  EXPECT_EQ(BuildMachineBlock(f), expected) << "whatever the enumeration order";

  MachineDigest digest{};
  ComputeMachineDigest(digest, f);
  EXPECT_EQ(KwrBase::ToHex(digest), KwrBase::Md5HexDigest(std::string(expected.begin(), expected.end())));
}

TEST(MachineBlock, FallsBackToTheAdapterListThenToNoAddress) {
  GivenFacts f;
  f.adapters = {{}, {0x52, 0x54, 0x00, 0x12, 0x34, 0x56, 0x78, 0x9A}, {1, 2, 3, 4, 5, 6}};
  Bytes block = BuildMachineBlock(f);
  ASSERT_EQ(block.size(), 8u + 44u);
  EXPECT_EQ(Bytes(block.begin(), block.begin() + 8), f.adapters[1]);
  EXPECT_EQ(f.firstAdapterCalls, 1);

  f.adapters.clear();
  EXPECT_EQ(BuildMachineBlock(f), CpuidPart(f)) << "44 bytes of CPUID data only";

  f.permanent = {{1, 2, 3, 4, 5, 6}};
  EXPECT_EQ(BuildMachineBlock(f).size(), 50u) << "no SMBIOS data: address and CPUID only";
}

TEST(MachineBlock, LongSmbiosStringsAreCutAt1024Bytes) {
  GivenFacts f;
  f.permanent = {{1, 2, 3, 4, 5, 6}};
  f.smbiosPresent = true;
  f.smbios.enclosureAssetTag = std::string(600, 'a');
  f.smbios.systemVersion = std::string(600, 'z');
  Bytes block = BuildMachineBlock(f);
  ASSERT_EQ(block.size(), kMachineBlockSize);
  EXPECT_EQ(block[50], 'a');
  EXPECT_EQ(block[649], 'a');
  EXPECT_EQ(block[650], 'z');
  EXPECT_EQ(block.back(), 'z');
  MachineDigest digest{};
  ComputeMachineDigest(digest, f);
  EXPECT_EQ(KwrBase::ToHex(digest), KwrBase::Md5HexDigest(std::string(block.begin(), block.end())));
}

TEST(AdapterAddress, SmallestAnswerAsUnsignedBytesCutOrFilledToSix) {
  AdapterAddress a{};
  EXPECT_EQ(SmallestAdapterAddress({}, a), 0u);
  EXPECT_EQ(SmallestAdapterAddress({{0xF0, 1}, {0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xEE}, {0xF0, 0}}, a), 3u);
  EXPECT_EQ(a, (AdapterAddress{0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})) << "0x7F sorts before 0xF0 (unsigned)";
  EXPECT_EQ(SmallestAdapterAddress({{0xF0, 1}, {0xF0, 0}}, a), 2u);
  EXPECT_EQ(a, (AdapterAddress{0xF0, 0, 0, 0, 0, 0}));
}

TEST(AdapterAddress, FirstNonEmptyOfTheListAndAnAbsurdLengthEndsTheSearch) {
  Bytes a;
  EXPECT_EQ(FirstNonEmptyAddress({}, a), 0u);
  EXPECT_EQ(FirstNonEmptyAddress({{}, {}}, a), 0u);
  EXPECT_EQ(FirstNonEmptyAddress({{}, {7, 7}, {8, 8, 8}}, a), 2u);
  EXPECT_EQ(a, (Bytes{7, 7}));
  EXPECT_EQ(FirstNonEmptyAddress({{}, Bytes(1024, 1), {8, 8, 8}}, a), 0u);
}

TEST(MachineDigest, TheSystemsDigestIsStable) {
  MachineDigest first{}, second{};
  ComputeMachineDigest(first);
  ComputeMachineDigest(second);
  EXPECT_EQ(first, second);
  EXPECT_NE(first, MachineDigest{});
  // This machine's block: the address piece (0 or 6 bytes here), 44 CPUID bytes, maybe strings.
  Bytes block = BuildMachineBlock(SystemMachineFacts());
  EXPECT_GE(block.size(), 44u);
  EXPECT_LE(block.size(), kMachineBlockSize);
}

}  // namespace
