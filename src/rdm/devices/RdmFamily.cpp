#include "rdm/devices/RdmFamily.h"

#include <mutex>

namespace {

std::mutex& Lock() {
    static std::mutex lock;
    return lock;
}

std::vector<std::unique_ptr<RdmFamily>>& Families() {
    static std::vector<std::unique_ptr<RdmFamily>> families;
    return families;
}

}  // namespace

const std::vector<std::unique_ptr<RdmFamily>>& RdmFamily::All() {
    return Families();
}

void RdmFamily::Register(std::unique_ptr<RdmFamily> family) {
    std::lock_guard lock(Lock());
    Families().push_back(std::move(family));
}

void RdmFamily::Unregister(const RdmFamily* family) {
    std::lock_guard lock(Lock());
    std::erase_if(Families(), [family](const auto& each) { return each.get() == family; });
}

const RdmFamily* RdmFamily::ForModel(const QString& modelDescription) {
    std::lock_guard lock(Lock());
    for (const auto& family : Families()) {
        if (modelDescription.compare(family->ModelName(), Qt::CaseInsensitive) == 0) {
            return family.get();
        }
    }
    return nullptr;
}
