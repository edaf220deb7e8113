#include "tests/fake/fake_platform.h"

#include "monitor/local_seconds.h"
#include "monitor/sjis_path.h"

UtcSeconds FakeClock::UtcNow() { return SecondsOf(now) - utcOffset; }

LocalTime FakeClock::LocalAt(UtcSeconds time) { return LocalTimeOf(time + utcOffset); }

namespace {

class FakeHandle : public FileHandle {
 public:
  FakeHandle(FakeFileSystem& fs, FakeFile& file) : fs_(fs), file_(file) {}
  std::uint32_t Write(const std::string& bytes, std::size_t& written) override {
    written = bytes.size() < fs_.diskSpace ? bytes.size() : fs_.diskSpace;
    file_.bytes += bytes.substr(0, written);
    fs_.diskSpace -= written;
    return 0;
  }
  std::uint32_t Close() override {
    const std::uint32_t error = fs_.closeError;
    fs_.closeError = 0;
    return error;
  }

 private:
  FakeFileSystem& fs_;
  FakeFile& file_;
};

}  // namespace

bool FakeFileSystem::FolderOf(const std::string& path) const {
  std::string folder = DirectoryPart(path);
  if (folder.empty()) return true;  // relative to the current folder
  if (folder.size() > 1 && folder.back() == '\\') folder.pop_back();
  return directories.count(folder) != 0;
}

std::unique_ptr<FileHandle> FakeFileSystem::OpenForAppend(const std::string& path,
                                                          std::uint32_t& error) {
  ++opens;
  auto it = files.find(path);
  if (it == files.end()) {
    error = FolderOf(path) ? 2 : 3;
    return nullptr;
  }
  if (it->second.readOnly) {
    error = 5;
    return nullptr;
  }
  if (it->second.heldForWriting) {
    error = 32;
    return nullptr;
  }
  error = 0;
  return std::make_unique<FakeHandle>(*this, it->second);
}

std::unique_ptr<FileHandle> FakeFileSystem::CreateNew(const std::string& path,
                                                      std::uint32_t& error) {
  ++creates;
  if (!FolderOf(path)) {
    error = 3;
    return nullptr;
  }
  if (files.count(path) != 0) {
    error = 80;
    return nullptr;
  }
  error = 0;
  return std::make_unique<FakeHandle>(*this, files[path]);
}

std::unique_ptr<FileHandle> FakeFileSystem::Replace(const std::string& path,
                                                    std::uint32_t& error) {
  auto it = files.find(path);
  error = !FolderOf(path) ? 3
          : it == files.end() ? 0
          : it->second.readOnly ? 5
          : it->second.heldForWriting ? 32
                                      : 0;
  if (error != 0) return nullptr;
  files[path].bytes.clear();
  return std::make_unique<FakeHandle>(*this, files[path]);
}

bool FakeFileSystem::DirectoryExists(const std::string& path) {
  if (path.empty()) return false;
  std::string folder = path;
  if (folder.size() > 1 && folder.back() == '\\') folder.pop_back();
  return directories.count(folder) != 0;
}

std::string FakeFileSystem::GetEnv(const std::string& name) {
  auto it = environment.find(name);
  return it == environment.end() ? std::string() : it->second;
}

namespace {

bool SameKey(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::string LowerCase(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

}  // namespace

std::string FakeProfile::Trimmed(const std::string& value) {
  const std::size_t first = value.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return value.substr(first, value.find_last_not_of(" \t") - first + 1);
}

std::vector<FakeProfile::Entry>* FakeProfile::Keys(const std::string& path,
                                                   const std::string& section, bool create) {
  if (SameKey(section, "main")) {
    auto file = files.find(path);
    if (file == files.end() && !create) return nullptr;
    return &files[path];
  }
  auto file = otherSections.find(path);
  if (!create && (file == otherSections.end() || file->second.count(LowerCase(section)) == 0))
    return nullptr;
  return &otherSections[path][LowerCase(section)];
}

std::string FakeProfile::Read(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& def) {
  const std::vector<Entry>* keys = Keys(path, section, false);
  if (keys == nullptr) return def;
  for (const Entry& entry : *keys) {
    if (!SameKey(entry.key, key)) continue;
    std::string value = entry.value;
    // Matching quotes around a value are stripped, single or double.
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
      value = value.substr(1, value.size() - 2);
    return value.substr(0, 2047);
  }
  return def;
}

bool FakeProfile::Write(const std::string& path, const std::string& section,
                        const std::string& key, const std::string& value) {
  if (readOnly.count(path) != 0 || refusedKeys.count(key) != 0) return false;
  std::vector<Entry>& keys = *Keys(path, section, true);
  for (Entry& entry : keys)
    if (SameKey(entry.key, key)) {
      entry.value = Trimmed(value);
      return true;
    }
  keys.push_back({key, Trimmed(value)});
  return true;
}

bool FakeProfile::DeleteSection(const std::string& path, const std::string& section) {
  if (readOnly.count(path) != 0 || Keys(path, section, false) == nullptr) return false;
  if (SameKey(section, "main")) {
    files.erase(path);
    return true;
  }
  otherSections[path].erase(LowerCase(section));
  return true;
}

void FakeDialogs::ShowMessage(WindowId owner, const std::string& text, const std::string& caption,
                             MessageKind kind) {
  boxes.push_back({owner, text, caption, kind});
  if (whileShown) whileShown(boxes.back());
}

bool FakeDialogs::RunFileDialog(FileDialogRequest& request) {
  fileDialogs.push_back(request);
  if (!confirmFileDialog) return false;
  request.fileName = chosenFile;
  return true;
}

FakePlatform::FakePlatform() {
  Platform platform;
  platform.clock = &clock;
  platform.files = &files;
  platform.sound = &sound;
  platform.power = &power;
  platform.memory = &memory;
  platform.profile = &profile;
  platform.dialogs = &dialogs;
  platform.windows = &windows;
  platform.version = &version;
  platform.processes = &processes;
  platform.suspendResume = &suspendResume;
  platform.systemLog = &systemLog;
  InstallPlatform(platform);
}

FakePlatform::~FakePlatform() { InstallPlatform(Platform()); }

bool FakeWindowSystem::WaitAndDispatch() {
  if (onDispatch) onDispatch();
  if (dispatchResults.empty()) return true;
  const bool result = dispatchResults.front();
  dispatchResults.erase(dispatchResults.begin());
  journal.push_back(result ? "dispatch" : "quit taken");
  return result;
}

bool FakeWindowSystem::DispatchPending() {
  journal.push_back("process messages");
  if (onDispatch) onDispatch();
  return true;
}

void FakeWindowSystem::Show(WindowId window, int command) {
  journal.push_back("show " + std::to_string(window) + " " + std::to_string(command));
  // As on Windows, the process's first call follows the launch's command.
  if (!shownOnce && launchShowCommand != 10) command = launchShowCommand;
  shownOnce = true;
  if (command == 0) visible.erase(window);
  if (command == 2 || command == 6 || command == 7) iconic.insert(window);
  if (command == 3) zoomed.insert(window);
  if (command == 9) {
    iconic.erase(window);
    zoomed.erase(window);
  }
  if (command != 0 && command != 6) visible.insert(window);
}

void FakeWindowSystem::TrackPopup(const std::vector<MenuItem>& items, int x, int y,
                                  std::uint32_t flags, WindowId owner) {
  journal.push_back("popup " + std::to_string(items.size()) + " at " + std::to_string(x) + "," +
                    std::to_string(y) + " flags " + std::to_string(flags) + " owner " +
                    std::to_string(owner));
}

bool FakeVersionInfo::ReadBlock(const std::string&, std::uint32_t, void*) { return !readFails; }

const void* FakeVersionInfo::Query(const void*, const std::string& subBlock,
                                   std::uint32_t& length) {
  auto it = values.find(subBlock);
  if (it == values.end()) {
    length = 0;
    return nullptr;
  }
  length = static_cast<std::uint32_t>(it->second.size());
  return it->second.data();
}
