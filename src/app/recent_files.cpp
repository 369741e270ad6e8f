#include "app/recent_files.h"

#include <algorithm>
#include <cctype>
#include "raster/path_ascii.h"

namespace varlo {

bool SamePathNoCase(const std::string& a, const std::string& b) { return EqualsIgnoreAsciiCase(a, b); }

void AddRecentFile(RECENT_FILES& recent, const std::string& path) {
  if (path.empty()) return;
  recent.Count = std::clamp(recent.Count, 0, kRecentFileMax);
  int32_t found = -1;
  for (int32_t i = 0; i < recent.Count; ++i)
    if (SamePathNoCase(recent.Items[static_cast<size_t>(i)].sPath, path)) found = i;
  int32_t last = found;
  if (found < 0) {
    last = std::min(recent.Count, kRecentFileMax - 1);
    recent.Count = std::min(recent.Count + 1, kRecentFileMax);
  }
  for (int32_t i = last; i > 0; --i) recent.Items[static_cast<size_t>(i)] = recent.Items[static_cast<size_t>(i - 1)];
  recent.Items[0].sPath = path;
  recent.Items[0].sName = FileNameOfPath(path);
}

std::string RecentCaption(const RECENT_FILES& recent, int32_t k) {
  if (k < 0 || k >= kRecentFileMax) return {};
  return "&" + std::to_string(k + 1) + ". " + recent.Items[static_cast<size_t>(k)].sName;
}

}  // namespace varlo
