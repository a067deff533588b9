// The property list every Knotwell plug-in carries. Only the display name,
// the match name and the host interface generation differ between the six
// libraries; everything else agrees with what global setup reports.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "headless_host/generation.h"
#include "headless_host/loading/property_list.h"

namespace knotwell::pipl {

// "current" or "legacy", the names the build uses.
std::optional<host::Generation> ParseGeneration(std::string_view name);

host::PropertyList PluginPropertyList(std::string display_name, std::string match_name,
                                      host::Generation generation);

}  // namespace knotwell::pipl
