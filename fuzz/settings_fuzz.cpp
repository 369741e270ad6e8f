// The settings reader on arbitrary bytes: it must never fail, every value it
// takes stays in its range, and what it writes back reads the same.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/setengine.h"
#include "app/settings.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

void CheckRanges(const varlo::SETTINGS_P& s) {
  using namespace varlo;
  Check(s.DefJig.Level >= 0 && s.DefJig.Level <= kLevelMax);
  Check(s.DefJig.ShapeStyle <= 6 && s.DefJig.BorderStyle <= 1 && s.DefJig.SpreadOut <= 1);
  Check(s.DefJig.Rotate <= 1 && s.DefJig.FitToScreen <= 1);
  Check(s.AutoSave_iIntervalMin >= kAutoSaveMinutesMin && s.AutoSave_iIntervalMin <= kAutoSaveMinutesMax);
  Check(s.Opt.EmbossStyle <= 3 && s.Opt.WoodStyle <= 2 && s.Opt.WoodColor <= 0xFFFFFF);
  Check(s.Opt.iStuckKoef >= kStuckKoefMin && s.Opt.iStuckKoef <= kStuckKoefMax);
  Check(s.Opt.iSecureMethodInd >= 0 && s.Opt.iSecureMethodInd < kSecureMethodCount);
  Check(!s.Opt.sDnSrc.empty());
  Check(s.Play.RotCW_Button <= kMbMiddle && s.Play.RotCCW_Button <= kMbMiddle &&
        s.Play.MoveOW_Button <= kMbMiddle);
  Check(s.Play.RotCW_Shift <= 7 && s.Play.RotCCW_Shift <= 7 && s.Play.MoveOW_Shift <= 7);
  Check(s.Recent.Count >= 0 && s.Recent.Count <= kRecentFileMax);
  for (int32_t i = 0; i < s.Recent.Count; ++i) Check(!s.Recent.Items[i].sPath.empty());
  Check(LangIdValid(s.sCurLang));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace varlo;
  FILE_NAMES names;
  names.sThumbDir = "/install/thumb/";
  names.sUserJigDir = "/user/Jigsaws/";
  names.sSolveDir = "/user/Saved Games/";

  SetEngine ini;
  ini.SetLoadText(std::string_view(reinterpret_cast<const char*>(data), size));
  SETTINGS_P s = DefaultSettings(names);
  ReadSettings(ini, s, names);
  CheckRanges(s);

  // Merge the settings into the same lines, as the game does at exit.
  WriteSettings(ini, s);
  SetEngine again;
  again.SetLoadText(ini.Text());
  Check(again.lines() == ini.lines());
  SETTINGS_P t = DefaultSettings(names);
  ReadSettings(again, t, names);
  Check(t == s);
  return 0;
}
