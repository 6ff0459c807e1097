#include "platform/sim/sim_registry.h"

#include <mutex>
#include <shared_mutex>

namespace kavlo::platform::sim {
namespace {

constexpr std::uint32_t kKeySetValue = 0x0002;
constexpr WinError kKeyDeleted = 1018;  // an operation on a key that has been deleted

class SimRegistryKey final : public RegistryKey {
public:
    SimRegistryKey(std::shared_ptr<RegistryStore> store, RegistryNode* node, std::uint32_t access)
        : store_(std::move(store)), node_(node), access_(access) {}

    Result<RegValue> QueryValue(std::string_view name, std::size_t bufferSize) const override {
        std::shared_lock lock(store_->mutex());
        if (node_->deleted()) return Result<RegValue>::Failure(kKeyDeleted);
        const NamedRegValue* found = node_->FindValue(name);
        if (!found) return Result<RegValue>::Failure(err::kFileNotFound);
        if (found->value.data.size() > bufferSize) return Result<RegValue>::Failure(err::kMoreData);
        return found->value;
    }

    Result<std::string> EnumSubkey(std::uint32_t index, std::size_t maxNameChars) const override {
        std::shared_lock lock(store_->mutex());
        if (node_->deleted()) return Result<std::string>::Failure(kKeyDeleted);
        if (index >= node_->ChildCount()) return Result<std::string>::Failure(err::kNoMoreItems);
        const std::string& name = node_->ChildAt(index).name();
        if (name.size() > maxNameChars) return Result<std::string>::Failure(err::kMoreData);
        return name;
    }

    Result<NamedRegValue> EnumValue(std::uint32_t index, std::size_t maxNameChars,
                                    std::size_t maxDataBytes) const override {
        std::shared_lock lock(store_->mutex());
        if (node_->deleted()) return Result<NamedRegValue>::Failure(kKeyDeleted);
        if (index >= node_->ValueCount()) return Result<NamedRegValue>::Failure(err::kNoMoreItems);
        const NamedRegValue& value = node_->ValueAt(index);
        if (value.name.size() > maxNameChars || value.value.data.size() > maxDataBytes)
            return Result<NamedRegValue>::Failure(err::kMoreData);
        return value;
    }

    Result<std::string> SecurityDescriptor() const override {
        return Result<std::string>::Failure(err::kNotSupported);
    }

    Status SetString(std::string_view name, std::string_view value) override {
        if ((access_ & kKeySetValue) == 0) return Status(err::kAccessDenied);
        std::unique_lock lock(store_->mutex());
        if (node_->deleted()) return Status(kKeyDeleted);
        node_->SetValue(name, RegValue{regtype::kSz, std::string(value)});
        return {};
    }

private:
    std::shared_ptr<RegistryStore> store_;  // keeps the tree alive as long as the key
    RegistryNode* node_;
    std::uint32_t access_;
};

}  // namespace

Result<std::unique_ptr<RegistryKey>> OpenSimKey(const std::shared_ptr<RegistryStore>& store, RegRoot root,
                                                std::string_view path, std::uint32_t access) {
    std::shared_lock lock(store->mutex());
    RegistryNode* node = store->Find(root, path);
    if (!node) return Result<std::unique_ptr<RegistryKey>>::Failure(err::kFileNotFound);
    return std::unique_ptr<RegistryKey>(std::make_unique<SimRegistryKey>(store, node, access));
}

Status DeleteSimKey(const std::shared_ptr<RegistryStore>& store, RegRoot root, std::string_view path) {
    std::unique_lock lock(store->mutex());
    return Status(store->Delete(root, path));
}

Result<std::unique_ptr<RegistryKey>> CreateSimKey(const std::shared_ptr<RegistryStore>& store, RegRoot root,
                                                  std::string_view path) {
    std::unique_lock lock(store->mutex());
    RegistryNode& node = store->Create(root, path);
    return std::unique_ptr<RegistryKey>(std::make_unique<SimRegistryKey>(store, &node, kKeyAllAccess));
}

}  // namespace kavlo::platform::sim
