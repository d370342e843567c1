// The Platform interface over a SimMachine.
#pragma once

#include "platform/Platform.h"
#include "platform/sim/SimMachine.h"

namespace nb::sim {

class SimPlatform : public Platform {
 public:
  explicit SimPlatform(SimMachine& machine) : m_(machine) {}

  std::unique_ptr<FolderListing> FindFirst(const Text& pattern, FindEntry& first) override;
  uint32_t GetFileAttributes(const Text& path, uint32_t& attributes) override;
  uint32_t InspectEntry(const Text& path, EntryInfo& entry) override;
  uint32_t OpenFolderAt(const Text& path, std::unique_ptr<OpenFolder>& folder) override;
  uint32_t OpenFolderBelow(OpenFolder& base, const Text& relative, std::unique_ptr<OpenFolder>& folder) override;
  bool IdentifyFolder(OpenFolder& folder, FolderIdentity& identity) override;
  DeleteOutcome DeleteFileIn(OpenFolder& folder, const Text& name) override;
  std::unique_ptr<FolderListing> ListFolder(OpenFolder& folder, FindEntry& first) override;
  bool RemoveFolderIn(OpenFolder& folder, const Text& name) override;
  uint32_t OpenForRead(const Text& path, uint32_t share, std::unique_ptr<OpenFile>& file) override;

  std::optional<Text> GetSpecialFolder(int csidl) override;
  Text GetWindowsDirectory() override { return m_.windowsFolder; }
  Text GetSystemDirectory() override { return m_.systemFolder; }
  std::optional<Text> GetUserName() override { return m_.userName; }
  std::optional<uint32_t> GetMajorVersion() override { return m_.majorVersion; }

  std::optional<Text> GetEnvironmentVariable(const Text& name) override;
  std::optional<Text> ExpandEnvironmentStrings(const Text& text, uint32_t bufferChars) override;
  Text GetPrivateProfileString(const Text& section, const Text& key, const Text& fallback, const Text& file) override;
  Text GetDecimalSeparator() override { return m_.decimalSeparator; }
  Text DecodeAnsi(const std::string& bytes) override { return FromLatin1(bytes); }

  uint32_t GetLogicalDrives() override;
  uint32_t GetDriveType(const Text& root) override;

  uint32_t OpenKey(uint32_t root, const Text& path, uint32_t access, std::unique_ptr<RegistryKey>& key) override;
  uint32_t CreateKey(uint32_t root, const Text& path, uint32_t access, std::unique_ptr<RegistryKey>& key) override;

  bool DisableWow64Redirection() override;
  bool EnableWow64Redirection() override;

  std::optional<std::vector<Text>> ProcessNames() override;

  uintptr_t FindWindow(const Text& className, const Text& title) override;
  uint32_t RegisterWindowMessage(const Text& name) override;
  bool PostMessage(uintptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  void Sleep(uint32_t milliseconds) override { m_.sleptMilliseconds += milliseconds; }

  SimMachine& machine() { return m_; }

 private:
  SimMachine& m_;
};

}  // namespace nb::sim
