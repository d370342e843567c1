// Every build's tests run on 64-bit Windows: the 64-bit build's as native
// processes, the 32-bit build's as 32-bit processes on it (WoW64), the way
// the program that ships runs. A 32-bit prefix would otherwise let the
// 32-bit build's WOW64 cases skip where they must run.
#include <windows.h>

#include <gtest/gtest.h>

#include "wine/RunningProgram.h"

namespace nb {
namespace {

constexpr bool kThirtyTwoBitBuild = sizeof(void*) == 4;

TEST(ProcessKindWine, TestsRunOn64BitWindowsAsProcessesOfTheirBuild) {
  SYSTEM_INFO native{};
  ::GetNativeSystemInfo(&native);
  EXPECT_EQ(native.wProcessorArchitecture, PROCESSOR_ARCHITECTURE_AMD64) << "the prefix is not 64-bit Windows";
  wchar_t folder[MAX_PATH] = {};
  EXPECT_GT(::GetSystemWow64DirectoryW(folder, MAX_PATH), 0u) << "64-bit Windows has a 32-bit system folder";
  BOOL wow64 = FALSE;
  ASSERT_TRUE(::IsWow64Process(::GetCurrentProcess(), &wow64));
  EXPECT_EQ(wow64 != FALSE, kThirtyTwoBitBuild);
}

TEST(ProcessKindWine, TheProgramBesideTheTestsIsOfTheSameBuild) {
  DWORD kind = 0;
  ASSERT_TRUE(::GetBinaryTypeW(wine::ProgramPath().c_str(), &kind));
  EXPECT_EQ(kind, kThirtyTwoBitBuild ? DWORD(SCS_32BIT_BINARY) : DWORD(SCS_64BIT_BINARY));
}

}  // namespace
}  // namespace nb
