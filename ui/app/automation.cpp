#include "ui/app/automation.h"

#include <oleauto.h>
#include <unknwn.h>

#include <atomic>
#include <cwctype>

#include "ui/win/handles.h"

namespace kavlo::ui {

// {6B1E52C4-3F0A-4D7E-9A61-2C8F4B5D7E19}
const CLSID kDocumentClassId = {0x6b1e52c4, 0x3f0a, 0x4d7e, {0x9a, 0x61, 0x2c, 0x8f, 0x4b, 0x5d, 0x7e, 0x19}};

namespace {

std::atomic<long> g_objects{0};
std::atomic<bool> g_everCreated{false};
DWORD g_mainThread = 0;

void ObjectGone() {
    if (--g_objects == 0) PostThreadMessageW(g_mainThread, WM_QUIT, 0, 0);
}

/// The document object: an automation object without members of its own.
class DocumentObject final : public IDispatch {
public:
    DocumentObject() {
        ++g_objects;
        g_everCreated = true;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long left = --references_;
        if (left == 0) {
            delete this;
            ObjectGone();
        }
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) override {
        for (UINT i = 0; ids && i < count; ++i) ids[i] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    std::atomic<long> references_{1};
};

class DocumentFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives as long as the server
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        auto* object = new (std::nothrow) DocumentObject();
        if (!object) return E_OUTOFMEMORY;
        const HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) {
            ++g_objects;
        } else {
            ObjectGone();
        }
        return S_OK;
    }
};

bool SetKeyValue(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value) {
    HKEY raw = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &raw, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    UniqueKey key(raw);
    return RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::wstring ClassIdText() {
    wchar_t text[64] = {};
    StringFromGUID2(kDocumentClassId, text, 64);
    return text;
}

}  // namespace

bool IsAutomationStart(const std::wstring& commandLine) {
    std::wstring lower;
    for (wchar_t c : commandLine) lower += static_cast<wchar_t>(std::towlower(c));
    for (const wchar_t* word : {L"automation", L"embedding"}) {
        for (wchar_t lead : {L'/', L'-'}) {
            if (lower.find(std::wstring(1, lead) + word) != std::wstring::npos) return true;
        }
    }
    return false;
}

bool UpdateServerRegistration(const std::wstring& exePath) {
    const std::wstring classes = L"Software\\Classes\\";
    const std::wstring clsid = ClassIdText();
    bool ok = SetKeyValue(HKEY_CURRENT_USER, classes + kDocumentProgId, nullptr, L"KAVLO Document");
    ok = SetKeyValue(HKEY_CURRENT_USER, classes + kDocumentProgId + L"\\CLSID", nullptr, clsid) && ok;
    ok = SetKeyValue(HKEY_CURRENT_USER, classes + L"CLSID\\" + clsid, nullptr, L"KAVLO Document") && ok;
    ok = SetKeyValue(HKEY_CURRENT_USER, classes + L"CLSID\\" + clsid + L"\\ProgID", nullptr, kDocumentProgId) && ok;
    ok = SetKeyValue(HKEY_CURRENT_USER, classes + L"CLSID\\" + clsid + L"\\LocalServer32", nullptr,
                     L"\"" + exePath + L"\"") &&
         ok;
    return ok;
}

int RunAutomationServer() {
    g_mainThread = GetCurrentThreadId();
    static DocumentFactory factory;
    DWORD cookie = 0;
    if (FAILED(CoRegisterClassObject(kDocumentClassId, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie))) {
        return 1;
    }
    // A client that started us but never asks for an object must not keep us alive.
    const UINT_PTR idle = SetTimer(nullptr, 0, 60000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.wParam == idle && !g_everCreated && g_objects == 0) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    KillTimer(nullptr, idle);
    CoRevokeClassObject(cookie);
    return 0;
}

}  // namespace kavlo::ui
