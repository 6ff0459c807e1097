#pragma once
// Owners of COM resources for late-bound automation calls: the apartment of
// the calling thread, strings, variants and interface pointers. Each releases
// what it holds exactly once, on every path.

#include <objbase.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

namespace kavlo::platform::win32 {

/// COM initialised on the calling thread for the lifetime of this object. A
/// thread already in another apartment keeps it (and nothing is undone).
class ComApartment {
public:
    ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }
    /// False when COM cannot be used on this thread at all.
    bool usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT result_;
};

/// A BSTR owned by this object.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::wstring_view text) : value_(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { ::SysFreeString(value_); }
    BSTR get() const { return value_; }
    /// Where a callee may store a string; whatever was held is freed first.
    BSTR* Receive() {
        ::SysFreeString(value_);
        value_ = nullptr;
        return &value_;
    }

private:
    BSTR value_ = nullptr;
};

/// A VARIANT cleared (releasing its string or object) when this object ends.
class Variant {
public:
    Variant() { ::VariantInit(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { ::VariantClear(&value_); }
    VARIANT* get() { return &value_; }
    VARIANT* Receive() {
        ::VariantClear(&value_);
        return &value_;
    }

private:
    VARIANT value_;
};

/// An interface pointer released when this object ends.
template <class Interface>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
    ~ComPtr() {
        if (value_ != nullptr) value_->Release();
    }
    Interface* get() const { return value_; }
    Interface** Receive() {
        if (value_ != nullptr) value_->Release();
        value_ = nullptr;
        return &value_;
    }

private:
    Interface* value_ = nullptr;
};

}  // namespace kavlo::platform::win32
