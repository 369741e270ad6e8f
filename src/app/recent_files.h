// The four most recent files of the File menu.
#pragma once

#include <string>

#include "app/settings.h"

namespace varlo {

// Puts path at the top of the list: an entry already there (compared
// without regard to case) moves up, a new one pushes the others down and
// the oldest out. Nothing happens for an empty path.
void AddRecentFile(RECENT_FILES& recent, const std::string& path);

// The menu caption of entry k: "&1. Tiger.ast" (the digit is the access key).
std::string RecentCaption(const RECENT_FILES& recent, int32_t k);

// Equal paths without regard to ASCII case.
bool SamePathNoCase(const std::string& a, const std::string& b);

}  // namespace varlo
