// Replacing a file without ever leaving it half written.
//
// The bytes go to a temporary file beside the target, are flushed to the
// disk, and the temporary file is then renamed over the target. A crash or a
// full disk leaves either the old file or the new one, never a truncated mix.
#pragma once

#include <string>
#include <string_view>

namespace varlo {

// Writes bytes to path through path + ".tmp~" and a rename. On failure the
// target is untouched, the temporary file is removed, and error (when given)
// says what went wrong.
bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         std::string* error = nullptr);

}  // namespace varlo
