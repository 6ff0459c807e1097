#include "ui/frame/mail.h"

#include <mapi.h>

#include "ui/win/handles.h"

namespace kavlo::ui {

MailResult SendFileByMail(HWND owner, const std::string& path) {
    UniqueModule mapi(LoadLibraryW(L"MAPI32.DLL"));
    if (!mapi) return MailResult::NoMailClient;
    const auto send =
        reinterpret_cast<LPMAPISENDMAIL>(reinterpret_cast<void*>(GetProcAddress(mapi.get(), "MAPISendMail")));
    if (!send) return MailResult::NoMailClient;

    std::string fileName = path.substr(path.find_last_of('\\') == std::string::npos ? 0 : path.find_last_of('\\') + 1);
    std::string pathCopy = path;
    MapiFileDesc file{};
    file.nPosition = static_cast<ULONG>(-1);
    file.lpszPathName = pathCopy.data();
    file.lpszFileName = fileName.data();
    MapiMessage message{};
    message.nFileCount = 1;
    message.lpFiles = &file;

    // The mail program may show modal windows of its own; keep ours out of the way.
    EnableWindow(owner, FALSE);
    const ULONG result = send(0, reinterpret_cast<ULONG_PTR>(owner), &message, MAPI_LOGON_UI | MAPI_DIALOG, 0);
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
    switch (result) {
        case SUCCESS_SUCCESS: return MailResult::Sent;
        case MAPI_E_USER_ABORT: return MailResult::Cancelled;
        case MAPI_E_LOGIN_FAILURE:
        case MAPI_E_NOT_SUPPORTED: return MailResult::NoMailClient;
        default: return MailResult::Failed;
    }
}

}  // namespace kavlo::ui
