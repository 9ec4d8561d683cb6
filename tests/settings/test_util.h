// Shared by the settings tests: a throw-away folder and a compact check of stored texts.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <random>
#include <string>

#include "settings/file_system.h"
#include "settings/store.h"

namespace glintora::testing {

// A fresh folder for one test's files, removed with everything in it at the end.
class TempDir {
 public:
  TempDir() { std::filesystem::create_directories(path_); }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& Path() const { return path_; }
  std::size_t Entries() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(path_), {}));
  }
  static void Write(const std::string& file, const std::string& content) {
    std::ofstream(file, std::ios::binary) << content;
  }
  static std::string Read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  const std::filesystem::path path_ = std::filesystem::temp_directory_path() /
                                      ("glintora-settings-" + std::to_string(std::random_device()()));
};

// The system's files with one step of a whole-file write made to fail, the way a full disk, a
// dropped share or a scanner holding the file would: Write stores half the bytes then fails;
// Replace refuses the swap and leaves the target as it was, TargetGone after deleting it,
// TargetAside after renaming it to the backup name (what ReplaceFileW may leave); with NamesTaken
// every name is already taken. With stuckNames every rename fails too. Counts the reads and writes.
class FailingFiles : public FileSystem {
 public:
  enum class Step { None, Write, Replace, TargetGone, TargetAside, NamesTaken };
  static constexpr const char* kReason = "the device is not ready";
  explicit FailingFiles(Step step, bool stuckNames = false) : step_(step), stuck_(stuckNames) {}
  int reads = 0;
  int writes = 0;

  bool FileExists(const std::string& p) override { return real_.FileExists(p); }
  bool PathExists(const std::string& p) override { return step_ == Step::NamesTaken || real_.PathExists(p); }
  bool CreateNewEmptyFile(const std::string& p) override { return real_.CreateNewEmptyFile(p); }
  bool RemoveFile(const std::string& p) override { return real_.RemoveFile(p); }
  char Separator() const override { return real_.Separator(); }
  bool ReadFile(const std::string& p, std::string& b, std::size_t m) override {
    ++reads;
    return real_.ReadFile(p, b, m);
  }
  FileTarget Inspect(const std::string& p) override { return real_.Inspect(p); }
  std::string LegacyToUtf8(std::string_view b) const override { return real_.LegacyToUtf8(b); }
  bool MarksUtf8() const override { return real_.MarksUtf8(); }
  bool WriteNewFile(const std::string& p, std::string_view bytes, std::string& reason) override {
    ++writes;
    if (step_ != Step::Write) return real_.WriteNewFile(p, bytes, reason);
    real_.WriteNewFile(p, bytes.substr(0, bytes.size() / 2), reason);
    real_.RemoveFile(p);  // what the platform does with a write that failed
    reason = kReason;
    return false;
  }
  bool ReplaceFile(const std::string& from, const std::string& to, const std::string& backup,
                   std::string& reason) override {
    if (step_ == Step::None || step_ == Step::Write || step_ == Step::NamesTaken) {
      return real_.ReplaceFile(from, to, backup, reason);
    }
    if (step_ == Step::TargetGone) real_.RemoveFile(to);
    if (step_ == Step::TargetAside) real_.RenameFile(to, backup);
    reason = kReason;
    return false;
  }
  bool RenameFile(const std::string& from, const std::string& to) override {
    return !stuck_ && real_.RenameFile(from, to);
  }

 private:
  Step step_;
  bool stuck_;
  FileSystem& real_ = SystemFileSystem();
};

// Every setting, firework parameters in the record's order: key,section,type,default,dialog
// rule,low,high,box (its field's index),theme column. Read a field with CsvField.
inline constexpr const char* kSettingRows[] = {
    "FireWorks,Fireworks,i16,12,int,1,99,0,0",
    "FireSparks,Fireworks,i16,1200,int,10,9999,1,1",
    "FireLength,Fireworks,i16,5,int,1,99,2,2",
    "FireSymmetry,Fireworks,f32,1,dec,0,1,3,3",
    "FireSizeDev,Fireworks,i16,3,int,1,999,7,7",
    "FireDamping,Fireworks,f32,0.15,dec,0,1,8,8",
    "FireSpeed,Fireworks,f32,6,dec,0.1,99.9,4,4",
    "FirePersist,Fireworks,f32,0.97,dec,0.25,0.99,5,5",
    "FireGravity,Fireworks,f32,0.015,dec,0,9.9,6,6",
    "FireSplinePct,Fireworks,i16,7,int,0,100,9,14",
    "FireSplineKnot,Fireworks,i16,8,int,4,99,10,15",
    "FireScintPct,Fireworks,i16,0,int,0,100,11,26",
    "FireScintStyle,Fireworks,i16,9,int,1,9,12,27",
    "FireMultiPct,Fireworks,i16,20,int,0,100,13,17",
    "FireMultiAge,Fireworks,i16,25,int,5,99,14,18",
    "FireMultiBurst,Fireworks,i16,16,int,1,99,15,19",
    "FireMultiMoment,Fireworks,flag,1,chk,0,1,-,20",
    "FireBurstPct,Fireworks,i16,10,int,0,100,16,21",
    "FireBurstAge,Fireworks,i16,20,int,5,99,17,22",
    "FireBurstCount,Fireworks,i16,12,int,1,99,18,23",
    "FireBurstRadius,Fireworks,f32,3,dec,0.25,99.9,19,24",
    "FireBurstShell,Fireworks,flag,1,chk,0,1,-,25",
    "FireSparkPct,Fireworks,i16,10,int,0,100,25,28",
    "FireSparkAge,Fireworks,i16,25,int,5,99,26,29",
    "FireSparkPix,Fireworks,i16,5,int,1,30,27,30",
    "FireRingPct,Fireworks,i16,10,int,0,100,28,31",
    "FireRingEmb,Fireworks,i16,3,int,1,99,29,32",
    "FireRingDeg,Fireworks,i16,5,int,0,180,30,33",
    "FireTwistPct,Fireworks,i16,10,int,0,100,31,34",
    "FireTwistCnt,Fireworks,i16,12,int,1,99,32,35",
    "FireTwistDeg,Fireworks,i16,15,int,0,90,33,36",
    "FireTwistRad,Fireworks,f32,2,dec,0.1,99.9,34,37",
    "FireTwistExt,Fireworks,f32,25,dec,0,999.9,35,38",
    "FireDecayPct,Fireworks,i16,10,int,0,100,50,39",
    "FireDecayCnt,Fireworks,i16,80,int,1,99,51,40",
    "FireDecayMSize,Fireworks,f32,300,int,1,9999,52,41",
    "FireDecayMLife,Fireworks,i16,80,int,5,999,53,42",
    "FirePatternPct,Fireworks,i16,40,int,0,100,36,16",
    "FireLaunchPct,Fireworks,i16,50,int,0,100,20,9",
    "FireLaunchPixel,Fireworks,i16,125,int,10,999,21,10",
    "FireLaunchRadius,Fireworks,f32,1,dec,0.25,99.9,22,11",
    "FireLaunchSteps,Fireworks,i16,60,int,1,999,23,12",
    "FireLaunchPersist,Fireworks,f32,0.85,dec,0.25,0.99,24,13",
    "ColorRed,General,i16,100,int,0,100,0,-",
    "ColorGrn,General,i16,100,int,0,100,1,-",
    "ColorBlu,General,i16,100,int,0,100,2,-",
    "ColorPctInt,PixelColor,i16,0,int,0,100,0,-",
    "ColorPctHue,PixelColor,i16,100,int,0,100,1,-",
    "ColorHueWheel,PixelColor,i16,60,int,0,360,2,-",
    "FocalLength,Advanced,f32,1.0,dec,0.01,10,-,-",
    "Adv_TimeDelay,Advanced,i32,40,int,0,999,-,-",
    "Adv_FontName,Advanced,text,Arial,-,,,-,-",
    "Adv_FontSize,Advanced,i16,24,int,10,80,-,-",
    "Adv_FontHueV,Advanced,i16,180,int,0,359,-,-",
    "LockMessage,Advanced,text,,-,,,-,-",
    "Adv_WinResize,Advanced,tflag,0,chk,0,1,-,-",
    "Adv_MouseMove,Advanced,tflag,0,chk,0,1,-,-",
    "SoundFX_ON,SoundFX,tflag,0,chk,0,1,-,-",
    "AnimationType,General,i16,0,-,,,-,-",
};

// Rows of {section, key, text as stored}; "<absent>" for a key never written.
inline void ExpectStored(Store& store, std::initializer_list<std::array<const char*, 3>> rows) {
  for (const auto& row : rows) {
    std::string text;
    EXPECT_EQ(store.Read(row[0], row[1], text) ? text : "<absent>", row[2]) << row[0] << "/" << row[1];
  }
}

}  // namespace glintora::testing
