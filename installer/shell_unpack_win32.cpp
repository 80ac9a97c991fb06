#include "shell_unpack.h"

#include "platform.h"

#include <windows.h>
#include <shlobj.h>

// Show a progress dialog, without file names.
constexpr LONG COPY_OPTIONS = 256;

// NameSpace takes the path as a BSTR inside a variant.
static HRESULT open_folder(IShellDispatch *shell, const char *path, Folder **folder) {
    wchar_t wide[MAX_PATH * 2];
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH * 2)) wide[0] = L'\0';
    VARIANT where;
    VariantInit(&where);
    where.vt = VT_BSTR;
    where.bstrVal = SysAllocString(wide);
    HRESULT result = shell->NameSpace(where, folder);
    VariantClear(&where);
    return result;
}

bool shell_unpack(const char *archive, const char *folder) {
    IShellDispatch *shell = nullptr;
    Folder *source = nullptr;
    Folder *destination = nullptr;
    FolderItems *items = nullptr;
    bool unpacked = false;

    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HRESULT result = CoCreateInstance(CLSID_Shell, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellDispatch, reinterpret_cast<void **>(&shell));
    if (SUCCEEDED(result) && shell) {
        result = open_folder(shell, archive, &source);
        if (SUCCEEDED(result) && source) {
            platform_create_directory(folder);
            result = open_folder(shell, folder, &destination);
            if (SUCCEEDED(result) && destination) {
                result = source->Items(&items);
                if (SUCCEEDED(result) && items) {
                    VARIANT what;
                    VariantInit(&what);
                    what.vt = VT_DISPATCH;
                    what.pdispVal = items;
                    VARIANT options;
                    VariantInit(&options);
                    options.vt = VT_I4;
                    options.lVal = COPY_OPTIONS;
                    destination->CopyHere(what, options);
                    unpacked = true;
                }
            }
        }
    }

    if (items) items->Release();
    if (destination) destination->Release();
    if (source) source->Release();
    if (shell) shell->Release();
    CoUninitialize();
    return unpacked;
}
