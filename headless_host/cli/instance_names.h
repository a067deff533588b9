// Instance names, as the application gives them: a name the project file
// gives, else the effect's display name, and for a second or later
// instance of the same effect on the layer the display name with a number
// ("Knotwell", "Knotwell 2", ...). Steps and expressions find instances by
// these names.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "headless_host/cli/project_file/description.h"
#include "headless_host/driving/effect_instance.h"
#include "headless_host/project/composition.h"

namespace knotwell::cli {

class InstanceNames {
public:
    // Names the effect; an empty name gives it the default name.
    void Name(const project::Layer& layer, const project::Effect& effect, std::string name);
    // Gives the default name to every effect of the layer that has none
    // yet (those the maker applied), in the layer's order.
    void NameNew(const project::Layer& layer);

    const std::string& Of(const project::Effect& effect) const { return names_.at(&effect); }
    // The layer's effect with that name, or null.
    const project::Effect* Find(const project::Layer& layer, std::string_view name) const;

private:
    std::map<const project::Effect*, std::string> names_;
};

// The instance a step names by name or position on the layer; RunError at
// `path` when there is none.
host::EffectInstance& FindInstance(host::Project& project, project::Layer& layer, const InstanceNames& names,
                                   const project_file::EffectRef& ref, const std::string& path);

}  // namespace knotwell::cli
