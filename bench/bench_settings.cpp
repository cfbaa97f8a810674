// config.ini at its largest readable size (1 MiB): the window's start-up reads (eighteen keys)
// and a check-box click (twelve keys written), each through one session that reads the file
// once, beside the same keys read or written one call at a time, which reads the file per key.
#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

#include "settings/IniFile.h"
#include "settings/IniSession.h"
#include "settings/SettingsKeys.h"

namespace {

namespace fs = std::filesystem;
namespace Keys = kvelt::SettingsKeys;

constexpr std::array<std::string_view, 18> kStartupKeys{
    "AutoSave", "SaveDate", "SaveTime",  "SavePos1",   "SavePos2", "SavePos3",
    "SavePos4", "SaveVer1", "SaveVer2",  "SaveVer3",   "SaveVer4", "SaveFile",
    "Div",      "Unit",     "ScreenTop", "ScreenLeft", "Language", "SavePeriod"};
constexpr std::array<std::string_view, 12> kClickKeys{"AutoSave", "SaveDate", "SaveTime", "SavePos1",
                                                      "SavePos2", "SavePos3", "SavePos4", "SaveVer1",
                                                      "SaveVer2", "SaveVer3", "SaveVer4", "SavePeriod"};

// A folder with a config.ini of those keys padded with comment lines to 1 MiB, the
// keys at the end so that every lookup walks the whole file.
class LargeSettingsFile {
 public:
  LargeSettingsFile() {
    folder_ = fs::temp_directory_path() / ("kvelt-bench-settings-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder_);
    path_ = (folder_ / "config.ini").string();
    std::string keys;
    for (const std::string_view key : kStartupKeys) keys += std::string(key) + "=1\r\n";
    std::string text = "[Options]\r\n";
    const std::string comment = "; " + std::string(78, 'x') + "\r\n";
    while (text.size() + comment.size() + keys.size() <= kvelt::IniFile::kMaxFileSize) text += comment;
    text += keys;
    std::ofstream(path_, std::ios::binary) << text;
  }
  ~LargeSettingsFile() {
    std::error_code error;
    fs::remove_all(folder_, error);
  }
  LargeSettingsFile(const LargeSettingsFile&) = delete;
  LargeSettingsFile& operator=(const LargeSettingsFile&) = delete;

  const std::string& Path() const { return path_; }

 private:
  fs::path folder_;
  std::string path_;
};

void StartupReadsInOneSession(benchmark::State& state) {
  const LargeSettingsFile file;
  const kvelt::IniFile ini(file.Path());
  for (auto _ : state) {
    const kvelt::IniSession session(ini);
    for (const std::string_view key : kStartupKeys) {
      benchmark::DoNotOptimize(session.ReadString(Keys::Section, key, ""));
    }
  }
}
BENCHMARK(StartupReadsInOneSession)->Unit(benchmark::kMillisecond);

void StartupReadsOneCallPerKey(benchmark::State& state) {
  const LargeSettingsFile file;
  const kvelt::IniFile ini(file.Path());
  for (auto _ : state) {
    for (const std::string_view key : kStartupKeys) {
      benchmark::DoNotOptimize(ini.ReadString(Keys::Section, key, ""));
    }
  }
}
BENCHMARK(StartupReadsOneCallPerKey)->Unit(benchmark::kMillisecond);

void ClickWritesInOneSession(benchmark::State& state) {
  const LargeSettingsFile file;
  const kvelt::IniFile ini(file.Path());
  bool value = false;
  for (auto _ : state) {
    kvelt::IniSession session(ini);
    for (const std::string_view key : kClickKeys) session.WriteBool(Keys::Section, key, value);
    session.Save();
    value = !value;
  }
}
BENCHMARK(ClickWritesInOneSession)->Unit(benchmark::kMillisecond);

void ClickWritesOneCallPerKey(benchmark::State& state) {
  const LargeSettingsFile file;
  const kvelt::IniFile ini(file.Path());
  bool value = false;
  for (auto _ : state) {
    for (const std::string_view key : kClickKeys) ini.WriteBool(Keys::Section, key, value);
    value = !value;
  }
}
BENCHMARK(ClickWritesOneCallPerKey)->Unit(benchmark::kMillisecond);

}  // namespace
