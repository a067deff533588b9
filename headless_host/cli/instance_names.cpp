#include "headless_host/cli/instance_names.h"

#include <variant>

#include "headless_host/cli/run_error.h"

namespace knotwell::cli {

void InstanceNames::Name(const project::Layer& layer, const project::Effect& effect, std::string name) {
    if (name.empty()) {
        // The first of "Knotwell", "Knotwell 2", ... that no effect has.
        name = effect.name;
        for (int number = 2; Find(layer, name) != nullptr; ++number) {
            name = effect.name + " " + std::to_string(number);
        }
    }
    names_[&effect] = std::move(name);
}

void InstanceNames::NameNew(const project::Layer& layer) {
    for (const project::Effect& effect : layer.effects) {
        if (!names_.contains(&effect)) Name(layer, effect, "");
    }
}

const project::Effect* InstanceNames::Find(const project::Layer& layer, std::string_view name) const {
    for (const project::Effect& effect : layer.effects) {
        const auto found = names_.find(&effect);
        if (found != names_.end() && found->second == name) return &effect;
    }
    return nullptr;
}

host::EffectInstance& FindInstance(host::Project& project, project::Layer& layer, const InstanceNames& names,
                                   const project_file::EffectRef& ref, const std::string& path) {
    const project::Effect* effect = nullptr;
    if (const int* position = std::get_if<int>(&ref)) {
        const auto count = static_cast<int>(layer.effects.size());
        if (*position >= count) {
            const std::string positions =
                count == 0 ? "" : "; positions go from 0 to " + std::to_string(count - 1);
            throw RunError(path, "layer \"" + layer.name + "\" has " + std::to_string(count) +
                                     (count == 1 ? " effect" : " effects") + positions);
        }
        effect = &layer.effects[static_cast<std::size_t>(*position)];
    } else {
        effect = names.Find(layer, std::get<std::string>(ref));
        if (effect == nullptr) {
            throw RunError(path, "no effect on layer \"" + layer.name + "\" is named \"" +
                                     std::get<std::string>(ref) + "\"");
        }
    }
    host::EffectInstance* instance = project.InstanceOf(*effect);
    if (instance == nullptr) throw RunError(path, "the effect has been removed");
    return *instance;
}

}  // namespace knotwell::cli
