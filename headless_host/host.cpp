#include "headless_host/host.h"

#include <cassert>
#include <stdexcept>

#include "headless_host/driving/effect_type.h"
#include "headless_host/evaluation/project.h"

namespace knotwell::host {

namespace {
Host* active_host = nullptr;
}

Host::Host(Generation generation)
    : generation_(generation), project_(std::make_unique<Project>(*this)) {
    assert(active_host == nullptr && "only one Host may exist at a time");
    active_host = this;
    RegisterHostSuites(suites_);
}

Host::~Host() {
    Shutdown();
    active_host = nullptr;
}

Host& Host::Active() {
    assert(active_host != nullptr && "no Host exists");
    return *active_host;
}

EffectType& Host::Load(const std::filesystem::path& path) {
    for (const auto& type : types_) {
        if (type->library().path() == path) return *type;
    }
    std::string error;
    auto library = PluginLibrary::Open(path, &error);
    if (!library) throw std::runtime_error(path.string() + ": " + error);
    return *types_.emplace_back(std::make_unique<EffectType>(*this, std::move(library)));
}

void Host::Shutdown() {
    for (auto type = types_.rbegin(); type != types_.rend(); ++type) (*type)->GlobalSetdown();
    types_.clear();
}

const Command* Host::CurrentCommand() const { return commands_.empty() ? nullptr : &commands_.back(); }

Generation Host::generation() const {
    const Command* command = CurrentCommand();
    return command ? command->type->generation() : generation_;
}

EffectInstance* Host::InstanceOf(PF_ProgPtr effect_ref) const {
    const auto found = instances_.find(effect_ref);
    return found == instances_.end() ? nullptr : found->second;
}

EffectType* Host::TypeOfKey(AEGP_InstalledEffectKey key) const {
    if (key < 1 || key > NumInstalledEffects()) return nullptr;
    return types_[static_cast<std::size_t>(key - 1)].get();
}

AEGP_InstalledEffectKey Host::KeyOf(const EffectType& type) const {
    for (std::size_t i = 0; i < types_.size(); ++i) {
        if (types_[i].get() == &type) return static_cast<AEGP_InstalledEffectKey>(i + 1);
    }
    return AEGP_InstalledEffectKey_NONE;
}

EffectType* Host::TypeNamed(std::string_view display_name) const {
    for (const auto& type : types_) {
        if (type->display_name() == display_name) return type.get();
    }
    return nullptr;
}

void Host::AddInstance(EffectInstance& instance) { instances_[instance.effect_ref()] = &instance; }

void Host::RemoveInstance(EffectInstance& instance) { instances_.erase(instance.effect_ref()); }

bool Host::Fits(const void* address, std::size_t bytes) const {
    const auto room = handles_.BytesAvailableAt(address);
    return !room || *room >= bytes;
}

std::size_t Host::TextRoomAt(const void* address) const {
    const Command* command = CurrentCommand();
    if (command && address == command->out->return_msg) return sizeof command->out->return_msg;
    return handles_.BytesAvailableAt(address).value_or(0);
}

}  // namespace knotwell::host
