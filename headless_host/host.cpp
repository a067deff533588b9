#include "headless_host/host.h"

#include <cassert>
#include <stdexcept>

#include "headless_host/driving/effect_type.h"

namespace knotwell::host {

namespace {
Host* active_host = nullptr;
}

Host::Host(Generation generation) : generation_(generation) {
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
