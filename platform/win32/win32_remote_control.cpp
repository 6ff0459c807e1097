#include "platform/win32/win32_remote_control.h"

#include "platform/win32/handles.h"  // winsock2.h must come before windows.h

#include <array>

#include "platform/win32/com_objects.h"

namespace kavlo::platform::win32 {
namespace {

// Dispatch ids of the data manager and of a caller object.
namespace manager {
constexpr DISPID kSelectFolder = 1, kFirstFile = 4, kNextFile = 5, kOpenCaller = 6;
}
namespace property {
constexpr DISPID kAreaCode = 1, kLoginName = 2, kPhoneNumber = 8, kScriptName = 12, kDevice = 14, kParity = 15,
                 kLineSetting = 16, kSpeed = 19, kUseDialProperties = 34, kConnectionAttempts = 35,
                 kSecondsBetweenRetries = 36, kAutoTransfer = 37, kRunScript = 38, kCountry = 39;
}

// A server that keeps reporting files is stopped here.
constexpr int kMaxFiles = 100000;
constexpr int kMaxTextChars = 32767;

WinError ErrorOfHresult(HRESULT result) {
    if (result == REGDB_E_CLASSNOTREG || result == CO_E_CLASSSTRING) return ERROR_FILE_NOT_FOUND;
    if (HRESULT_FACILITY(result) == FACILITY_WIN32 && HRESULT_CODE(result) != 0)
        return static_cast<WinError>(HRESULT_CODE(result));
    return ERROR_GEN_FAILURE;
}

std::wstring Wide(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int count = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(count > 0 ? count : 0), L'\0');
    if (count > 0) ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), count);
    return wide;
}

std::string Ansi(BSTR text) {
    const UINT length = ::SysStringLen(text);
    if (length == 0) return {};
    const int chars = static_cast<int>(length < static_cast<UINT>(kMaxTextChars) ? length : kMaxTextChars);
    const int count = ::WideCharToMultiByte(CP_ACP, 0, text, chars, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(count > 0 ? count : 0), '\0');
    if (count > 0) ::WideCharToMultiByte(CP_ACP, 0, text, chars, ansi.data(), count, nullptr, nullptr);
    return ansi;
}

// One late-bound call; `arguments` are in the order the callee declares them.
template <std::size_t N>
HRESULT Call(IDispatch* object, DISPID id, WORD kind, std::array<VARIANTARG, N> arguments, VARIANT* result) {
    // Invoke takes the arguments last first.
    std::array<VARIANTARG, N> reversed;
    for (std::size_t i = 0; i < N; ++i) reversed[i] = arguments[N - 1 - i];
    DISPPARAMS parameters{N == 0 ? nullptr : reversed.data(), nullptr, static_cast<UINT>(N), 0};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters, result, nullptr, nullptr);
}

VARIANTARG StringArgument(BSTR text) {
    VARIANTARG argument;
    ::VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = text;
    return argument;
}

VARIANTARG StringOutArgument(Bstr& target) {
    VARIANTARG argument;
    ::VariantInit(&argument);
    argument.vt = VT_BSTR | VT_BYREF;
    argument.pbstrVal = target.Receive();
    return argument;
}

bool IsTrue(Variant& value) {
    return SUCCEEDED(::VariantChangeType(value.get(), value.get(), 0, VT_BOOL)) &&
           value.get()->boolVal != VARIANT_FALSE;
}

// A property read by dispatch id, converted to the type asked for; a failed read
// or conversion gives an empty or zero value.
class Properties {
public:
    explicit Properties(IDispatch* object) : object_(object) {}

    std::string Text(DISPID id) {
        Variant value;
        if (!Read(id, value, VT_BSTR)) return {};
        return Ansi(value.get()->bstrVal);
    }
    std::int32_t Long(DISPID id) {
        Variant value;
        return Read(id, value, VT_I4) ? value.get()->lVal : 0;
    }
    std::int16_t Short(DISPID id) {
        Variant value;
        return Read(id, value, VT_I2) ? value.get()->iVal : 0;
    }
    bool Flag(DISPID id) {
        Variant value;
        return Read(id, value, VT_BOOL) && value.get()->boolVal != VARIANT_FALSE;
    }

private:
    bool Read(DISPID id, Variant& value, VARTYPE type) {
        if (FAILED(Call<0>(object_, id, DISPATCH_PROPERTYGET, {}, value.Receive()))) return false;
        return SUCCEEDED(::VariantChangeType(value.get(), value.get(), 0, type));
    }
    IDispatch* object_;
};

RemoteCallerFile ReadCaller(IDispatch* object, std::string fileName) {
    Properties read(object);
    RemoteCallerFile caller;
    caller.fileName = std::move(fileName);
    caller.device = read.Text(property::kDevice);
    caller.speed = read.Long(property::kSpeed);
    caller.parity = read.Text(property::kParity);
    caller.lineSetting = read.Text(property::kLineSetting);
    caller.useDialProperties = read.Flag(property::kUseDialProperties);
    caller.areaCode = read.Text(property::kAreaCode);
    caller.phoneNumber = read.Text(property::kPhoneNumber);
    caller.country = read.Text(property::kCountry);
    caller.loginName = read.Text(property::kLoginName);
    caller.connectionAttempts = read.Short(property::kConnectionAttempts);
    caller.secondsBetweenRetries = read.Short(property::kSecondsBetweenRetries);
    caller.runScript = read.Flag(property::kRunScript);
    caller.autoTransfer = read.Text(property::kAutoTransfer);
    caller.scriptName = read.Text(property::kScriptName);
    return caller;
}

// Method 6: the caller object of a file; null when it cannot be opened.
bool OpenCaller(IDispatch* manager, BSTR fileName, ComPtr<IDispatch>& caller) {
    VARIANTARG mode;
    ::VariantInit(&mode);
    mode.vt = VT_I2;
    mode.iVal = 2;
    Variant result;
    const HRESULT opened = Call<3>(manager, manager::kOpenCaller, DISPATCH_METHOD,
                                   {StringArgument(fileName), mode, StringArgument(nullptr)}, result.Receive());
    if (FAILED(opened) || result.get()->vt != VT_DISPATCH || result.get()->pdispVal == nullptr) return false;
    return SUCCEEDED(result.get()->pdispVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(caller.Receive())));
}

}  // namespace

Result<std::vector<RemoteCallerFile>> RemoteCallerFiles(std::string_view filesDirectory) {
    using R = Result<std::vector<RemoteCallerFile>>;
    ComApartment apartment;
    if (!apartment.usable()) return R::Failure(ERROR_GEN_FAILURE);
    CLSID server{};
    if (const HRESULT found = ::CLSIDFromProgID(L"MIRROLETSVR.RemoteDataManager", &server); FAILED(found))
        return R::Failure(ErrorOfHresult(found));
    ComPtr<IDispatch> manager;
    if (const HRESULT created = ::CoCreateInstance(server, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                                                   IID_IDispatch, reinterpret_cast<void**>(manager.Receive()));
        FAILED(created))
        return R::Failure(ErrorOfHresult(created));

    const Bstr folder(Wide(filesDirectory));
    Variant ignored;
    (void)Call<1>(manager.get(), manager::kSelectFolder, DISPATCH_METHOD, {StringArgument(folder.get())},
                  ignored.Receive());

    std::vector<RemoteCallerFile> callers;
    const Bstr pattern(L"*");
    Bstr fileName;
    Variant found;
    HRESULT step = Call<2>(manager.get(), manager::kFirstFile, DISPATCH_METHOD,
                           {StringArgument(pattern.get()), StringOutArgument(fileName)}, found.Receive());
    for (int count = 0; SUCCEEDED(step) && IsTrue(found) && count < kMaxFiles; ++count) {
        ComPtr<IDispatch> caller;
        if (OpenCaller(manager.get(), fileName.get(), caller))
            callers.push_back(ReadCaller(caller.get(), Ansi(fileName.get())));
        step =
            Call<1>(manager.get(), manager::kNextFile, DISPATCH_METHOD, {StringOutArgument(fileName)}, found.Receive());
    }
    return callers;
}

}  // namespace kavlo::platform::win32
