#include "platform/sim/sim_registry.h"

#include <mutex>
#include <shared_mutex>

#include "platform/codepage.h"

namespace kavlo::platform::sim {
namespace {

constexpr std::uint32_t kKeySetValue = 0x0002;
constexpr WinError kKeyDeleted = 1018;  // an operation on a key that has been deleted
constexpr WinError kBadPathName = 161;

class SimRegistryKey final : public RegistryKey {
public:
    SimRegistryKey(std::shared_ptr<RegistryStore> store, RegistryNode* node, std::uint32_t access)
        : store_(std::move(store)), node_(node), access_(access) {}

    Result<RegValue> QueryValue(std::string_view name, std::size_t bufferSize) const override {
        const std::u16string wide = AnsiToUtf16(name, store_->codePage());
        std::shared_lock lock(store_->mutex());
        if (node_->deleted()) return Result<RegValue>::Failure(kKeyDeleted);
        const StoredValue* found = node_->FindValue(wide);
        if (!found) return Result<RegValue>::Failure(err::kFileNotFound);
        if (found->value.data.size() > bufferSize) return Result<RegValue>::Failure(err::kMoreData);
        return found->value;
    }

    Result<std::string> EnumSubkey(std::uint32_t index, std::size_t maxNameChars) const override {
        std::shared_lock lock(store_->mutex());
        if (node_->deleted()) return Result<std::string>::Failure(kKeyDeleted);
        if (index >= node_->ChildCount()) return Result<std::string>::Failure(err::kNoMoreItems);
        std::string name = Utf16ToAnsi(node_->ChildAt(index).name(), store_->codePage());
        if (name.size() > maxNameChars) return Result<std::string>::Failure(err::kMoreData);
        return name;
    }

    Result<NamedRegValue> EnumValue(std::uint32_t index, std::size_t maxNameChars,
                                    std::size_t maxDataBytes) const override {
        std::shared_lock lock(store_->mutex());
        if (node_->deleted()) return Result<NamedRegValue>::Failure(kKeyDeleted);
        if (index >= node_->ValueCount()) return Result<NamedRegValue>::Failure(err::kNoMoreItems);
        const StoredValue& value = node_->ValueAt(index);
        std::string name = Utf16ToAnsi(value.name, store_->codePage());
        if (name.size() > maxNameChars || value.value.data.size() > maxDataBytes)
            return Result<NamedRegValue>::Failure(err::kMoreData);
        return NamedRegValue{std::move(name), value.value};
    }

    Result<std::string> SecurityDescriptor() const override { return Result<std::string>::Failure(err::kNotSupported); }

    Status SetString(std::string_view name, std::string_view value) override {
        if ((access_ & kKeySetValue) == 0) return Status(err::kAccessDenied);
        const std::u16string wide = AnsiToUtf16(name, store_->codePage());
        std::unique_lock lock(store_->mutex());
        if (node_->deleted()) return Status(kKeyDeleted);
        node_->SetValue(wide, RegValue{regtype::kSz, std::string(value)});
        return {};
    }

private:
    std::shared_ptr<RegistryStore> store_;  // keeps the tree alive as long as the key
    RegistryNode* node_;
    std::uint32_t access_;
};

// A subkey path as the A functions take it, in UTF-16; fails as Windows does.
// RegDeleteTreeA converts its path without the MAX_PATH buffer (limitLength false).
Result<std::u16string> WidePath(const RegistryStore& store, RegRoot root, std::string_view path,
                                bool limitLength = true) {
    // Below HKEY_CLASSES_ROOT one leading backslash is skipped (Windows 2000 and later).
    if (root == RegRoot::ClassesRoot && !path.empty() && path.front() == '\\') path.remove_prefix(1);
    if (!path.empty() && path.front() == '\\') return Result<std::u16string>::Failure(kBadPathName);
    if (limitLength && path.size() > kMaxAnsiKeyPathChars) return Result<std::u16string>::Failure(err::kMoreData);
    return AnsiToUtf16(path, store.codePage());
}

}  // namespace

Result<std::unique_ptr<RegistryKey>> OpenSimKey(const std::shared_ptr<RegistryStore>& store, RegRoot root,
                                                std::string_view path, std::uint32_t access) {
    using R = Result<std::unique_ptr<RegistryKey>>;
    const auto wide = WidePath(*store, root, path);
    if (!wide) return R::Failure(wide.error());
    std::shared_lock lock(store->mutex());
    RegistryNode* node = store->Find(root, *wide);
    if (!node) return R::Failure(err::kFileNotFound);
    return std::unique_ptr<RegistryKey>(std::make_unique<SimRegistryKey>(store, node, access));
}

Status DeleteSimKey(const std::shared_ptr<RegistryStore>& store, RegRoot root, std::string_view path) {
    if (path.find_first_not_of('\\') == std::string_view::npos) return Status(err::kInvalidParameter);
    const auto wide = WidePath(*store, root, path, false);
    if (!wide) return Status(wide.error());
    std::unique_lock lock(store->mutex());
    return Status(store->Delete(root, *wide));
}

Result<std::unique_ptr<RegistryKey>> CreateSimKey(const std::shared_ptr<RegistryStore>& store, RegRoot root,
                                                  std::string_view path) {
    using R = Result<std::unique_ptr<RegistryKey>>;
    const auto wide = WidePath(*store, root, path);
    if (!wide) return R::Failure(wide.error());
    std::unique_lock lock(store->mutex());
    RegistryNode& node = store->Create(root, *wide);
    return std::unique_ptr<RegistryKey>(std::make_unique<SimRegistryKey>(store, &node, kKeyAllAccess));
}

}  // namespace kavlo::platform::sim
