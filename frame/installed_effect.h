// Finding the other Knotwell effects among the host's installed effects.
// The plug-ins never link to one another; they meet in the project and
// recognise each other by display name. Compiled into the maker and the
// baker only.
#pragma once

#include <optional>

#include "frame/host/aegp_suites.h"
#include "frame/suite_handler.h"

namespace knotwell {

// The display names the effects are installed under.
inline constexpr const A_char* kKnotwellDisplayName = "Knotwell";
inline constexpr const A_char* kBakerDisplayName = "Knotwell Baker";

// Walks the host's list of installed effects from its start and compares
// each display name byte for byte with `display_name`. `count` bounds the
// walk: when empty it is fetched from the host and kept, so that a second
// lookup in the same command walks as far as the first. *key becomes the
// effect's key, or AEGP_InstalledEffectKey_NONE when none bears the name.
PF_Err FindInstalledEffect(const AEGP_EffectSuite* effects, const A_char* display_name,
                           std::optional<A_long>& count, AEGP_InstalledEffectKey* key);

// Tells the user, without an error, why an action did not run ("No
// Knotwell", ...). The text is the format, so it must not contain '%'.
void WriteNotice(SuiteHandler& suites, PF_OutData* out_data, const A_char* text);

}  // namespace knotwell
